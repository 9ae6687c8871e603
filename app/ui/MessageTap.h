#pragma once

// The window's dialogs with a tap on its message boxes: while a tap is set, the messages a
// window's checks give go to it instead of the screen, so that a sheet of many edits can say
// once, with row and column, what the page would have said edit by edit, and a caller without
// a screen gets them as text.

#include <functional>
#include <optional>
#include <string>

#include "ui/Dialogs.h"

namespace tallisk {

class MessageTap : public Dialogs {
 public:
  explicit MessageTap(Dialogs& target) : target_(target) {}

  // Takes a message box's title and text; questions get the cautious answer.
  std::function<void(const std::string& title, const std::string& text)> Tap;

  MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon icon,
                        MessageButtons buttons) override {
    if (!Tap) return target_.Message(title, text, icon, buttons);
    Tap(title, text);
    switch (buttons) {
      case MessageButtons::OK:
        return MessageAnswer::OK;
      case MessageButtons::YesNo:
        return MessageAnswer::No;
      default:
        return MessageAnswer::Cancel;
    }
  }
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
    return target_.OpenFile(request);
  }
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
    return target_.SaveFile(request);
  }
  bool PrintDialog() override { return target_.PrintDialog(); }
  void RunModal(Form& window) override { target_.RunModal(window); }
  void Notice(const std::string& title, const std::string& text) override {
    target_.Notice(title, text);
  }

 private:
  Dialogs& target_;
};

}  // namespace tallisk
