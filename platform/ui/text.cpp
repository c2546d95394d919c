#include "platform/ui/text.h"

#include <QStringDecoder>
#include <QVariant>
#include <cstring>

namespace {
constexpr char kShownText[] = "rvShownText";
constexpr char kShownBytes[] = "rvShownBytes";
}  // namespace

QString TextFromBytes(const char *text) {
  if (text == nullptr) return {};
  const QByteArray bytes(text);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8(bytes);
  if (!utf8.hasError()) return decoded;
  return QString::fromLatin1(bytes);
}

void RememberShownBytes(QWidget *widget, const QString &shown, const char *bytes) {
  widget->setProperty(kShownText, shown);
  widget->setProperty(kShownBytes, QByteArray(bytes != nullptr ? bytes : ""));
}

QByteArray BytesOfShownText(const QWidget *widget, const QString &shown) {
  const QVariant remembered = widget->property(kShownText);
  if (remembered.isValid() && remembered.toString() == shown) {
    return widget->property(kShownBytes).toByteArray();
  }
  return shown.toUtf8();
}

void CopyToBuffer(const QByteArray &bytes, char *buffer, std::size_t size) {
  if (buffer == nullptr || size == 0) return;
  const std::size_t count = std::min(static_cast<std::size_t>(bytes.size()), size - 1);
  std::memcpy(buffer, bytes.constData(), count);
  buffer[count] = '\0';
}
