// Internal to the user-interface run-time: what screen readers read of a
// control besides its name, and what its tooltip says.
#pragma once

#include <QString>
#include <QWidget>

// A text indicator named by its text takes the text it shows now as its
// accessible name; Qt tells the screen reader of the change. Call after every
// change of the text by the program; any other widget is left alone.
void NameByShownText(QWidget *widget);

// The control's help: its tooltip, and the same text as its accessible
// description. The text stays on the control (property rvHelp) as its own,
// so a note shown with it later can be put after it.
void SetControlHelp(QWidget *widget, const QString &help);
