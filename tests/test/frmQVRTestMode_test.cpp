#include "test/frmQVRTestMode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "../ui/ScriptedDialogs.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/conversions.h"

namespace tallisk::testing {
namespace {

// Dialogs at which the technician can do something while a question is on the screen.
class BenchDialogs : public ScriptedDialogs {
 public:
  std::function<void()> WhileAsked;
  MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon icon,
                        MessageButtons buttons) override {
    if (buttons != MessageButtons::OK && WhileAsked) WhileAsked();
    return ScriptedDialogs::Message(title, text, icon, buttons);
  }
};

// A QVR radio on the bench with its calibration bytes, and the test window on its cable,
// both sides at 2400 baud.
struct Bench {
  Bench() {
    radio.Paced = port.Line().Paced = true;
    const std::uint8_t calibration[] = {0xD5, 0x07, 0x3F, 0x80};
    std::copy(std::begin(calibration), std::end(calibration),
              radio.Eeprom.begin() + sim::VirtualRadioQVR::kCalibrationAddress);
  }

  VirtualClock clock;
  sim::VirtualRadioQVR radio;
  VirtualRadioPort port{radio, clock};
  std::function<void()> onPump;
  CallbackEventPump pump{[this] {
    if (onPump) onPump();
  }};
  BenchDialogs dialogs;
  clsRadioHeader header;
  frmQVRTestMode form{header, port, clock, pump, 3, dialogs};

  // The records the radio heard since the mark, and the messages shown since the mark.
  std::size_t heardMark = 0;
  std::size_t shownMark = 0;
  void Mark() {
    heardMark = radio.RecordsHeard.size();
    shownMark = dialogs.Messages.size();
  }
  std::vector<std::string> Heard() const {
    return {radio.RecordsHeard.begin() + static_cast<std::ptrdiff_t>(heardMark),
            radio.RecordsHeard.end()};
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (std::size_t i = shownMark; i < dialogs.Messages.size(); ++i)
      texts.push_back(dialogs.Messages[i].Title + ": " + dialogs.Messages[i].Text);
    return texts;
  }
  std::vector<std::string> Fields() const {
    return {form.txtMaxModDev.Text(), form.txtNorPowAdj.Text(), form.txtLowPowAdj.Text(),
            form.txtFrqRefAdj.Text(), form.cmbCrystalType.Text()};
  }
  bool LeftIdle() { return !port.Line().IsOpen() && !radio.RTS() && !radio.DTR(); }
};

std::string Live(const std::string& start) {
  return start + TestRecordCheckSum(start);
}

const std::string kMaximum =
    "System Message: The maximum value for this item is 63.  No modification was made.";
const std::string kMinimum =
    "System Message: The minimum value for this item is 0.  No modification was made.";

TEST(QVRTestMode, OpensInTestModeWithTheCalibrationAndSendsOnlyChangesInsideTheRange) {
  Bench b;
  b.form.Load();
  EXPECT_TRUE(b.radio.InTestMode());
  EXPECT_EQ(b.radio.RecordsHeard, (std::vector<std::string>{"N10400A8074C"}));
  EXPECT_EQ(b.port.Line().PortNumber(), 3);
  EXPECT_EQ(b.port.Line().LineSettings(), "2400,N,8,1");
  EXPECT_TRUE(b.dialogs.Messages.empty());
  // 00A8 normal power and 00A9 low power take their low six bits; 00AB holds the crystal
  // type above the reference frequency.
  EXPECT_EQ(b.Fields(), (std::vector<std::string>{"63", "21", "7", "0", "Type 3"}));
  const clsRadioHeader& h = b.header;
  EXPECT_EQ(std::tie(h.MaxModulation, h.NormalPower, h.DePower, h.FrequencyControlData,
                     h.CrystalCharType),
            std::make_tuple(63, 21, 7, 0, 2));
  EXPECT_TRUE(b.LeftIdle());

  // Plus and minus stay inside the radio's range and send only changes.
  b.Mark();
  b.form.cmdMaxModDevPlus.Press();   // at 63
  b.form.cmdRefFrqAdjMinus.Press();  // at 0
  b.form.btnQVRTestApply.Press();    // nothing changed
  EXPECT_EQ(b.Shown(), (std::vector<std::string>{kMaximum, kMinimum}));
  EXPECT_TRUE(b.Heard().empty());

  b.Mark();
  b.form.cmdNorPowAdjPlus.Press();
  b.form.cmdMaxModDevMinus.Press();
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400116"), Live("N60440003E")}));

  // Typed values go with Apply; one outside 0-63 is refused and the others still go.
  b.Mark();
  b.form.txtLowPowAdj.TypeText("\b\b70");
  b.form.txtFrqRefAdj.TypeText("\b\b9");
  b.form.btnQVRTestApply.Press();
  EXPECT_EQ(b.Shown(), (std::vector<std::string>{kMaximum}));
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400309")}));
  EXPECT_TRUE(b.LeftIdle());
  // A crystal type goes at once, in the two top bits of its byte.
  b.Mark();
  b.form.cmbCrystalType.SelectText("Type 2");
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N804400440")}));
  EXPECT_EQ(b.radio.LiveCalibration()[3] & 0xC0, 0x40);
  // No value of the radio's has three digits: a third key is not taken.
  for (TextField* field :
       {&b.form.txtMaxModDev, &b.form.txtNorPowAdj, &b.form.txtLowPowAdj, &b.form.txtFrqRefAdj}) {
    field->TypeText("\b\b\b123");
    EXPECT_EQ(field->Text(), "12") << field->Name();
  }
}

TEST(QVRTestMode, AClickWhileARecordIsOnItsWayIsIgnored) {
  Bench b;
  b.form.Load();
  b.Mark();
  int pumps = 0;
  b.onPump = [&] {
    if (++pumps == 3) {
      EXPECT_TRUE(b.form.Busy());
      b.form.cmdNorPowAdjPlus.Press();
      b.form.btnQVRTestApply.Press();
      b.form.btnDone.Press();  // would ask a question; the scripted dialogs fail it
      EXPECT_FALSE(b.form.QueryClose());
    }
  };
  b.form.cmdNorPowAdjPlus.Press();
  EXPECT_GT(pumps, 3);
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400116")}));
  EXPECT_EQ(b.form.txtNorPowAdj.Text(), "22");
  EXPECT_FALSE(b.form.IsClosed());
}

TEST(QVRTestMode, DoneKeepsTheValuesOnlyWhenTheRadioReadsThemBackAndCanAlwaysBeLeft) {
  const std::string kSave = "System Message: Do you want to save these modifications?";
  const std::string kKept = "QVR Radio Programmer: The values were kept in the radio.";
  const auto notKept = [](const std::string& why) {
    return "QVR Radio Programmer: The values were not kept in the radio.\r" + why +
           "\r\rDo you want to try again?  No closes the window without keeping them.";
  };
  const std::string unplugged = notKept("Unable to open COM3: No such device #8002");
  using Texts = std::vector<std::string>;
  using Answers = std::vector<MessageAnswer>;
  using Bytes = std::vector<std::uint8_t>;
  const Texts keep = {"N20380007C", "N10400A8074C", "N4032000DC"};
  const Bytes before = {0xD5, 0x07, 0x3F, 0x80}, after = {0xD6, 0x07, 0x3F, 0x00};
  const auto unplug = [](Bench& b) { b.port.Line().Unplugged = true; };
  const auto yes = MessageAnswer::Yes, no = MessageAnswer::No;
  struct Case {
    const char* name;
    std::function<void(Bench&)> trouble;     // after the changes, before Done
    std::function<void(Bench&)> whileAsked;  // at the not-kept question
    Answers answers;
    Texts shown;
    Texts heard;
    bool closed;
  };
  const Case cases[] = {
      {"cancel stays", nullptr, nullptr, Answers{MessageAnswer::Cancel}, Texts{kSave}, Texts{},
       false},
      {"no leaves without keeping", nullptr, nullptr, Answers{no}, Texts{kSave},
       Texts{"N4032000DC"}, true},
      {"a radio that keeps them", nullptr, nullptr, Answers{yes}, Texts{kSave, kKept}, keep, true},
      {"unplugged, plugged in again", unplug, [](Bench& b) { b.port.Line().Unplugged = false; },
       Answers{yes, yes}, Texts{kSave, unplugged, kKept}, keep, true},
      // It may well have kept them; nobody can tell.
      {"a radio that stops answering", [](Bench& b) { b.radio.Misbehave.StopAnsweringAfter = 1; },
       nullptr, Answers{yes, no},
       Texts{kSave, notKept("The radio did not answer when they were read back.")}, keep, true},
      // Out of test mode it ignores the keep; the second try sends the values again.
      {"a radio switched off and on", [](Bench& b) { b.radio.SwitchOffAndOn(); }, nullptr,
       Answers{yes, yes},
       Texts{kSave,
             notKept("The radio holds\rNormal Power Adjustment: 21 instead of 22"
                     "\rCrystal Type: Type 3 instead of Type 1"),
             kKept},
       Texts{"N20380007C", "N10400A8074C", Live("N604400116"), "N804400400B7", "N20380007C",
             "N10400A8074C", "N4032000DC"},
       true},
      {"a typed value the radio cannot take",
       [](Bench& b) { b.form.txtLowPowAdj.TypeText("\b\b70"); }, nullptr, Answers{yes},
       Texts{kSave, kMaximum}, Texts{}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bench b;
    b.form.Load();
    b.form.cmdNorPowAdjPlus.Press();
    b.form.cmbCrystalType.SelectText("Type 1");
    if (c.trouble) c.trouble(b);
    b.Mark();
    int questions = 0;
    b.dialogs.WhileAsked = [&] {
      if (++questions == 2 && c.whileAsked) c.whileAsked(b);
    };
    b.dialogs.Answers = {c.answers.begin(), c.answers.end()};
    b.form.btnDone.Press();
    EXPECT_EQ(b.Shown(), c.shown);
    EXPECT_EQ(b.dialogs.Messages.at(b.shownMark).Buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(b.dialogs.Answers.empty());
    EXPECT_EQ(b.Heard(), c.heard);
    // The radio holds the values once the keep went out, the window once it said they were
    // kept.
    const bool sentKeep = std::count(c.heard.begin(), c.heard.end(), "N20380007C") > 0;
    EXPECT_EQ(Bytes(b.radio.Eeprom.begin() + 0xA8, b.radio.Eeprom.begin() + 0xAC),
              sentKeep ? after : before);
    EXPECT_EQ(b.header.NormalPower, c.shown.back() == kKept ? 22 : 21);
    EXPECT_EQ(b.form.IsClosed(), c.closed);
    EXPECT_FALSE(b.form.Busy());
    EXPECT_EQ(b.radio.InTestMode(), !c.closed || b.port.Line().Unplugged);
    EXPECT_FALSE(b.port.Line().IsOpen());
  }
}

TEST(QVRTestMode, WithoutASoundCalibrationLineTheValuesNeverReadStayEmptyUntilTyped) {
  struct Case {
    sim::Misbehaviour misbehave;
    std::string said;
  };
  // Line 21 of the dump is the one at 00A8.
  const Case cases[] = {
      {{.Silent = true}, "QVR Radio Programmer: No Data Read"},
      {{.GarbleBlock = 21}, "QVR Radio Programmer: Checksum Error"},
  };
  for (const auto& c : cases) {
    Bench b;
    b.radio.Misbehave = c.misbehave;
    b.header.FrequencyControlData = 12;  // an earlier reading
    b.form.Load();
    EXPECT_EQ(b.Shown(), (std::vector<std::string>{c.said}));
    EXPECT_EQ(b.Fields(), (std::vector<std::string>{"", "", "", "12", "Type 3"}));
    EXPECT_EQ(b.header.MaxModulation, 255);

    b.Mark();
    b.form.cmdMaxModDevPlus.Press();
    b.form.cmdNorPowAdjMinus.Press();
    b.form.btnQVRTestApply.Press();
    EXPECT_TRUE(b.Heard().empty());
    EXPECT_TRUE(b.Shown().empty());
    b.form.txtLowPowAdj.TypeText("5");
    b.form.cmdLowPowAdjPlus.Press();
    EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400206")}));
  }
}

}  // namespace
}  // namespace tallisk::testing
