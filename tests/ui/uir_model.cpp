#include "tests/ui/uir_model.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

namespace {

QRect readRect(QXmlStreamReader &xml) {
  QRect r;
  while (xml.readNextStartElement()) {
    const int v = xml.readElementText().toInt();
    if (xml.name() == u"x") r.moveLeft(v);
    if (xml.name() == u"y") r.moveTop(v);
    if (xml.name() == u"width") r.setWidth(v);
    if (xml.name() == u"height") r.setHeight(v);
  }
  return r;
}

// Reads one <property> element; simple values come back as text, a rect as
// geometry, compound values (palette, font, size) are skipped.
void readProperty(QXmlStreamReader &xml, UirWidget &w, bool inItem) {
  const QString name = xml.attributes().value("name").toString();
  while (xml.readNextStartElement()) {
    if (xml.name() == u"rect") {
      w.rect = readRect(xml);
    } else if (xml.name() == u"palette" || xml.name() == u"font" || xml.name() == u"size") {
      w.props.insert(name, QString());
      xml.skipCurrentElement();
    } else {
      const QString text = xml.readElementText();
      if (inItem) {
        w.items.append(text);
      } else {
        w.props.insert(name, text);
      }
    }
  }
}

void readWidget(QXmlStreamReader &xml, UirModel &m, int parent);

void readWidgetBody(QXmlStreamReader &xml, UirModel &m, int self) {
  while (xml.readNextStartElement()) {
    if (xml.name() == u"property") {
      readProperty(xml, m.widgets[self], false);
    } else if (xml.name() == u"item") {
      while (xml.readNextStartElement()) readProperty(xml, m.widgets[self], true);
    } else if (xml.name() == u"widget") {
      readWidget(xml, m, self);
    } else {
      xml.skipCurrentElement();
    }
  }
}

void readWidget(QXmlStreamReader &xml, UirModel &m, int parent) {
  UirWidget w;
  w.className = xml.attributes().value("class").toString();
  w.name = xml.attributes().value("name").toString();
  w.parent = parent;
  m.widgets.append(w);
  const int self = m.widgets.size() - 1;
  readWidgetBody(xml, m, self);
}

// Parents precede their children in the list, so one pass places them all.
void placeInPanels(UirModel &m) {
  for (UirWidget &w : m.widgets) {
    if (w.props.contains("panelId")) {
      w.panel = w.props.value("panelId").toInt();
      w.panelRect = QRect(QPoint(0, 0), w.rect.size());
    } else if (w.parent >= 0 && m.widgets[w.parent].panel != 0) {
      const UirWidget &p = m.widgets[w.parent];
      w.panel = p.panel;
      w.panelRect = w.rect.translated(p.panelRect.topLeft());
    }
  }
}

}  // namespace

int UirModel::indexOf(const QString &name) const {
  for (int i = 0; i < widgets.size(); ++i) {
    if (widgets[i].name == name) return i;
  }
  return -1;
}

const UirWidget *UirModel::find(const QString &name) const {
  const int i = indexOf(name);
  return i < 0 ? nullptr : &widgets[i];
}

bool UirModel::isInside(const QString &inner, const QString &outer) const {
  int i = indexOf(inner);
  if (i < 0) return false;
  for (i = widgets[i].parent; i >= 0; i = widgets[i].parent) {
    if (widgets[i].name == outer) return true;
  }
  return false;
}

QString UirPath() {
  return QCoreApplication::applicationDirPath() + "/RVIMZEL4V14.uir";
}

UirModel ReadUir(const QString &path) {
  UirModel m;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    m.error = "cannot open " + path;
    return m;
  }
  QXmlStreamReader xml(&file);
  if (xml.readNextStartElement() && xml.name() == u"ui") {
    while (xml.readNextStartElement()) {
      if (xml.name() == u"widget") {
        readWidget(xml, m, -1);
      } else {
        xml.skipCurrentElement();
      }
    }
  }
  if (xml.hasError()) m.error = xml.errorString();
  placeInPanels(m);
  return m;
}
