#pragma once

#include <memory>
#include <string>

namespace tallisk {

// How the library shows its few messages and asks its few questions. The library never
// opens a window itself: the program installs an implementation that does, tests install
// a scripted one. Until one is installed, messages go nowhere and every question is
// answered No.
class UserPrompt {
 public:
  virtual ~UserPrompt() = default;

  // A modal information message with one OK button.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;

  // A modal Yes/No question with the question icon; returns true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& title, bool defaultYes) = 0;
};

// Installs the prompt the library uses from now on and returns the one it replaces.
// A null pointer restores the silent default.
std::shared_ptr<UserPrompt> SetUserPrompt(std::shared_ptr<UserPrompt> prompt);

// The prompt in force (never null).
UserPrompt& CurrentUserPrompt();

}  // namespace tallisk
