// Hooks of the user-interface run-time for tests: answers for the file
// popup, the overwrite question and the prompt, and a watcher of the texts
// set. Unset, the program shows its dialogs.
#pragma once

#include <functional>
#include <string>

// What the program asked the file popup for.
struct FilePopupRequest {
  std::string dir;          // default directory
  std::string defaultFile;  // default file name
  std::string filter;       // file type list, e.g. "*.cfg"
  std::string title;
  std::string buttonLabel;  // "OK", "Save", "Select" or "Load"
};

// The operator's answer: return false to cancel, or true with the chosen path.
using FilePopupAnswer = std::function<bool(const FilePopupRequest &, std::string *chosenPath)>;
// Answers every FileSelectPopup instead of the dialog; an empty function
// restores the dialog.
void SetFilePopupAnswer(FilePopupAnswer answer);
// Answers the "replace existing file?" question (true = replace).
void SetOverwriteConfirmAnswer(std::function<bool(const std::string &path)> answer);

// Answers every PromptPopup instead of the dialog: return false to cancel,
// or true with the answer. An empty function restores the dialog.
using PromptAnswer =
    std::function<bool(const std::string &title, const std::string &message, std::string *answer)>;
void SetPromptAnswer(PromptAnswer answer);

// Sees every text the program sets with SetCtrlVal, before the control shows
// it, even one replaced before any event could paint it; an empty function
// stops. Tests watch the status line through it.
using TextObserver = std::function<void(int panel, int control, const char *text)>;
void SetTextObserver(TextObserver observer);
