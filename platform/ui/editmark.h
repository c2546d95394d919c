// Internal to the user-interface run-time: the mark of an input whose value
// differs from a reference value (ATTR_MARK_REFERENCE, ATTR_MARK_TEXT). The
// mark is its own state beside the control's tooltip: its line is added to
// whatever tooltip the control has when the tooltip is shown.
#pragma once

#include <QString>
#include <QWidget>

// reference -1 removes the mark.
int SetEditMarkReference(QWidget *control, int reference);
int SetEditMarkText(QWidget *control, const QString &line);
bool EditMarked(const QWidget *control);
// Compares the control's value with its reference again; cheap for a control
// without a mark. Called after the program has set a value.
void RefreshEditMark(QWidget *control);
// The tooltip as shown: the control's own, then the mark's line while marked.
QString ToolTipWithEditMark(const QWidget *control);
