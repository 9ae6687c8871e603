#include "test/frmQVRTestMode.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "tallisk/clsRadioCommands.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using std::chrono::milliseconds;

constexpr char kLineSettings[] = "2400,N,8,1";
constexpr milliseconds kCharacterPause{5};
constexpr milliseconds kPollInterval{1};
constexpr int kReplyTimeLimitSeconds = 30;
constexpr int kSilenceLimitSeconds = 4;

constexpr char kTitle[] = "QVR Radio Programmer";
constexpr char kSystemMessage[] = "System Message";
constexpr char kNoDataRead[] = "No Data Read";
constexpr char kChecksumError[] = "Checksum Error";
constexpr char kMaximum[] = "The maximum value for this item is 63.  No modification was made.";
constexpr char kMinimum[] = "The minimum value for this item is 0.  No modification was made.";
constexpr char kSaveQuestion[] = "Do you want to save these modifications?";
constexpr char kReadFailed[] = "Following error has occured while reading the radio:";
constexpr char kWriteFailed[] = "Following error has occured while writing to radio:";
constexpr char kKept[] = "The values were kept in the radio.";
constexpr char kNotKept[] = "The values were not kept in the radio.";
constexpr char kTryAgain[] =
    "Do you want to try again?  No closes the window without keeping them.";
constexpr char kNoReadBack[] = "The radio did not answer when they were read back.";
constexpr char kNoLineReadBack[] = "The radio's answer did not hold them.";
constexpr char kDamagedReadBack[] = "The radio's answer was damaged.";
constexpr char kRadioHolds[] = "The radio holds";

constexpr int kHighest = 63;
// The S1 line of the test-mode reply that holds the calibration bytes 00A8-00AB, and its
// length up to and including the checksum.
constexpr char kCalibrationLine[] = "S10B00A8";
constexpr std::size_t kCalibrationLineChars = 26;
constexpr char kCrystalRecord[] = "N8044004";
constexpr char kKeepValues[] = "N20380007C\r\n";
constexpr char kLeaveTestMode[] = "N4032000DC\r\n";

// The live record of a value: the record's start, the value as two hex digits, its checksum.
std::string LiveRecord(const std::string& start, int value) {
  const std::string record = start + ToHex(static_cast<std::uint64_t>(value), 2);
  return record + TestRecordCheckSum(record) + "\r\n";
}

// The field's number; nothing when the field is empty, so a value that was never read is
// left alone until the technician types one.
std::optional<int> FieldValue(const TextField& field) {
  const auto& text = field.Text();
  if (std::all_of(text.begin(), text.end(),
                  [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; })) {
    return std::nullopt;
  }
  return static_cast<int>(std::clamp(field.Value(), -1000.0, 1000.0));
}

bool IsHexText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

enum class CalibrationRead { Taken, Missing, Damaged };

// Reads the calibration line of a test-mode reply into `header`; a reply without a sound
// line leaves it alone.
CalibrationRead TakeCalibration(const std::string& reply, clsRadioHeader& header) {
  const auto at = reply.find(kCalibrationLine);
  if (at == std::string::npos) return CalibrationRead::Missing;
  // A damaged line would put wrong values into the fields, and from there into the radio.
  const std::string line = reply.substr(at, kCalibrationLineChars);
  const std::string_view body = std::string_view(line).substr(2);
  if (line.size() != kCalibrationLineChars || !IsHexText(body) ||
      ParseHex(RecordCheckSum(body.substr(0, body.size() - 2))) !=
          ParseHex(body.substr(body.size() - 2))) {
    return CalibrationRead::Damaged;
  }
  const std::string bits = HexToBinStr(line.substr(8, 8));
  const auto field = [&bits](std::size_t first, std::size_t count) {
    return BinToDec(bits.substr(first - 1, count));
  };
  header.NormalPower = static_cast<std::uint8_t>(field(3, 6));
  header.DePower = static_cast<std::uint8_t>(field(11, 6));
  header.MaxModulation = static_cast<std::uint8_t>(field(19, 6));
  header.CrystalCharType = field(25, 2);
  header.FrequencyControlData = static_cast<std::uint8_t>(field(27, 6));
  return CalibrationRead::Taken;
}

std::string CrystalTypeText(std::int32_t position) {
  return "Type " + std::to_string(position + 1);
}

}  // namespace

class frmQVRTestMode::BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

frmQVRTestMode::frmQVRTestMode(clsRadioHeader& RadioHeader, SerialPort& port, Clock& clock,
                               EventPump& pump, int commPort, Dialogs& dialogs)
    : Form("frmQVRTestMode", "QVR Test Mode"),
      header_(RadioHeader),
      port_(port),
      clock_(clock),
      pump_(pump),
      commPort_(commPort),
      dialogs_(dialogs),
      adjustments_{{{txtMaxModDev, "N6044000", &clsRadioHeader::MaxModulation, {}},
                    {txtNorPowAdj, "N6044001", &clsRadioHeader::NormalPower, {}},
                    {txtLowPowAdj, "N6044002", &clsRadioHeader::DePower, {}},
                    {txtFrqRefAdj, "N6044003", &clsRadioHeader::FrequencyControlData, {}}}} {
  struct Commands {
    CommandField& Minus;
    CommandField& Plus;
  };
  const Commands commands[] = {{cmdMaxModDevMinus, cmdMaxModDevPlus},
                               {cmdNorPowAdjMinus, cmdNorPowAdjPlus},
                               {cmdLowPowAdjMinus, cmdLowPowAdjPlus},
                               {cmdRefFrqAdjMinus, cmdRefFrqAdjPlus}};
  Page& page = AddPage(0, "");
  for (std::size_t i = 0; i < adjustments_.size(); ++i) {
    Adjustment& adjustment = adjustments_[i];
    adjustment.Field.DigitsOnly = true;
    adjustment.Field.MaxLength = 2;
    commands[i].Minus.OnClick.Connect([this, &adjustment] { Step(adjustment, -1); });
    commands[i].Plus.OnClick.Connect([this, &adjustment] { Step(adjustment, +1); });
    page.Row({&adjustment.Field, &commands[i].Minus, &commands[i].Plus});
  }
  page.Row({&cmbCrystalType});
  page.Row({&btnQVRTestApply, &btnDone});
  page.SetVisible(true);

  // Choosing a crystal type is a live adjustment like the others.
  cmbCrystalType.OnChange.Connect([this] { Apply(); });
  btnQVRTestApply.OnClick.Connect([this] { Apply(); });
  btnDone.OnClick.Connect([this] { Done(); });
}

void frmQVRTestMode::Load() {
  BusyScope busy(busy_);
  // Only a QVR radio has this test mode, whatever family the main window has chosen.
  clsRadioCommands commands;
  commands.initialize(0);
  try {
    const std::string reply = Exchange(commands.QVR_TestMode, true);
    switch (reply.empty() ? CalibrationRead::Missing : TakeCalibration(reply, header_)) {
      case CalibrationRead::Taken:
        break;
      case CalibrationRead::Missing:
        dialogs_.Inform(kTitle, kNoDataRead);
        break;
      case CalibrationRead::Damaged:
        dialogs_.Inform(kTitle, kChecksumError);
        break;
    }
  } catch (const TalliskError& e) {
    ShowFailure(e, kReadFailed);
  }
  ShowValues();
}

void frmQVRTestMode::ShowValues() {
  for (Adjustment& adjustment : adjustments_) {
    const int value = header_.*adjustment.Property;
    // The header's erased value (255) means the radio never told us.
    if (value <= kHighest) {
      adjustment.LastSent = value;
      adjustment.Field.SetText(std::to_string(value));
    } else {
      adjustment.LastSent.reset();
      adjustment.Field.SetText("");
    }
  }
  cmbCrystalType.Clear();
  for (std::int32_t i = 0; i < 3; ++i) cmbCrystalType.AddItem(CrystalTypeText(i), i);
  lastCrystal_ = header_.CrystalCharType;
  cmbCrystalType.Select(header_.CrystalCharType);
}

void frmQVRTestMode::Step(Adjustment& adjustment, int delta) {
  if (busy_) return;
  const auto value = FieldValue(adjustment.Field);
  if (!value) return;
  if (delta > 0 && *value >= kHighest) {
    dialogs_.Inform(kSystemMessage, kMaximum);
    return;
  }
  if (delta < 0 && *value <= 0) {
    dialogs_.Inform(kSystemMessage, kMinimum);
    return;
  }
  BusyScope busy(busy_);
  adjustment.Field.SetText(std::to_string(*value + delta));
  SendChangesOrSay();
}

void frmQVRTestMode::Apply() {
  if (busy_) return;
  BusyScope busy(busy_);
  SendChangesOrSay();
}

bool frmQVRTestMode::SendChanges() {
  bool allSent = true;
  for (Adjustment& adjustment : adjustments_) {
    const auto value = FieldValue(adjustment.Field);
    if (!value || value == adjustment.LastSent) continue;
    // The radio takes six bits; anything else would arrive as some other value.
    if (*value > kHighest) {
      dialogs_.Inform(kSystemMessage, kMaximum);
      allSent = false;
      continue;
    }
    if (*value < 0) {
      dialogs_.Inform(kSystemMessage, kMinimum);
      allSent = false;
      continue;
    }
    Exchange(LiveRecord(adjustment.Record, *value), false);
    adjustment.LastSent = value;
  }
  const int crystal = cmbCrystalType.SelectedIndex();
  if (crystal >= 0 && crystal != lastCrystal_) {
    Exchange(LiveRecord(kCrystalRecord, crystal << 6), false);
    lastCrystal_ = crystal;
  }
  return allSent;
}

void frmQVRTestMode::SendChangesOrSay() {
  try {
    SendChanges();
  } catch (const TalliskError& e) {
    ShowFailure(e, kWriteFailed);
  }
}

bool frmQVRTestMode::ValuesInRange() {
  for (const Adjustment& adjustment : adjustments_) {
    const auto value = FieldValue(adjustment.Field);
    if (!value) continue;
    if (*value > kHighest) {
      dialogs_.Inform(kSystemMessage, kMaximum);
      return false;
    }
    if (*value < 0) {
      dialogs_.Inform(kSystemMessage, kMinimum);
      return false;
    }
  }
  return true;
}

void frmQVRTestMode::Done() {
  if (busy_) return;
  if (LeaveTestMode()) Close();
}

bool frmQVRTestMode::QueryClose() {
  if (IsClosed()) return true;
  if (busy_) return false;
  return LeaveTestMode();
}

bool frmQVRTestMode::LeaveTestMode() {
  const auto answer = dialogs_.Message(kSystemMessage, kSaveQuestion, MessageIcon::Question,
                                       MessageButtons::YesNoCancel);
  if (answer == MessageAnswer::Cancel) return false;
  // A value the radio cannot take would never be kept; it is corrected in the window first.
  if (answer == MessageAnswer::Yes && !ValuesInRange()) return false;
  BusyScope busy(busy_);
  if (answer == MessageAnswer::Yes) {
    while (const auto problem = KeepValues()) {
      const auto again =
          dialogs_.Message(kTitle, std::string(kNotKept) + "\r" + *problem + "\r\r" + kTryAgain,
                           MessageIcon::Exclamation, MessageButtons::YesNo);
      if (again == MessageAnswer::No) {
        // The technician already knows this radio is in trouble; one more message about it
        // would only stand between them and the closed window.
        try {
          Exchange(kLeaveTestMode, false);
        } catch (const TalliskError&) {
        }
        return true;
      }
    }
  }
  // The window goes even when this record could not be sent: the message said so, and a
  // window that cannot be left would not help the technician fix the cable.
  Send(kLeaveTestMode);
  if (answer == MessageAnswer::Yes) dialogs_.Inform(kTitle, kKept);
  return true;
}

std::optional<std::string> frmQVRTestMode::KeepValues() {
  std::string reply;
  try {
    // What the window shows is what is kept, typed values not yet applied included.
    SendChanges();
    Exchange(kKeepValues, false);
    // The radio does not answer the keep record; asking for the calibration bytes again is
    // the only way to learn what it holds.
    clsRadioCommands commands;
    commands.initialize(0);
    reply = Exchange(commands.QVR_TestMode, true);
  } catch (const TalliskError& e) {
    return e.Description() + " #" + std::to_string(e.Number());
  }
  clsRadioHeader held = header_;
  switch (reply.empty() ? CalibrationRead::Missing : TakeCalibration(reply, held)) {
    case CalibrationRead::Taken:
      break;
    case CalibrationRead::Missing:
      return reply.empty() ? kNoReadBack : kNoLineReadBack;
    case CalibrationRead::Damaged:
      return kDamagedReadBack;
  }

  // Asked again, the radio runs with what it holds, so a second try sends every value that
  // differs.
  std::string differences;
  for (Adjustment& adjustment : adjustments_) {
    const int holds = held.*adjustment.Property;
    adjustment.LastSent = holds;
    const auto shown = FieldValue(adjustment.Field);
    if (shown && *shown != holds) {
      differences += "\r" + adjustment.Field.Caption() + " " + std::to_string(holds) +
                     " instead of " + std::to_string(*shown);
    }
  }
  lastCrystal_ = held.CrystalCharType;
  const int crystal = cmbCrystalType.SelectedIndex();
  if (crystal >= 0 && crystal != held.CrystalCharType) {
    differences += "\r" + cmbCrystalType.Caption() + " " + CrystalTypeText(held.CrystalCharType) +
                   " instead of " + CrystalTypeText(crystal);
  }
  if (!differences.empty()) return kRadioHolds + differences;

  // The settings follow what the radio holds.
  for (const Adjustment& adjustment : adjustments_)
    header_.*adjustment.Property = held.*adjustment.Property;
  header_.CrystalCharType = held.CrystalCharType;
  return std::nullopt;
}

bool frmQVRTestMode::Send(const std::string& record) {
  try {
    Exchange(record, false);
    return true;
  } catch (const TalliskError& e) {
    ShowFailure(e, kWriteFailed);
    return false;
  }
}

void frmQVRTestMode::ShowFailure(const TalliskError& e, const char* leadIn) {
  dialogs_.Message(kTitle,
                   std::string(leadIn) + "\r" + e.Description() + " #" + std::to_string(e.Number()),
                   MessageIcon::None, MessageButtons::OK);
}

std::string frmQVRTestMode::Exchange(const std::string& record, bool awaitReply) {
  port_.SetPortNumber(commPort_);
  port_.SetLineSettings(kLineSettings);
  port_.Open();
  // The lines as the QVR read drives them: both up to talk, RTS down to listen.
  struct Session {
    SerialPort& port;
    // A port that failed is still closed; the failure that matters is already on its way
    // to the technician.
    ~Session() {
      try {
        port.SetRTS(false);
        port.SetDTR(false);
      } catch (const TalliskError&) {
      }
      try {
        port.Close();
      } catch (const TalliskError&) {
      }
    }
  } session{port_};
  port_.SetRTS(true);
  port_.SetDTR(true);
  Pause(kCharacterPause);
  for (char c : record) {
    port_.Write(std::string(1, c));
    Pause(kCharacterPause);
  }
  port_.SetRTS(false);
  return awaitReply ? CollectReply() : std::string();
}

std::string frmQVRTestMode::CollectReply() {
  std::string reply;
  const auto start = clock_.Now();
  auto last = start;
  for (;;) {
    const auto now = clock_.Now();
    if (WholeSecondsBetween(start, now) >= kReplyTimeLimitSeconds ||
        WholeSecondsBetween(last, now) > kSilenceLimitSeconds) {
      return reply;
    }
    pump_.Pump();
    if (port_.BytesWaiting() == 0) {
      clock_.Sleep(kPollInterval);
      continue;
    }
    reply += port_.ReadAll();
    last = clock_.Now();
  }
}

void frmQVRTestMode::Pause(Clock::Nanos duration) {
  clock_.Sleep(duration);
  pump_.Pump();
}

}  // namespace tallisk
