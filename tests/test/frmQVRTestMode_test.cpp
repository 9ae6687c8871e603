#include "test/frmQVRTestMode.h"

#include <gtest/gtest.h>

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

// A port that can be made to fail on opening, as a port another program holds does.
class FlakyPort : public VirtualRadioPort {
 public:
  using VirtualRadioPort::VirtualRadioPort;
  bool Fail = false;
  void Open() override {
    if (Fail) throw TalliskError(ErrPortOpenFailed, "Open", "The port cannot be opened");
    VirtualRadioPort::Open();
  }
};

// A QVR radio on the bench with its calibration bytes, and the test window on its cable,
// both sides at 2400 baud.
struct Bench {
  explicit Bench(std::vector<std::uint8_t> calibration = {0xD5, 0x07, 0x3F, 0x80}) {
    radio.Paced = port.Line().Paced = true;
    for (std::size_t i = 0; i < calibration.size(); ++i)
      radio.Eeprom[sim::VirtualRadioQVR::kCalibrationAddress + i] = calibration[i];
  }

  VirtualClock clock;
  sim::VirtualRadioQVR radio;
  FlakyPort port{radio, clock};
  std::function<void()> onPump;
  CallbackEventPump pump{[this] {
    if (onPump) onPump();
  }};
  ScriptedDialogs dialogs;
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

TEST(QVRTestMode, OpeningPutsTheRadioInTestModeAndShowsItsCalibration) {
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
  EXPECT_FALSE(b.form.Busy());
}

TEST(QVRTestMode, PlusAndMinusStayInsideTheRadiosRangeAndSendOnlyChanges) {
  Bench b;
  b.form.Load();
  b.Mark();
  b.form.cmdMaxModDevPlus.Press();   // at 63
  b.form.cmdRefFrqAdjMinus.Press();  // at 0
  b.form.btnQVRTestApply.Press();    // nothing changed
  EXPECT_EQ(b.Shown(), (std::vector<std::string>{kMaximum, kMinimum}));
  EXPECT_TRUE(b.Heard().empty());

  b.Mark();
  const auto before = b.clock.Now();
  b.form.cmdNorPowAdjPlus.Press();
  // The radio takes a character every 5 ms: 14 with the record's line end.
  EXPECT_GE(b.clock.Now() - before, 14 * std::chrono::milliseconds(5));
  b.form.cmdMaxModDevMinus.Press();
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400116"), Live("N60440003E")}));
  EXPECT_EQ(b.radio.LiveCalibration(), (std::array<std::uint8_t, 4>{0xD6, 0x07, 0x3E, 0x80}));

  // Typed values go with Apply; one outside 0-63 is refused and the others still go.
  b.Mark();
  b.form.txtLowPowAdj.TypeText("\b\b70");
  b.form.txtFrqRefAdj.TypeText("\b\b9");
  b.form.btnQVRTestApply.Press();
  EXPECT_EQ(b.Shown(), (std::vector<std::string>{kMaximum}));
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{Live("N604400309")}));
  EXPECT_TRUE(b.LeftIdle());
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
  EXPECT_FALSE(b.form.Busy());
  EXPECT_FALSE(b.form.IsClosed());
}

TEST(QVRTestMode, ChoosingACrystalTypeSendsItAtOnce) {
  Bench b;
  b.form.Load();
  b.Mark();
  b.form.cmbCrystalType.SelectText("Type 1");
  EXPECT_EQ(b.Heard(), (std::vector<std::string>{"N804400400B7"}));
  b.form.cmbCrystalType.SelectText("Type 2");
  EXPECT_EQ(b.Heard().back(), Live("N804400440"));
  EXPECT_EQ(b.radio.LiveCalibration()[3], 0x40);
}

TEST(QVRTestMode, DoneYesKeepsTheValuesNoDropsThemCancelStays) {
  for (const auto answer : {MessageAnswer::Cancel, MessageAnswer::Yes, MessageAnswer::No}) {
    SCOPED_TRACE(static_cast<int>(answer));
    Bench b;
    b.form.Load();
    b.form.cmdNorPowAdjPlus.Press();
    b.form.cmbCrystalType.SelectText("Type 1");
    b.Mark();
    b.dialogs.Answers = {answer};
    b.form.btnDone.Press();
    ASSERT_EQ(b.dialogs.Messages.size(), b.shownMark + 1);
    const ShownMessage& asked = b.dialogs.Messages.back();
    EXPECT_EQ(asked.Title + ": " + asked.Text,
              "System Message: Do you want to save these modifications?");
    EXPECT_EQ(asked.Buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(asked.Icon, MessageIcon::Question);

    const auto stored =
        std::vector<std::uint8_t>(b.radio.Eeprom.begin() + 0xA8, b.radio.Eeprom.begin() + 0xAC);
    if (answer == MessageAnswer::Cancel) {
      EXPECT_FALSE(b.form.IsClosed());
      EXPECT_TRUE(b.Heard().empty());
      EXPECT_TRUE(b.radio.InTestMode());
      continue;
    }
    EXPECT_TRUE(b.form.IsClosed());
    EXPECT_FALSE(b.radio.InTestMode());
    EXPECT_TRUE(b.LeftIdle());
    const bool yes = answer == MessageAnswer::Yes;
    EXPECT_EQ(b.Heard(), yes ? (std::vector<std::string>{"N20380007C", "N4032000DC"})
                             : (std::vector<std::string>{"N4032000DC"}));
    EXPECT_EQ(stored, yes ? (std::vector<std::uint8_t>{0xD6, 0x07, 0x3F, 0x00})
                          : (std::vector<std::uint8_t>{0xD5, 0x07, 0x3F, 0x80}));
    EXPECT_EQ(std::tie(b.header.NormalPower, b.header.CrystalCharType),
              yes ? std::make_tuple(22, 0) : std::make_tuple(21, 2));
  }
}

TEST(QVRTestMode, TheTitleBarAsksAsDoneDoes) {
  Bench b;
  b.form.Load();
  b.dialogs.Answers = {MessageAnswer::Cancel, MessageAnswer::No};
  EXPECT_FALSE(b.form.QueryClose());
  EXPECT_TRUE(b.radio.InTestMode());
  EXPECT_TRUE(b.form.QueryClose());
  EXPECT_FALSE(b.radio.InTestMode());
  EXPECT_EQ(b.dialogs.Messages.size(), 2u);
}

TEST(QVRTestMode, WithoutASoundCalibrationLineTheValuesNeverReadStayEmptyUntilTyped) {
  struct Case {
    sim::Misbehaviour misbehave;
    std::string said;
  };
  // Line 21 of the dump is the one at 00A8.
  const Case cases[] = {
      {{.Silent = true}, "QVR Radio Programmer: No Data Read"},
      {{.CutBlock = 21}, "QVR Radio Programmer: No Data Read"},
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

TEST(QVRTestMode, APortThatWillNotOpenIsReportedAndDoneYesCanBeTriedAgain) {
  Bench b;
  b.port.Fail = true;
  b.form.Load();
  const std::string failure =
      "QVR Radio Programmer: Following error has occured while "
      "reading the radio:\rThe port cannot be opened #8002";
  EXPECT_EQ(b.Shown(), (std::vector<std::string>{failure}));
  EXPECT_EQ(b.Fields(), (std::vector<std::string>{"", "", "", "", "Type 3"}));

  b.port.Fail = false;
  b.form.Load();
  b.form.cmdNorPowAdjPlus.Press();
  b.port.Fail = true;
  b.Mark();
  b.dialogs.Answers = {MessageAnswer::Yes};
  b.form.btnDone.Press();
  EXPECT_FALSE(b.form.IsClosed());  // leaving now would drop the adjustment
  EXPECT_EQ(b.Shown().size(), 2u);
  EXPECT_EQ(b.header.NormalPower, 21);

  b.port.Fail = false;
  b.dialogs.Answers = {MessageAnswer::Yes};
  b.form.btnDone.Press();
  EXPECT_TRUE(b.form.IsClosed());
  EXPECT_EQ(b.radio.Eeprom[0xA8], 0xD6);
  EXPECT_TRUE(b.LeftIdle());
}

}  // namespace
}  // namespace tallisk::testing
