#pragma once

// What the program does when it is started with a command instead of for its window.

#include <optional>
#include <string>

#include "cli/CommandSession.h"

namespace tallisk {

// Runs the command the arguments name and returns the program's exit status, or nothing when
// they name no command: the caller opens the window then, with context.FileToOpen loaded
// when a file was named. UseInstallationProfileDatabase() must have run, as for the window.
std::optional<int> RunCommandLine(int argc, const char* const argv[], CommandContext& context);

// The manual page (roff), made from the same definitions as --help.
std::string ManualPage();

}  // namespace tallisk
