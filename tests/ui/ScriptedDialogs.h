#pragma once

// Dialogs for tests: records everything shown and answers from queues the test fills.
// An unexpected question fails the test instead of guessing an answer.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk::testing {

struct ShownMessage {
  std::string Title;
  std::string Text;
  MessageIcon Icon;
  MessageButtons Buttons;
};

class ScriptedDialogs : public Dialogs {
 public:
  std::vector<ShownMessage> Messages;
  std::vector<FileDialogRequest> FileRequests;
  std::vector<std::string> ModalWindows;  // object names, in the order shown
  int PrintDialogs = 0;

  // Answers to questions (anything but an OK-only box), in order.
  std::deque<MessageAnswer> Answers;
  // Paths chosen in file dialogs; nothing = the user cancelled.
  std::deque<std::optional<std::string>> Files;
  std::deque<bool> PrintAnswers;
  // Acts on a modal window's fields and presses its OK or Cancel.
  std::deque<std::function<void(Form&)>> ModalActions;

  MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon icon,
                        MessageButtons buttons) override {
    Messages.push_back({title, text, icon, buttons});
    if (buttons == MessageButtons::OK) return MessageAnswer::OK;
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << title << ": " << text;
      return buttons == MessageButtons::OKCancel ? MessageAnswer::Cancel : MessageAnswer::No;
    }
    MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
    return NextFile(request);
  }
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
    return NextFile(request);
  }

  bool PrintDialog() override {
    ++PrintDialogs;
    if (PrintAnswers.empty()) {
      ADD_FAILURE() << "unexpected print dialog";
      return false;
    }
    bool answer = PrintAnswers.front();
    PrintAnswers.pop_front();
    return answer;
  }

  void RunModal(Form& window) override {
    ModalWindows.push_back(window.ObjectName());
    window.Reopen();
    if (ModalActions.empty()) {
      ADD_FAILURE() << "unexpected modal window " << window.ObjectName();
      return;
    }
    auto action = std::move(ModalActions.front());
    ModalActions.pop_front();
    action(window);
    EXPECT_TRUE(window.IsClosed()) << window.ObjectName() << " was left open";
  }

  // A notice asks nothing; what it says is the Qt dialogs' to show.
  void Notice(const std::string&, const std::string&) override {}

  // The text of the last message box, empty when none was shown.
  std::string LastText() const { return Messages.empty() ? "" : Messages.back().Text; }

 private:
  std::optional<std::string> NextFile(const FileDialogRequest& request) {
    FileRequests.push_back(request);
    if (Files.empty()) {
      ADD_FAILURE() << "unexpected file dialog " << request.Title;
      return std::nullopt;
    }
    auto file = Files.front();
    Files.pop_front();
    return file;
  }
};

}  // namespace tallisk::testing
