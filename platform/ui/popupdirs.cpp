// Last directories of the file popups.
#include "platform/ui/popupdirs.h"

#include <QFileInfo>

#include "platform/ui/userint.h"
#include "platform/util/settings.h"

namespace {

// "*.cfg" -> "popupdirs/cfg"; one key for each kind of file.
std::string KeyOf(const std::string &fileTypeList) {
  std::string key = "popupdirs/";
  for (char c : fileTypeList) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) key += c;
  }
  return key;
}

}  // namespace

std::string RememberedPopupDir(const std::string &fileTypeList, const std::string &fallback) {
  char dir[kMaxPathname] = "";
  if (SettingsGetText(KeyOf(fileTypeList).c_str(), dir, sizeof dir) == 0) return fallback;
  return QFileInfo(QString::fromLocal8Bit(dir)).isDir() ? std::string(dir) : fallback;
}

void RememberPopupDir(const std::string &fileTypeList, const std::string &chosenPath) {
  const QString dir = QFileInfo(QString::fromLocal8Bit(chosenPath.c_str())).absolutePath();
  SettingsSetText(KeyOf(fileTypeList).c_str(), dir.toLocal8Bit().constData());
}
