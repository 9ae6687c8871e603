// The last guard behind every command, choice and field of the program's windows. The front
// end hands each user action to RunUserAction; a failure that no operation caught (a library
// failure where none was expected, a damaged file that got further than it should, memory
// running out) ends in one message that says what the user was doing and what went wrong.
// The programming in memory stays as it was and can go to a file from the same message,
// because after an unexplained failure the technician's work is what matters; the window
// then goes on.

#include <exception>

#include "tallisk/errors.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr char kFailedWhile[] = "Following error has occured while ";
constexpr char kOfferSave[] =
    "The programming in memory is kept. Do you want to save it to a file now?";
constexpr char kRescueSaveFailed[] = "Unable to save file because a following error has occured: ";

// The failure being handled, in words; the program's own failures carry their number.
std::string CurrentFailure() {
  try {
    throw;
  } catch (const TalliskError& e) {
    return e.Description() + " #" + std::to_string(e.Number());
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "A failure of unknown kind";
  }
}

}  // namespace

bool frmMain::RunUserAction(const std::string& userAction, const std::function<void()>& action) {
  std::string failure;
  try {
    action();
    return true;
  } catch (...) {
    failure = CurrentFailure();
  }

  // Nothing runs on the link any more: a transfer the failure broke off gives its commands
  // back, or the window could never read, write or close again.
  if (!TransferBusy && progress_.Active) {
    StopRequested = false;
    EnableStartPageCommands(true);
    EnableFinishPageCommands(true);
    SetProgress({});
  }

  const std::string text = kFailedWhile + userAction + ":\r" + failure;
  if (!ChannelsBuilt) {
    dialogs_.Message(FamilyTitle(), text, MessageIcon::Critical, MessageButtons::OK);
    return false;
  }
  if (dialogs_.Message(FamilyTitle(), text + "\r\r" + kOfferSave, MessageIcon::Critical,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
    return false;
  // The save builds the image from the data model, not from the pages, so a page left
  // half-way by the failure does not stand in its way.
  try {
    SaveToFilePressed();
  } catch (...) {
    dialogs_.Message("", kRescueSaveFailed + std::string("\r") + CurrentFailure(),
                     MessageIcon::None, MessageButtons::OK);
  }
  return false;
}

}  // namespace tallisk
