// Settings over QSettings.
#include "platform/util/settings.h"

#include <QSettings>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string gPath;  // empty: the user's own file
std::unique_ptr<QSettings> gSettings;

QSettings *Settings() {
  if (!gSettings) {
    if (!gPath.empty()) {
      gSettings = std::make_unique<QSettings>(QString::fromStdString(gPath), QSettings::IniFormat);
    } else {
      gSettings =
          std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                      QStringLiteral("rvimzel4"), QStringLiteral("RVIMZEL4V14"));
    }
  }
  return gSettings.get();
}

bool Lookup(const char *key, std::string *text) {
  if (key == nullptr) return false;
  const QVariant value = Settings()->value(QString::fromUtf8(key));
  if (!value.isValid()) return false;
  *text = value.toString().toStdString();
  return true;
}

void Put(const char *key, const std::string &text) {
  if (key == nullptr) return;
  Settings()->setValue(QString::fromUtf8(key), QString::fromStdString(text));
}

}  // namespace

int SettingsGetText(const char *key, char value[], int size) {
  if (value == nullptr || size <= 0) return 0;
  value[0] = '\0';
  std::string text;
  if (!Lookup(key, &text) || text.size() >= static_cast<std::size_t>(size)) return 0;
  std::memcpy(value, text.c_str(), text.size() + 1);
  return 1;
}

void SettingsSetText(const char *key, const char *value) {
  Put(key, value != nullptr ? value : "");
}

int SettingsGetInt(const char *key, int *value) {
  std::string text;
  if (value == nullptr || !Lookup(key, &text)) return 0;
  bool ok = false;
  const int number = QString::fromStdString(text).toInt(&ok);
  if (!ok) return 0;
  *value = number;
  return 1;
}

void SettingsSetInt(const char *key, int value) {
  Put(key, std::to_string(value));
}

void SettingsSync() {
  Settings()->sync();
}

void SettingsUseFile(const char *path) {
  if (gSettings) gSettings->sync();
  gSettings.reset();
  gPath = path != nullptr ? path : "";
}
