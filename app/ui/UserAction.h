#pragma once

// What the user did to a window, in the words a failure message names it with: pressing
// "Save To File", changing "Channel Number", closing "QVR Test Mode". Front ends hand these,
// with the call the action makes, to frmMain::RunUserAction.

#include <string>

#include "ui/FormFields.h"

namespace tallisk {

// A command is pressed; any other field is changed (typed into, picked, ticked or left).
std::string UserAction(const Field& field);
// The window's close box (or Escape).
std::string ClosingWindow(const Form& window);

}  // namespace tallisk
