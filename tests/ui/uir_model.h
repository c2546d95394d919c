// A plain model of the panel resource file, read with QXmlStreamReader, so
// tests can hold the file against the header and the callback registry.
#pragma once

#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

struct UirWidget {
  QString className;
  QString name;
  int parent = -1;               // index into UirModel::widgets, -1 for the root
  int panel = 0;                 // panel resource number of the enclosing panel, 0 outside
  QRect rect;                    // geometry as written, relative to the parent
  QRect panelRect;               // geometry in the coordinates of the enclosing panel
  QMap<QString, QString> props;  // standard and dynamic properties, as text
  QStringList items;             // item texts of a combo box
  bool hasCtrlId() const { return props.contains("ctrlId"); }
  int ctrlId() const { return props.value("ctrlId").toInt(); }
  QString callback() const { return props.value("callback"); }
};

struct UirModel {
  QVector<UirWidget> widgets;
  QString error;  // empty when the file was read completely

  int indexOf(const QString &name) const;
  const UirWidget *find(const QString &name) const;
  // True when widget `inner` lies somewhere below widget `outer`.
  bool isInside(const QString &inner, const QString &outer) const;
};

// Path of the resource file beside the running executable.
QString UirPath();
UirModel ReadUir(const QString &path);
