#pragma once

// One programming into radio after radio: connect the next radio, press Write, watch it write
// and verify, and read the tally. Each radio gets its own serial number: the last one's
// trailing number counted up by one, or the next line of a file of serial numbers. A radio
// that failed keeps its serial number, so Write tries it again.

#include <string>
#include <vector>

#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmMain;

class frmBatch : public Form {
 public:
  frmBatch(Dialogs& dialogs, frmMain& main);

  TextField txtSerialNumber{*this, "txtSerialNumber", "Serial number of this radio:"};
  CommandField btnSerialFile{*this, "btnSerialFile", "Serial Numbers From File..."};
  CommandField btnWrite{*this, "btnWrite", "Write"};
  CommandField btnStop{*this, "btnStop", "Stop"};
  LabelField lblLastResult{*this, "lblLastResult", "Connect the first radio and press Write."};
  LabelField lblTally{*this, "lblTally"};

  int Verified = 0;  // programmed and verified (or written, with verifying off)
  int Failed = 0;

  // "KM0042" -> "KM0043", "A-099" -> "A-100": the trailing number up by one, as wide as it
  // was or wider; a serial number that ends in no digit stays as it is.
  static std::string NextSerial(const std::string& serial);

 private:
  void Write();
  void TakeSerialFile();
  void ShowTally();

  Dialogs& dialogs_;
  frmMain& main_;
  std::vector<std::string> fromFile_;
  std::size_t nextFromFile_ = 0;
};

}  // namespace tallisk
