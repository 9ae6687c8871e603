#pragma once

// Everything a window shows beside itself: message boxes and questions, the file dialogs,
// the print dialog, other windows run modally, and the modeless notice. The Qt front end
// shows real dialogs; tests script the answers and record what was shown.

#include <optional>
#include <string>

namespace tallisk {

class Form;

enum class MessageIcon { None, Information, Question, Exclamation, Critical };
enum class MessageButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MessageAnswer { OK, Cancel, Yes, No };

struct FileDialogRequest {
  std::string Title;
  // "QVR Radio Files|*.qvr": description and pattern, separated by '|'.
  std::string Filter;
  bool ConfirmOverwrite = false;  // save: ask before replacing an existing file
  bool MustExist = false;         // open: only an existing file can be chosen
  // save: the file name offered, in the folder the dialogs used last; empty for none.
  std::string ProposedName = {};
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal message box; the answer is one of the buttons offered.
  virtual MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon icon,
                                MessageButtons buttons) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
  // The print dialog: true when the user confirmed printing.
  virtual bool PrintDialog() = 0;
  // Shows a window modally until its logic closes it (Form::Close); returns then.
  virtual void RunModal(Form& window) = 0;
  // A small modeless notice with an OK command that closes it.
  virtual void Notice(const std::string& title, const std::string& text) = 0;

  // The common case: information icon, OK only.
  void Inform(const std::string& title, const std::string& text) {
    Message(title, text, MessageIcon::Information, MessageButtons::OK);
  }
};

}  // namespace tallisk
