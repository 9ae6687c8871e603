#pragma once

// What the program does when it is started with a command instead of for its window.

#include <optional>

namespace tallisk {

// Runs the command the arguments name and returns the program's exit status, or nothing when
// the arguments name no command (the caller opens the window then). Options the window
// understands are left for it.
// UseInstallationProfileDatabase() must have run, as for the window.
std::optional<int> RunCommandLine(int argc, char* argv[]);
// The options the program understands, for an option it does not.
void PrintUsage();

}  // namespace tallisk
