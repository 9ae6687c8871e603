#pragma once

// The dialogs of a window a benchmark drives: nothing is shown, a message is acknowledged and
// a question gets the one answer the benchmark chose.

#include <optional>
#include <string>

#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk::bench {

class BenchDialogs : public Dialogs {
 public:
  explicit BenchDialogs(MessageAnswer toQuestions = MessageAnswer::No)
      : toQuestions_(toQuestions) {}
  MessageAnswer Message(const std::string&, const std::string&, MessageIcon,
                        MessageButtons buttons) override {
    return buttons == MessageButtons::OK ? MessageAnswer::OK : toQuestions_;
  }
  std::optional<std::string> OpenFile(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> SaveFile(const FileDialogRequest&) override { return {}; }
  bool PrintDialog() override { return false; }
  void RunModal(Form& window) override { window.Close(); }
  void Notice(const std::string&, const std::string&) override {}

 private:
  MessageAnswer toQuestions_;
};

}  // namespace tallisk::bench
