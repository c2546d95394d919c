// Settings files of a test process, removed with its temporary folder.
#include "tests/support/test_settings.h"

#include <QTemporaryDir>
#include <string>

#include "platform/util/settings.h"

namespace testsupport {

void UseFreshSettings() {
  static QTemporaryDir folder;
  static int files = 0;
  const std::string path =
      folder.filePath(QStringLiteral("settings%1.conf").arg(++files)).toStdString();
  SettingsUseFile(path.c_str());
}

}  // namespace testsupport
