#pragma once

// How the link reports to whoever runs it: the status texts of the read and write pages,
// message boxes, and the program's log. The pages implement it; the command line prints;
// tests record.

#include <cstdint>
#include <string>

namespace tallisk {

// The transfer flags of the main window, shared by the link and the pages: the window
// refuses to close while TransferBusy is set, and the Stop buttons set StopRequested.
struct TransferState {
  bool TransferBusy = false;
  bool StopRequested = false;
};

class LinkFeedback {
 public:
  virtual ~LinkFeedback() = default;
  // The read status text (lblReadRadioInfo).
  virtual void ShowReadStatus(const std::string& text) = 0;
  // The write status text (lblWriteToRadioInfo).
  virtual void ShowWriteStatus(const std::string& text) = 0;
  // A modal message with the information icon and one OK button.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  // A modal message with one OK button, no icon, and the program's own title: the report
  // of an unexpected failure.
  virtual void ShowFailure(const std::string& text) = 0;
  // How far a KM2 read or write has got: `done` of `total` bytes read or handed to the port.
  virtual void ShowProgress(std::int32_t /*done*/, std::int32_t /*total*/) {}
};

}  // namespace tallisk
