#pragma once

// The QVR test and alignment window: puts a connected QVR radio into its test mode, shows the
// four calibration values and the crystal type it reads from the radio, sends each change to
// the radio at once as a live adjustment, and on leaving tells the radio whether to keep them.
//
// The window talks to the radio itself, one record per port session, at the radio's pace of
// 5 ms per character. While a record is on its way the window pumps events, and every command
// ignores clicks until it is done.

#include <array>
#include <optional>
#include <string>

#include "link/Clock.h"
#include "link/SerialPort.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/errors.h"
#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmQVRTestMode : public Form {
 public:
  // The calibration values read are stored in RadioHeader, the main window's settings.
  // commPort is the options' port number.
  frmQVRTestMode(clsRadioHeader& RadioHeader, SerialPort& port, Clock& clock, EventPump& pump,
                 int commPort, Dialogs& dialogs);

  TextField txtMaxModDev{*this, "txtMaxModDev", "Maximum Modulation Deviation:"};
  CommandField cmdMaxModDevMinus{*this, "cmdMaxModDevMinus", "-"};
  CommandField cmdMaxModDevPlus{*this, "cmdMaxModDevPlus", "+"};
  TextField txtNorPowAdj{*this, "txtNorPowAdj", "Normal Power Adjustment:"};
  CommandField cmdNorPowAdjMinus{*this, "cmdNorPowAdjMinus", "-"};
  CommandField cmdNorPowAdjPlus{*this, "cmdNorPowAdjPlus", "+"};
  TextField txtLowPowAdj{*this, "txtLowPowAdj", "Low Power Adjustment:"};
  CommandField cmdLowPowAdjMinus{*this, "cmdLowPowAdjMinus", "-"};
  CommandField cmdLowPowAdjPlus{*this, "cmdLowPowAdjPlus", "+"};
  TextField txtFrqRefAdj{*this, "txtFrqRefAdj", "Reference Frequency Adjustment:"};
  CommandField cmdRefFrqAdjMinus{*this, "cmdRefFrqAdjMinus", "-"};
  CommandField cmdRefFrqAdjPlus{*this, "cmdRefFrqAdjPlus", "+"};
  ChoiceField cmbCrystalType{*this, "cmbCrystalType", "Crystal Type:"};
  CommandField btnQVRTestApply{*this, "btnQVRTestApply", "Apply"};
  CommandField btnDone{*this, "btnDone", "Done"};

  // Opening the window: switches the radio into test mode and fills the fields from the
  // calibration values it reports (or, when it reports none, from RadioHeader). Call it
  // before showing the window.
  void Load();

  // The title bar's close: asks, as Done does, whether the radio keeps the values, so a
  // radio is never left in test mode by accident. False when the technician cancels or a
  // record is still on its way.
  bool QueryClose() override;

  // A record is on its way to the radio; commands are ignored meanwhile.
  bool Busy() const { return busy_; }

 private:
  // One of the four calibration values with its field, commands and live record.
  struct Adjustment {
    TextField& Field;
    const char* Record;
    std::uint8_t clsRadioHeader::*Property;
    // What the radio runs with now; nothing while the value has never been read or sent.
    std::optional<int> LastSent;
  };

  class BusyScope;

  void Step(Adjustment& adjustment, int delta);
  void Apply();
  void Done();
  // Asks whether to keep the values and leaves test mode; false when the technician cancels
  // or has a value to correct first.
  bool LeaveTestMode();
  // Sends the values that changed; false when a value shown is one the radio cannot take
  // (the technician was told). Raises TalliskError when the port fails.
  bool SendChanges();
  void SendChangesOrSay();
  // True when every value shown is one the radio can take; otherwise tells the technician.
  bool ValuesInRange();
  // Tells the radio to keep the values shown and reads them back: nothing when it holds
  // them, else what went wrong.
  std::optional<std::string> KeepValues();
  void ShowValues();

  // One record out to the radio in a port session of its own, optionally collecting the
  // reply. Raises TalliskError when the port fails.
  std::string Exchange(const std::string& record, bool awaitReply);
  std::string CollectReply();
  // Sends a record; on a port failure tells the technician and returns false.
  bool Send(const std::string& record);
  void ShowFailure(const TalliskError& e, const char* leadIn);
  void Pause(Clock::Nanos duration);

  clsRadioHeader& header_;
  SerialPort& port_;
  Clock& clock_;
  EventPump& pump_;
  int commPort_;
  Dialogs& dialogs_;
  std::array<Adjustment, 4> adjustments_;
  std::optional<int> lastCrystal_;
  bool busy_ = false;
};

}  // namespace tallisk
