// The prompt and message popups, through seams that tests can answer.
#include <QFile>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <utility>

#include "platform/ui/runtime.h"
#include "platform/ui/testing.h"
#include "platform/ui/text.h"
#include "platform/ui/userint.h"

namespace {

PromptAnswer gPromptAnswer;
MessageSeen gMessageSeen;

bool askWithDialog(const char *title, const char *message, std::string *answer) {
  bool accepted = false;
  const QString text = QInputDialog::getText(nullptr, TextFromBytes(title), TextFromBytes(message),
                                             QLineEdit::Normal, QString(), &accepted);
  if (accepted) *answer = text.toUtf8().toStdString();
  return accepted;
}

}  // namespace

void SetPromptAnswer(PromptAnswer answer) {
  gPromptAnswer = std::move(answer);
}

void SetMessageSeen(MessageSeen seen) {
  gMessageSeen = std::move(seen);
}

int MessagePopup(const char *title, const char *message) {
  if (!RuntimeStarted()) return UIE_NO_APPLICATION;
  if (gMessageSeen) {
    gMessageSeen(title != nullptr ? title : "", message != nullptr ? message : "");
  } else if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    QMessageBox box(QMessageBox::Critical, TextFromBytes(title), TextFromBytes(message),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);  // paths and texts may come from outside
    box.exec();
  }
  return 0;
}

int PromptPopup(const char *title, const char *message, char responseBuffer[],
                int maxResponseLength) {
  if (!RuntimeStarted() || responseBuffer == nullptr || maxResponseLength <= 0) return -1;
  std::string answer;
  const bool accepted = gPromptAnswer ? gPromptAnswer(title != nullptr ? title : "",
                                                      message != nullptr ? message : "", &answer)
                                      : askWithDialog(title, message, &answer);
  if (!accepted) return -1;
  CopyToBuffer(QByteArray::fromStdString(answer), responseBuffer,
               static_cast<std::size_t>(maxResponseLength));
  return static_cast<int>(std::min(answer.size(), static_cast<std::size_t>(maxResponseLength - 1)));
}
