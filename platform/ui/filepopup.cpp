// The file popup. Everything the operator is asked goes through two seams,
// the file choice and the overwrite question, which tests can answer.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <cstring>
#include <utility>

#include "platform/ui/popupdirs.h"
#include "platform/ui/runtime.h"
#include "platform/ui/testing.h"
#include "platform/ui/userint.h"

namespace {

FilePopupAnswer gFilePopupAnswer;
std::function<bool(const std::string &)> gOverwriteAnswer;

const char *buttonText(int buttonLabel) {
  switch (buttonLabel) {
    case VAL_SAVE_BUTTON:
      return "Save";
    case VAL_SELECT_BUTTON:
      return "Select";
    case VAL_LOAD_BUTTON:
      return "Load";
    default:
      return "OK";
  }
}

bool opensExisting(int buttonLabel) {
  return buttonLabel == VAL_LOAD_BUTTON || buttonLabel == VAL_SELECT_BUTTON;
}

QString fromLocal(const std::string &text) {
  return QFile::decodeName(text.c_str());
}

bool askWithDialog(const FilePopupRequest &request, int buttonLabel, bool allowMakeDirectory,
                   std::string *chosen) {
  QFileDialog dialog(nullptr, fromLocal(request.title), fromLocal(request.dir));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::ReadOnly, !allowMakeDirectory);
  dialog.setAcceptMode(opensExisting(buttonLabel) ? QFileDialog::AcceptOpen
                                                  : QFileDialog::AcceptSave);
  dialog.setFileMode(buttonLabel == VAL_LOAD_BUTTON ? QFileDialog::ExistingFile
                                                    : QFileDialog::AnyFile);
  // The run-time's lists separate patterns with ';', Qt's with blanks.
  dialog.setNameFilter(fromLocal(request.filter).replace(QLatin1Char(';'), QLatin1Char(' ')));
  dialog.setLabelText(QFileDialog::Accept, fromLocal(request.buttonLabel));
  if (!request.defaultFile.empty()) dialog.selectFile(fromLocal(request.defaultFile));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *chosen = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
  return true;
}

bool askOverwrite(const std::string &path) {
  if (gOverwriteAnswer) return gOverwriteAnswer(path);
  QMessageBox box(
      QMessageBox::Question, QStringLiteral("File exists"),
      QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(fromLocal(path)),
      QMessageBox::Yes | QMessageBox::No);
  box.setTextFormat(Qt::PlainText);  // a path is not markup
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// The extension the file type list restricts to (".cfg" of "*.cfg"), or "".
QString restrictedExtension(const std::string &fileTypeList) {
  const QString first = fromLocal(fileTypeList).section(QLatin1Char(';'), 0, 0).trimmed();
  if (!first.startsWith(QLatin1String("*."))) return {};
  const QString extension = first.mid(1);
  return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char('?')) ? QString()
                                                                                      : extension;
}

QString completedPath(const FilePopupRequest &request, const std::string &chosen,
                      bool restrictExtension) {
  QString path = fromLocal(chosen);
  if (QFileInfo(path).isRelative()) path = QDir(fromLocal(request.dir)).filePath(path);
  path = QDir::cleanPath(path);
  const QString extension = restrictExtension ? restrictedExtension(request.filter) : QString();
  if (!extension.isEmpty() && !path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
  return path;
}

bool insideDirectory(const QString &path, const std::string &dir) {
  return QFileInfo(path).absolutePath() == QDir(fromLocal(dir)).absolutePath();
}

}  // namespace

void SetFilePopupAnswer(FilePopupAnswer answer) {
  gFilePopupAnswer = std::move(answer);
}

void SetOverwriteConfirmAnswer(std::function<bool(const std::string &)> answer) {
  gOverwriteAnswer = std::move(answer);
}

int FileSelectPopup(const char *defaultDirectory, const char *defaultFileSpec,
                    const char *fileTypeList, const char *title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int /*allowCancel*/,
                    int allowMakeDirectory, char pathName[]) {
  if (!RuntimeStarted() || pathName == nullptr) return VAL_NO_FILE_SELECTED;
  const std::string types = fileTypeList != nullptr ? fileTypeList : "";
  const std::string given =
      defaultDirectory != nullptr && *defaultDirectory != '\0' ? defaultDirectory : ".";
  // A popup confined to its directory does not wander to the last one used.
  const FilePopupRequest request{restrictDirectory != 0 ? given : RememberedPopupDir(types, given),
                                 defaultFileSpec != nullptr ? defaultFileSpec : "",
                                 fileTypeList != nullptr ? fileTypeList : "",
                                 title != nullptr ? title : "", buttonText(buttonLabel)};
  QDir().mkpath(fromLocal(request.dir));  // the program directory is made on first use
  std::string chosen;
  const bool answered = gFilePopupAnswer
                            ? gFilePopupAnswer(request, &chosen)
                            : askWithDialog(request, buttonLabel, allowMakeDirectory != 0, &chosen);
  if (!answered || chosen.empty()) return VAL_NO_FILE_SELECTED;
  const QString path = completedPath(request, chosen, restrictExtension != 0);
  if (restrictDirectory != 0 && !insideDirectory(path, request.dir)) return VAL_NO_FILE_SELECTED;
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= kMaxPathname) return VAL_NO_FILE_SELECTED;
  const bool exists = QFileInfo::exists(path);
  const bool asksBeforeReplacing = buttonLabel == VAL_OK_BUTTON || buttonLabel == VAL_SAVE_BUTTON;
  if (exists && asksBeforeReplacing && !askOverwrite(bytes.toStdString())) {
    return VAL_NO_FILE_SELECTED;
  }
  std::memcpy(pathName, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
  RememberPopupDir(types, pathName);
  return exists ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
}
