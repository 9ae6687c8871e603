#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/clsGroup.h"
#include "tallisk/errors.h"

namespace tallisk::testing {

// The number of the TalliskError f raised, or 0 when it raised none.
template <typename F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

inline std::string RandomHex(std::mt19937& rng, std::size_t digits) {
  std::string s(digits, '0');
  for (char& c : s) c = "0123456789ABCDEF"[rng() % 16];
  return s;
}

// The code a channel half carries for its signalling: tone code, signed DCS value, or nothing.
inline int Code(std::int32_t signalling, int tone, int data) {
  return signalling == 0 ? tone : signalling == 1 ? data : -1000;
}

// Answers the library's questions from a script (then No) and records each question as
// "text | title | default" and each message as "text | title", while it is installed.
class ScriptedPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.push_back(text + " | " + title);
  }
  bool AskYesNo(const std::string& text, const std::string& title, bool defaultYes) override {
    asked.push_back(text + " | " + title + (defaultYes ? " | Yes" : " | No"));
    return asked.size() <= answers.size() && answers[asked.size() - 1];
  }
  std::vector<bool> answers;
  std::vector<std::string> asked, messages;
};

struct PromptScope {
  std::shared_ptr<ScriptedPrompt> prompt = std::make_shared<ScriptedPrompt>();
  std::shared_ptr<UserPrompt> previous = SetUserPrompt(prompt);
  ~PromptScope() { SetUserPrompt(previous); }
  ScriptedPrompt* operator->() { return prompt.get(); }
};

// Every setting of a group, in record order, for comparing two groups at once.
inline auto GroupSettings(const clsGroup& g) {
  return std::tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                    g.TimeOutTimer, g.IntervalA, g.IntervalBDCS, g.IntervalBCTCSS, g.RXScanHold,
                    g.TXScanHold, g.UnKeyDelayTime, g.PriChSamplingRate, g.PriChSamplingRatio,
                    g.ScanHoldingEvents, g.TXOnPriorityChannel, g.DeleteChTableClear,
                    g.EnablePTTANI, g.EnableANITranspond, g.EnableANIOnMONButton,
                    g.MultiDigitDecodeFormat, g.ANIRate, g.ANIRepetitions, g.ANIDelay,
                    g.ANIInterval, g.DTMF2805IDNumber);
}

}  // namespace tallisk::testing
