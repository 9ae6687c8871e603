#include <gtest/gtest.h>

#include <ctime>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

using H = clsRadioHeader;

struct Question {
  std::string text;
  std::string title;
  bool defaultYes;
};

// Answers the library's questions from a script and records what it asked and showed.
class ScriptedPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string& text, const std::string&) override {
    messages.push_back(text);
  }
  bool AskYesNo(const std::string& text, const std::string& title, bool defaultYes) override {
    asked.push_back({text, title, defaultYes});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<bool> answers;
  std::vector<Question> asked;
  std::vector<std::string> messages;
};

class PromptScope {
 public:
  PromptScope() : prompt_(std::make_shared<ScriptedPrompt>()), previous_(SetUserPrompt(prompt_)) {}
  ~PromptScope() { SetUserPrompt(previous_); }
  ScriptedPrompt* operator->() { return prompt_.get(); }

 private:
  std::shared_ptr<ScriptedPrompt> prompt_;
  std::shared_ptr<UserPrompt> previous_;
};

int ErrorNumberOf(auto&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

std::string RandomHex(std::mt19937& rng, std::size_t digits) {
  std::string s(digits, '0');
  for (char& c : s) c = "0123456789ABCDEF"[rng() % 16];
  return s;
}

constexpr int kBlockStart = 0x1880;
constexpr int kTailStart = 0x18DD;

// `bytes` bytes of a block (or image text from 1880) at an image address.
std::string At(const std::string& block, int address, int bytes = 1) {
  return block.substr(static_cast<std::size_t>(address - kBlockStart) * 2,
                      static_cast<std::size_t>(bytes) * 2);
}

std::string TailAt(const std::string& tail, int address, int bytes = 1) {
  return tail.substr(static_cast<std::size_t>(address - kTailStart) * 2,
                     static_cast<std::size_t>(bytes) * 2);
}

// The image from 1880 to its end, as the string creator hands it over after a split.
std::string ImageFromBlock(const std::string& block, std::mt19937& rng) {
  return block + RandomHex(rng, 640) + "FFFEFFFF";
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

clsRadioHeader BaseHeader(std::mt19937& rng) {
  clsRadioHeader h;
  h.ModelName = "52-9233B";
  h.IFRx = 21400;
  h.IFTx = 0;
  h.PLLReferenceFreq = 12.5f;
  h.DefaultKM2 = "007DC123111122223333FFFF44445555";
  h.DisplayArrangement = 3;
  h.KM2Tail = RandomHex(rng, 3654);
  return h;
}

TEST(clsRadioHeaderKM2, LeadingFieldsAndSynthesiserWords) {
  std::mt19937 rng(1);
  clsRadioHeader h = BaseHeader(rng);
  ASSERT_TRUE(h.CreateRadioHeaderKM2());
  ASSERT_EQ(h.RadioHeader.size(), 3192u);
  const std::string lead =
      "35322D3932333342"  // model name
      "00005398"          // IFRx 21400
      "00000000"          // IFTx
      "007D"              // 12.5 kHz x 10
      "C400"              // prescaler code 3 from the stored word, divider 0400 for 12.5 kHz
      "111122223333"      // stored synthesiser words
      "FF"                // not a D model, knob not momentary, 7th character not "2"
      "F3";               // general purpose, display arrangement 3
  EXPECT_EQ(h.CreateTestStr(), lead);
  EXPECT_EQ(h.RadioHeader.substr(0, 56), lead);
  EXPECT_EQ(At(h.RadioHeader, 0x189C, 4), "44445555");
  // (0 - 21400) / 125 = -171.2
  EXPECT_EQ(At(h.RadioHeader, 0x18D9, 4), "FFFFFF55");

  h.AlternatePreScaler2 = true;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x1892, 8), "4400111101B401F7");
  EXPECT_EQ(At(h.RadioHeader, 0x189B), "FF");
  h.AlternatePreScaler2 = false;
  h.AlternatePreScaler = true;
  EXPECT_EQ(h.CreateTestStr().substr(36, 16), "8400111101B401F7");

  h.AlternatePreScaler = false;
  h.PLLReferenceFreq = 5;
  EXPECT_EQ(h.CreateTestStr().substr(32, 8), "0032CA00");
  h.PLLReferenceFreq = 2.5f;  // the stored word keeps the divider of 2.5 kHz
  EXPECT_EQ(h.CreateTestStr().substr(32, 8), "0019C123");

  // The offset word rounds to nearest, ties to even.
  h.PLLReferenceFreq = 12.5f;
  h.IFRx = 0;
  h.IFTx = 312.5f;  // 2.5 steps
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D9, 4), "00000002");
  h.IFTx = 437.5f;  // 3.5 steps
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D9, 4), "00000004");

  // Without a reference frequency there is no offset word; the old block stays.
  const std::string before = h.RadioHeader;
  h.PLLReferenceFreq = 0;
  EXPECT_EQ(ErrorNumberOf([&] { h.CreateRadioHeaderKM2(); }), ErrDivisionByZero);
  EXPECT_EQ(h.RadioHeader, before);
}

TEST(clsRadioHeaderKM2, ModelNameTestsDriveTheFlagBytes) {
  std::mt19937 rng(2);
  clsRadioHeader h = BaseHeader(rng);
  h.ModelName = "52-9233BD";
  h.SpecialRadio = true;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x1880, 8), "35322D3932333342");  // the D is not in the text
  EXPECT_EQ(At(h.RadioHeader, 0x189A), "7B");
  h.MomentaryChannelKnob = true;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x189A), "79");
  h.ModelName = "52-9233B";  // the special radio flag belongs to the D models only
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x189A), "FD");

  h.ModelName = "52-1102B";
  h.MomentaryChannelKnob = false;
  h.OperationType = 1;
  h.SCANPRIMonitor = 0;
  h.MuteUntilSignalled = true;
  h.OneTouchSelection = 1;
  h.SquelchTonesCodes = 2;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x189A), "FE");
  EXPECT_EQ(At(h.RadioHeader, 0x189B), "03");
  EXPECT_EQ(At(h.RadioHeader, 0x18D8), "7E");
  h.ModelName = "52-1101B";
  h.SCANPRIMonitor = 1;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x189B), "13");
  EXPECT_EQ(At(h.RadioHeader, 0x18D8), "7F");  // "1" models: squelch bits 11
  h.ModelName = "52-1103B";
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D8), "7E");  // others: 10

  // The 52-37 keeps its second local receiver bit inverted.
  h.ModelName = "52-3701A";
  h.SecondLocalRX = 0;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "3F");
  h.SecondLocalRX = 1;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "1F");
  h.ModelName = "52-1101B";
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "3F");  // "High" is written as High
  h.SecondLocalRX = 0;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "1F");
  h.SecondLocalRX = -1;  // any value but Low is High
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "3F");
  h.ModelName = "52-3701A";
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18D0), "1F");
}

TEST(clsRadioHeaderKM2, TextsDatesVolumesAndTails) {
  std::mt19937 rng(3);
  clsRadioHeader h = BaseHeader(rng);
  h.ModelName = "52-37";
  h.SerialNumber = "AB CD";
  h.CustomerNumber = "ACME RADIO SERVICE";
  h.DateRadio = Date(2026, 12, 6);
  h.PRI1PRI2 = 0;
  h.TimeOutBusyLockOut = 1;
  h.PushButtonFeedback = 2;
  h.SelfTestAndError = 5;
  h.CTCSSSquelchTail = 250;
  h.NoiseSquelchTail = 12.5f;  // half a step: ties to even
  h.DCSTail = 46;
  h.FrontPanelConfiguration = 2;
  h.OptionPortType = 4;
  h.Aux1 = true;
  h.Aux8 = true;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x1880, 8), "35322D3337FFFFFF");
  EXPECT_EQ(At(h.RadioHeader, 0x18A0, 16), "4142FF4344" + std::string(22, 'F'));
  EXPECT_EQ(At(h.RadioHeader, 0x18B0, 16), "41434D45FF524144494FFF5345525649");
  EXPECT_EQ(At(h.RadioHeader, 0x18C0, 16), "313230363236" + std::string(20, 'F'));
  EXPECT_EQ(At(h.RadioHeader, 0x18D1, 8),
            "E0"
            "02"
            "32"
            "2E"
            "FF"
            "2F"
            "81"
            "5E");

  PromptScope prompt;
  clsRadioHeader r;
  std::mt19937 tail(30);
  r.RadioHeader = ImageFromBlock(h.RadioHeader, tail);
  EXPECT_TRUE(r.BreakUpRadioHeaderKM2());
  EXPECT_EQ(r.ModelName, "52-37 ");
  EXPECT_EQ(r.SerialNumber, "AB");  // a space ends the text
  EXPECT_EQ(r.CustomerNumber, "ACME");
  EXPECT_EQ(r.DateRadio, Date(2026, 12, 6));
  EXPECT_EQ(r.PRI1PRI2, 0);
  EXPECT_EQ(r.TimeOutBusyLockOut, 1);
  EXPECT_EQ(r.PushButtonFeedback, 2);
  EXPECT_EQ(r.SelfTestAndError, 2);
  EXPECT_EQ(r.CTCSSSquelchTail, 250.0f);
  EXPECT_EQ(r.NoiseSquelchTail, 10.0f);
  EXPECT_EQ(r.DCSTail, 46.0f);
  EXPECT_EQ(r.FrontPanelConfiguration, 2);
  EXPECT_EQ(r.OptionPortType, 4);
  EXPECT_TRUE(prompt->asked.empty());

  // Option port and front panel codes other than 0-3 all mean "None".
  for (int code = 0; code < 16; ++code) {
    clsRadioHeader c;
    c.RadioHeader = r.RadioHeader;
    c.RadioHeader.replace((0x18D6 - kBlockStart) * 2, 2, ToHex(code * 16 + code, 2));
    c.BreakUpRadioHeaderKM2();
    EXPECT_EQ(c.OptionPortType, code <= 3 ? code : 4) << code;
    EXPECT_EQ(c.FrontPanelConfiguration, code <= 3 ? code : 4) << code;
  }

  // No stored date (erased bytes) gives today; six characters that are no date leave the
  // date alone and are reported.
  clsRadioHeader erased;
  erased.RadioHeader = r.RadioHeader;
  erased.RadioHeader.replace((0x18C0 - kBlockStart) * 2, 32, std::string(32, 'F'));
  EXPECT_TRUE(erased.BreakUpRadioHeaderKM2());
  const Date today = Today();
  EXPECT_TRUE(erased.DateRadio == today || erased.DateRadio == Today())
      << erased.DateRadio.ToIsoString();
  clsRadioHeader invalid;
  invalid.DateRadio = Date(2001, 2, 3);
  invalid.RadioHeader = r.RadioHeader;
  invalid.RadioHeader.replace((0x18C0 - kBlockStart) * 2, 12, "313333323939");  // 13/32/99
  EXPECT_FALSE(invalid.BreakUpRadioHeaderKM2());
  EXPECT_EQ(invalid.DateRadio, Date(2001, 2, 3));
  EXPECT_EQ(invalid.DCSTail, 46.0f);  // later fields are still read
}

TEST(clsRadioHeaderKM2, CtcssKeyFormsOnlyForSignallingOneTouch) {
  std::mt19937 rng(4);
  clsRadioHeader h = BaseHeader(rng);
  h.ModelName = "52-1102B";
  h.OneTouchSelection = 1;
  h.CTCSSKeyForm1 = 5;
  h.CTCSSKeyForm2 = 0;
  h.CTCSSKeyForm3 = 12;
  h.CTCSSKeyForm10 = 255;
  h.CreateRadioHeaderKM2();
  const std::string none = "FFFF";
  EXPECT_EQ(At(h.RadioHeader, 0x18EC, 20),
            "0507" + none + "0C07" + none + none + none + none + none + none + "FF07");

  PromptScope prompt;
  clsRadioHeader r;
  r.RadioHeader = ImageFromBlock(h.RadioHeader, rng);
  r.BreakUpRadioHeaderKM2();
  EXPECT_EQ(r.OneTouchSelection, 1);
  EXPECT_EQ(r.CTCSSKeyForm1, 5);
  EXPECT_EQ(r.CTCSSKeyForm2, -1);
  EXPECT_EQ(r.CTCSSKeyForm3, 12);
  EXPECT_EQ(r.CTCSSKeyForm10, 255);

  for (int selection : {0, 2}) {
    h.OneTouchSelection = selection;
    h.CreateRadioHeaderKM2();
    EXPECT_EQ(At(h.RadioHeader, 0x18EC, 20), std::string(40, 'F')) << selection;
    r.RadioHeader = ImageFromBlock(h.RadioHeader, rng);
    r.BreakUpRadioHeaderKM2();
    EXPECT_EQ(r.OneTouchSelection, selection);
    EXPECT_EQ(r.CTCSSKeyForm1, -1);
  }
  h.ModelName = "52-1101B";  // only the deluxe ("2") models have the keys
  h.OneTouchSelection = 1;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18EC, 20), std::string(40, 'F'));
}

TEST(clsRadioHeaderKM2, CarriedFirmwarePatchesAndKeyRelocation) {
  std::mt19937 rng(5);
  clsRadioHeader h = BaseHeader(rng);
  h.KM2Tail.replace(16, 2, "A5");  // 18E5
  h.EnableCTCSSHPF = false;
  h.EnableGroupRollover = true;
  h.EnableChannelRollover = false;
  h.OneTouchSelection = 1;
  h.ScanChannelSlaving = 0;
  h.TalkAroundMic = true;
  h.CreateRadioHeaderKM2();
  const std::string plain = h.RadioHeader;
  EXPECT_EQ(At(plain, 0x18E5), "B5");  // bits 7-5, 3 and 0 from the radio
  EXPECT_EQ(At(plain, 0x18E8), "7C");
  EXPECT_EQ(At(plain, 0x1E1C, 2), "FFFF");
  // The opposite settings over the opposite carried bits.
  clsRadioHeader flipped = h;
  flipped.KM2Tail.replace(16, 2, "5A");
  flipped.EnableCTCSSHPF = true;
  flipped.EnableGroupRollover = false;
  flipped.EnableChannelRollover = true;
  flipped.OneTouchSelection = 0;
  flipped.ScanChannelSlaving = 1;
  flipped.TalkAroundMic = false;
  flipped.CreateRadioHeaderKM2();
  EXPECT_EQ(At(flipped.RadioHeader, 0x18E5), "4A");  // 010 0 1 0 1 0
  EXPECT_EQ(At(flipped.RadioHeader, 0x18E8), "BB");  // 1 0 111 0 11

  // Apart from the settings bytes, 18DD-1EBB is the tail exactly.
  const auto isSetting = [](int a) {
    return a == 0x18E5 || a == 0x18E8 || (a >= 0x18EC && a <= 0x18FF) || a == 0x1E1C || a == 0x1E1D;
  };
  for (int a = kTailStart; a <= 0x1EBB; ++a) {
    if (!isSetting(a)) {
      ASSERT_EQ(At(plain, a), TailAt(h.KM2Tail, a)) << std::hex << a;
    }
  }

  h.SpecialRadio = true;
  h.RelocateAddDelKeys = 1;
  h.CreateRadioHeaderKM2();
  const struct {
    int address;
    std::string bytes;
  } patches[] = {
      {0x1B39, "B6FFE9810A2622"},
      {0x1B40, "96AE261E7B104C27167B80F4260D7B40F42703BDD3C186BB97F4397A00F4397100F439"},
      {0x1B83,
       "968C7B084C270572108C200371EF8CD68C112703F75002C6097B104C2705BDC7CD2003BDC7D1C6087B344B"
       "27037EC7CD7EC7D1"},
      {0x1C37, "7B04F527047280D939717FD939B66000850126057204F5200371FBF5399B39"},
      {0x1D8D, "B698D6840F260C7B104C270471FB153972041539"},
      {0x1E0F, "A5"},
      {0x1E1C, "0D0E"},
  };
  std::string expected = plain;
  for (const auto& p : patches) {
    EXPECT_EQ(At(h.RadioHeader, p.address, static_cast<int>(p.bytes.size() / 2)), p.bytes);
    expected.replace(static_cast<std::size_t>(p.address - kBlockStart) * 2, p.bytes.size(),
                     p.bytes);
  }
  EXPECT_EQ(h.RadioHeader, expected);  // nothing else moved
  EXPECT_EQ(At(h.RadioHeader, 0x1EBB), TailAt(h.KM2Tail, 0x1EBB));
}

TEST(clsRadioHeaderKM2, ShortTailGivesAShortBlockThatTheAssemblyReports) {
  std::mt19937 rng(6);
  clsRadioHeader h = BaseHeader(rng);
  h.KM2Tail = RandomHex(rng, 100);
  h.SpecialRadio = true;
  h.RelocateAddDelKeys = 1;
  ASSERT_TRUE(h.CreateRadioHeaderKM2());
  EXPECT_LT(h.RadioHeader.size(), 3192u);

  PromptScope prompt;
  clsStringCreator sc;
  for (int n = 0; n < 320; ++n) sc.colChannelData.Add(std::string(32, 'F'));
  for (int g = 0; g < 16; ++g) sc.colGroupData.Add(std::string(64, 'F'));
  for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add("FFFF");
  for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add("FF");
  sc.RadioHeader = h.RadioHeader;
  EXPECT_FALSE(sc.CreateStringKM2());
  EXPECT_EQ(prompt->messages, std::vector<std::string>{"Internal Error: EEPROM size not correct"});

  // A tail that stops half-way through its last byte is short too: the lone digit is no
  // byte of the radio, so it must not make the block look whole.
  for (std::size_t digits : {std::size_t{3005}, std::size_t{71}, std::size_t{17}}) {
    h.KM2Tail = RandomHex(rng, digits);
    h.CreateRadioHeaderKM2();
    EXPECT_LT(h.RadioHeader.size(), 3192u) << digits;
    EXPECT_EQ(h.RadioHeader.size() % 2, 0u) << digits;
    // Only whole bytes of the tail are carried: 1900 up to the last complete pair.
    if (digits > 70) {
      EXPECT_EQ(h.RadioHeader.size(), 256 + (digits - 71)) << digits;
    }
  }
  h.KM2Tail = RandomHex(rng, 17);  // 18E5 missing: its carried bits are erased, not made up
  h.EnableCTCSSHPF = h.EnableGroupRollover = h.EnableChannelRollover = false;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x18E5), "F9");

  // With the whole tail the same assembly is exactly one EEPROM.
  h.KM2Tail = RandomHex(rng, 3654);
  h.CreateRadioHeaderKM2();
  sc.RadioHeader = h.RadioHeader;
  EXPECT_TRUE(sc.CreateStringKM2());
  EXPECT_EQ(sc.ProgrammingStringPart1.size(), 16384u);
}

TEST(clsRadioHeaderKM2, AlternateRadioIdentificationQuestions) {
  std::mt19937 rng(7);
  clsRadioHeader h = BaseHeader(rng);
  h.CreateRadioHeaderKM2();
  const std::string image = ImageFromBlock(h.RadioHeader, rng);
  const std::string q1 =
      "Does the radio being read have model number = 52-9233B-MM and serial number ending in "
      "'A'?";
  const std::string q2 =
      "Does the radio being read have model number between 145216 and 146215 or between "
      "0107MM0001 and 0107MM1000?";

  const struct {
    std::deque<bool> answers;
    std::size_t questions;
    bool alternate;
    bool alternate2;
  } cases[] = {
      {{true}, 1, false, true}, {{false, true}, 2, true, false}, {{false, false}, 2, false, false}};
  for (const auto& c : cases) {
    PromptScope prompt;
    prompt->answers = c.answers;
    clsRadioHeader r;
    r.AlternatePreScaler = true;
    r.AlternatePreScaler2 = true;
    r.RadioHeader = image;
    r.BreakUpRadioHeaderKM2();
    ASSERT_EQ(prompt->asked.size(), c.questions);
    for (std::size_t i = 0; i < c.questions; ++i) {
      EXPECT_EQ(prompt->asked[i].text, i == 0 ? q1 : q2);
      EXPECT_EQ(prompt->asked[i].title, "Alternate Radio Identification");
      EXPECT_FALSE(prompt->asked[i].defaultYes);
    }
    EXPECT_EQ(r.AlternatePreScaler, c.alternate);
    EXPECT_EQ(r.AlternatePreScaler2, c.alternate2);
  }

  // Other models are not asked about and never count as alternate radios.
  for (const char* model : {"52-1102B", "52-1201A", "52-9101A", "52-3701A", "52-9"}) {
    h.ModelName = model;
    h.CreateRadioHeaderKM2();
    PromptScope prompt;
    prompt->answers = {true, true};
    clsRadioHeader r;
    r.AlternatePreScaler = true;
    r.RadioHeader = ImageFromBlock(h.RadioHeader, rng);
    r.BreakUpRadioHeaderKM2();
    const std::string prefix = std::string(model).substr(0, 5);
    const bool candidate = prefix == "52-11" || prefix == "52-12" || prefix == "52-91";
    EXPECT_EQ(prompt->asked.size(), candidate ? 1u : 0u) << model;
    EXPECT_EQ(r.AlternatePreScaler2, candidate) << model;
    EXPECT_FALSE(r.AlternatePreScaler) << model;
  }

  // A block without its settings bytes is refused before anything is asked or changed.
  PromptScope prompt;
  clsRadioHeader shortBlock;
  shortBlock.ModelName = "kept";
  shortBlock.RadioHeader = image.substr(0, 254);
  EXPECT_EQ(ErrorNumberOf([&] { shortBlock.BreakUpRadioHeaderKM2(); }), ErrInvalidArgument);
  EXPECT_EQ(shortBlock.ModelName, "kept");
  EXPECT_TRUE(prompt->asked.empty());
}

TEST(clsRadioHeaderKM2, BlockRoundTripsGeneratedSettings) {
  std::mt19937 rng(2026);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto text = [&](int max) {
    std::string s(static_cast<std::size_t>(pick(max + 1)), 'x');
    for (char& c : s) c = static_cast<char>('!' + pick(94));  // printable, no space
    return s;
  };
  const std::vector<std::string> models = {"52-9233B", "52-9233BD", "52-1102B", "52-1102BD",
                                           "52-3712A", "52-37",     "52-1201C", "52-6581AD",
                                           "52-1101B", "52-9101A"};
  std::int16_t H::*const keys[] = {&H::CTCSSKeyForm1, &H::CTCSSKeyForm2, &H::CTCSSKeyForm3,
                                   &H::CTCSSKeyForm4, &H::CTCSSKeyForm5, &H::CTCSSKeyForm6,
                                   &H::CTCSSKeyForm7, &H::CTCSSKeyForm8, &H::CTCSSKeyForm9,
                                   &H::CTCSSKeyForm10};
  const float references[] = {12.5f, 5.0f, 2.5f, 6.0f, 25.0f};

  for (int round = 0; round < 200; ++round) {
    clsRadioHeader h;
    h.ModelName = models[static_cast<std::size_t>(pick(static_cast<int>(models.size())))];
    h.IFRx = static_cast<float>(pick(100000));
    h.IFTx = static_cast<float>(pick(100000));
    h.PLLReferenceFreq = references[pick(5)];
    h.DefaultKM2 = RandomHex(rng, 32);
    h.AlternatePreScaler2 = pick(3) == 0;
    h.AlternatePreScaler = !h.AlternatePreScaler2 && pick(2) == 0;
    h.SpecialRadio = pick(2);
    h.MomentaryChannelKnob = pick(2);
    h.OperationType = pick(2);
    h.SCANPRIMonitor = pick(2);
    h.DisplayArrangement = pick(6);
    h.SerialNumber = text(16);
    h.CustomerNumber = text(16);
    h.DateRadio = Date(1930 + pick(100), 1 + pick(12), 1 + pick(28));
    h.SecondLocalRX = pick(2);
    h.SelectiveCallReceipt = pick(3);
    h.PRI1PRI2 = pick(3);
    h.TimeOutBusyLockOut = pick(3);
    h.PushButtonFeedback = pick(3);
    h.SelfTestAndError = pick(3);
    h.NoiseSquelchTail = static_cast<float>(5 * pick(256));
    h.CTCSSSquelchTail = static_cast<float>(5 * pick(256));
    h.DCSTail = static_cast<float>(pick(256));
    h.FrontPanelConfiguration = pick(5);
    h.OptionPortType = pick(5);
    bool* const aux[] = {&h.Aux1, &h.Aux2, &h.Aux3, &h.Aux4, &h.Aux5, &h.Aux6, &h.Aux7, &h.Aux8};
    for (bool* a : aux) *a = pick(2);
    h.MuteUntilSignalled = pick(2);
    h.OneTouchSelection = pick(3);
    h.PRIButtonFunctionEnable = pick(2);
    h.ScanStopMicOffHook = pick(2);
    h.SquelchTonesCodes = pick(4);
    h.EnableCTCSSHPF = pick(2);
    h.EnableGroupRollover = pick(2);
    h.EnableChannelRollover = pick(2);
    h.ScanChannelSlaving = pick(2);
    h.TalkAroundMic = pick(2);
    for (auto k : keys) h.*k = static_cast<std::int16_t>(pick(258) - 2);
    h.RelocateAddDelKeys = pick(2);
    h.KM2Tail = RandomHex(rng, 3654);
    ASSERT_TRUE(h.CreateRadioHeaderKM2());
    ASSERT_EQ(h.RadioHeader.size(), 3192u);

    const std::string prefix = h.ModelName.substr(0, 5);
    const bool candidate =
        prefix == "52-11" || prefix == "52-91" || prefix == "52-92" || prefix == "52-12";
    const bool dModel = h.ModelName.size() == 9;
    const char seventh = h.ModelName.size() >= 7 ? h.ModelName[6] : ' ';
    const bool alternate = h.AlternatePreScaler || h.AlternatePreScaler2;

    PromptScope prompt;
    if (h.AlternatePreScaler2) prompt->answers = {true};
    if (h.AlternatePreScaler) prompt->answers = {false, true};
    clsRadioHeader r;
    const std::string image = ImageFromBlock(h.RadioHeader, rng);
    r.RadioHeader = image;
    ASSERT_TRUE(r.BreakUpRadioHeaderKM2());

    EXPECT_EQ(r.ModelName, h.ModelName.substr(0, 8) + (dModel ? "D" : " "));
    EXPECT_EQ(r.IFRx, h.IFRx);
    EXPECT_EQ(r.IFTx, h.IFTx);
    EXPECT_EQ(r.PLLReferenceFreq, h.PLLReferenceFreq);
    EXPECT_EQ(r.AlternatePreScaler, candidate && h.AlternatePreScaler);
    EXPECT_EQ(r.AlternatePreScaler2, candidate && h.AlternatePreScaler2);
    EXPECT_EQ(r.PRSCLType, h.AlternatePreScaler2  ? 1
                           : h.AlternatePreScaler ? 2
                                                  : ParseHex(h.DefaultKM2.substr(4, 4)) >> 14);
    // Only the D models carry the special radio flag back.
    EXPECT_EQ(r.SpecialRadio, dModel && h.SpecialRadio);
    EXPECT_EQ(r.MomentaryChannelKnob, h.MomentaryChannelKnob);
    EXPECT_EQ(r.OperationType, h.OperationType);
    // General-purpose radios store "HOLD/BKUP".
    EXPECT_EQ(r.SCANPRIMonitor, h.OperationType == 0 ? 1 : h.SCANPRIMonitor);
    // Alternate-prescaler radios store display arrangement 1111.
    EXPECT_EQ(r.DisplayArrangement, alternate ? 15 : h.DisplayArrangement);
    EXPECT_EQ(r.SerialNumber, h.SerialNumber);
    EXPECT_EQ(r.CustomerNumber, h.CustomerNumber);
    EXPECT_EQ(r.DateRadio, h.DateRadio);
    EXPECT_EQ(r.SecondLocalRX, h.SecondLocalRX);
    EXPECT_EQ(r.SelectiveCallReceipt, h.SelectiveCallReceipt);
    EXPECT_EQ(r.PRI1PRI2, h.PRI1PRI2);
    EXPECT_EQ(r.TimeOutBusyLockOut, h.TimeOutBusyLockOut);
    EXPECT_EQ(r.PushButtonFeedback, h.PushButtonFeedback);
    EXPECT_EQ(r.SelfTestAndError, h.SelfTestAndError);
    EXPECT_EQ(r.NoiseSquelchTail, h.NoiseSquelchTail);
    EXPECT_EQ(r.CTCSSSquelchTail, h.CTCSSSquelchTail);
    EXPECT_EQ(r.DCSTail, h.DCSTail);
    EXPECT_EQ(r.FrontPanelConfiguration, h.FrontPanelConfiguration);
    EXPECT_EQ(r.OptionPortType, h.OptionPortType);
    EXPECT_EQ(r.Aux1, h.Aux1);
    EXPECT_EQ(r.Aux5, h.Aux5);
    EXPECT_EQ(r.Aux8, h.Aux8);
    EXPECT_EQ(r.MuteUntilSignalled, h.MuteUntilSignalled);
    EXPECT_EQ(r.OneTouchSelection, h.OneTouchSelection);
    EXPECT_EQ(r.PRIButtonFunctionEnable, h.PRIButtonFunctionEnable);
    EXPECT_EQ(r.ScanStopMicOffHook, h.ScanStopMicOffHook);
    // Only the deluxe ("2") models store the squelch tones/codes choice.
    EXPECT_EQ(r.SquelchTonesCodes, seventh == '2' ? h.SquelchTonesCodes : seventh == '1' ? 3 : 2);
    EXPECT_EQ(r.EnableCTCSSHPF, h.EnableCTCSSHPF);
    EXPECT_EQ(r.EnableGroupRollover, h.EnableGroupRollover);
    EXPECT_EQ(r.EnableChannelRollover, h.EnableChannelRollover);
    EXPECT_EQ(r.ScanChannelSlaving, h.ScanChannelSlaving);
    EXPECT_EQ(r.TalkAroundMic, h.TalkAroundMic);
    for (auto k : keys) {
      const bool stored = h.OneTouchSelection == 1 && seventh == '2' && h.*k >= 1;
      EXPECT_EQ(r.*k, stored ? h.*k : -1);
    }
    EXPECT_EQ(r.DefaultKM2, At(h.RadioHeader, 0x1890, 16));
    EXPECT_EQ(r.KM2Tail, image.substr((kTailStart - kBlockStart) * 2));
    EXPECT_EQ(r.KM2Tail.size(), 3654u);

    // The key relocation is not read back; with it restored, what was read builds the
    // same block again.
    r.RelocateAddDelKeys = h.RelocateAddDelKeys;
    r.CreateRadioHeaderKM2();
    ASSERT_EQ(r.RadioHeader, h.RadioHeader) << "round " << round;
  }
}

}  // namespace
}  // namespace tallisk
