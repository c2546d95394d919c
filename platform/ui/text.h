// Internal to the user-interface run-time: the program's byte strings to and
// from Qt text. Valid UTF-8 is taken as UTF-8, anything else byte for byte as
// Latin-1, so firmware text with stray high bytes still shows and reads back.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <cstddef>

QString TextFromBytes(const char *text);
// Remembers the exact bytes shown in a control, so reading it back returns
// them unchanged while the operator has not edited the text.
void RememberShownBytes(QWidget *widget, const QString &shown, const char *bytes);
QByteArray BytesOfShownText(const QWidget *widget, const QString &shown);
// Copies into a C buffer of `size` bytes, cut to size - 1, NUL-terminated.
void CopyToBuffer(const QByteArray &bytes, char *buffer, std::size_t size);
