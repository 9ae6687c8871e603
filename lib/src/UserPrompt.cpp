#include "tallisk/UserPrompt.h"

namespace tallisk {
namespace {

class SilentPrompt final : public UserPrompt {
 public:
  void ShowMessage(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&, bool) override { return false; }
};

std::shared_ptr<UserPrompt>& Installed() {
  static std::shared_ptr<UserPrompt> prompt;
  return prompt;
}

}  // namespace

std::shared_ptr<UserPrompt> SetUserPrompt(std::shared_ptr<UserPrompt> prompt) {
  auto previous = std::move(Installed());
  Installed() = std::move(prompt);
  return previous;
}

UserPrompt& CurrentUserPrompt() {
  static SilentPrompt silent;
  auto& installed = Installed();
  return installed ? *installed : static_cast<UserPrompt&>(silent);
}

}  // namespace tallisk
