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

constexpr int kHighest = 63;
// The S1 line of the test-mode reply that holds the calibration bytes 00A8-00AB, and its
// length up to and including the checksum.
constexpr char kCalibrationLine[] = "S10B00A8";
constexpr std::size_t kCalibrationLineChars = 26;
constexpr char kCrystalRecord[] = "N8044004";
constexpr char kKeepValues[] = "N20380007C\r\n";
constexpr char kLeaveTestMode[] = "N4032000DC\r\n";
constexpr const char* kCrystalTypes[] = {"Type 1", "Type 2", "Type 3"};

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
    if (reply.empty()) {
      dialogs_.Inform(kTitle, kNoDataRead);
    } else {
      TakeCalibration(reply);
    }
  } catch (const TalliskError& e) {
    ShowFailure(e, kReadFailed);
  }
  ShowValues();
}

void frmQVRTestMode::TakeCalibration(const std::string& reply) {
  const auto at = reply.find(kCalibrationLine);
  if (at == std::string::npos) {
    dialogs_.Inform(kTitle, kNoDataRead);
    return;
  }
  // A damaged line would put wrong values into the fields, and from there into the radio.
  const std::string line = reply.substr(at, kCalibrationLineChars);
  const std::string_view body = std::string_view(line).substr(2);
  if (line.size() != kCalibrationLineChars || !IsHexText(body) ||
      ParseHex(RecordCheckSum(body.substr(0, body.size() - 2))) !=
          ParseHex(body.substr(body.size() - 2))) {
    dialogs_.Inform(kTitle, kChecksumError);
    return;
  }
  const std::string bits = HexToBinStr(line.substr(8, 8));
  const auto field = [&bits](std::size_t first, std::size_t count) {
    return BinToDec(bits.substr(first - 1, count));
  };
  header_.NormalPower = static_cast<std::uint8_t>(field(3, 6));
  header_.DePower = static_cast<std::uint8_t>(field(11, 6));
  header_.MaxModulation = static_cast<std::uint8_t>(field(19, 6));
  header_.CrystalCharType = field(25, 2);
  header_.FrequencyControlData = static_cast<std::uint8_t>(field(27, 6));
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
  for (std::int32_t i = 0; i < 3; ++i) cmbCrystalType.AddItem(kCrystalTypes[i], i);
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
  SendChanges();
}

void frmQVRTestMode::Apply() {
  if (busy_) return;
  BusyScope busy(busy_);
  SendChanges();
}

void frmQVRTestMode::SendChanges() {
  for (Adjustment& adjustment : adjustments_) {
    const auto value = FieldValue(adjustment.Field);
    if (!value || value == adjustment.LastSent) continue;
    // The radio takes six bits; anything else would arrive as some other value.
    if (*value > kHighest) {
      dialogs_.Inform(kSystemMessage, kMaximum);
      continue;
    }
    if (*value < 0) {
      dialogs_.Inform(kSystemMessage, kMinimum);
      continue;
    }
    if (!Send(LiveRecord(adjustment.Record, *value))) return;
    adjustment.LastSent = value;
  }
  const int crystal = cmbCrystalType.SelectedIndex();
  if (crystal >= 0 && crystal != lastCrystal_) {
    if (!Send(LiveRecord(kCrystalRecord, crystal << 6))) return;
    lastCrystal_ = crystal;
  }
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
  BusyScope busy(busy_);
  if (answer == MessageAnswer::Yes) {
    // Leaving test mode now would lose the adjustments; the technician can try again, or
    // answer No to leave without them.
    if (!Send(kKeepValues)) return false;
    // The radio now keeps what it runs with; the settings follow it.
    for (const Adjustment& adjustment : adjustments_) {
      if (adjustment.LastSent)
        header_.*adjustment.Property = static_cast<std::uint8_t>(*adjustment.LastSent);
    }
    if (lastCrystal_) header_.CrystalCharType = *lastCrystal_;
  }
  // The window goes even when this record could not be sent: the message said so, and a
  // window that cannot be left would not help the technician fix the cable.
  Send(kLeaveTestMode);
  return true;
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
