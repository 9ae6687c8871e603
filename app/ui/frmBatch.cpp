#include "ui/frmBatch.h"

#include <cctype>
#include <fstream>

#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

frmBatch::frmBatch(Dialogs& dialogs, frmMain& main)
    : Form("frmBatch", "Program Several Radios"), dialogs_(dialogs), main_(main) {
  AddPage(0, "Program Several Radios")
      .Row({&txtSerialNumber})
      .Row({&btnWrite, &btnStop})
      .Row({&lblLastResult})
      .Row({&lblTally})
      .Row({&btnSerialFile});
  Pages().front()->SetVisible(true);
  lblLastResult.Prominent = true;
  // The serial number holds what the radio's own field holds.
  txtSerialNumber.MaxLength = main.txtSerialNumber.MaxLength;
  txtSerialNumber.UpperCase = main.txtSerialNumber.UpperCase;
  txtSerialNumber.KeyFilter = main.txtSerialNumber.KeyFilter;
  txtSerialNumber.SetText(main.txtSerialNumber.Text());
  btnWrite.OnClick.Connect([this] { Write(); });
  btnStop.OnClick.Connect([this] { Close(); });
  btnSerialFile.OnClick.Connect([this] { TakeSerialFile(); });
  ShowTally();
}

std::string frmBatch::NextSerial(const std::string& serial) {
  std::size_t start = serial.size();
  while (start > 0 && std::isdigit(static_cast<unsigned char>(serial[start - 1]))) --start;
  if (start == serial.size()) return serial;
  std::string digits = serial.substr(start);
  // Add one from the right, carrying; all nines grow by a digit.
  std::size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0) {
    digits.insert(digits.begin(), '1');
  } else {
    ++digits[i - 1];
  }
  return serial.substr(0, start) + digits;
}

void frmBatch::ShowTally() {
  lblTally.SetCaption("Programmed and verified: " + std::to_string(Verified) +
                      "    Failed: " + std::to_string(Failed));
}

void frmBatch::TakeSerialFile() {
  const auto path = dialogs_.OpenFile({"Serial Numbers", "Serial Number Lists|*.txt", false, true});
  if (!path) return;
  std::ifstream in(*path);
  std::vector<std::string> serials;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line);
    if (!line.empty()) serials.push_back(txtSerialNumber.Filtered(line));
  }
  if (serials.empty()) {
    dialogs_.Inform("Program Several Radios", "The file holds no serial numbers: " + *path);
    return;
  }
  fromFile_ = std::move(serials);
  nextFromFile_ = 1;
  txtSerialNumber.SetText(fromFile_.front());
}

void frmBatch::Write() {
  const std::string serial = txtSerialNumber.Text();
  main_.RadioHeader.SerialNumber = serial;
  main_.txtSerialNumber.SetText(serial);
  const frmMain::WriteOutcome outcome = main_.WriteForBatch();
  if (outcome == frmMain::WriteOutcome::NotStarted) {
    lblLastResult.SetCaption(serial + ": not written");
    return;
  }
  if (outcome == frmMain::WriteOutcome::Failed) {
    ++Failed;
    ShowTally();
    lblLastResult.SetCaption(serial + ": FAILED, " + main_.LastWriteResult() +
                             ". Press Write to try it again.");
    return;
  }
  ++Verified;
  ShowTally();
  lblLastResult.SetCaption(
      serial + ": " +
      (outcome == frmMain::WriteOutcome::Verified ? "programmed and verified" : "programmed") +
      ". Connect the next radio.");
  if (fromFile_.empty()) {
    txtSerialNumber.SetText(NextSerial(serial));
  } else if (nextFromFile_ < fromFile_.size()) {
    txtSerialNumber.SetText(fromFile_[nextFromFile_++]);
  } else {
    txtSerialNumber.SetText("");
    btnWrite.SetEnabled(false);
    lblLastResult.SetCaption(serial + ": programmed. The file has no more serial numbers.");
  }
}

void frmMain::OpenBatch() {
  frmBatch batch(dialogs_, *this);
  dialogs_.RunModal(batch);
}

}  // namespace tallisk
