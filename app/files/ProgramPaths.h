#pragma once

// Where the program's files live, decided here and nowhere else. Three kinds:
//
//   installation files  control.txt, km2.clr, tmphelp.thp, RadioInfo.db
//                       $TALLISK_DATA_DIR when set; else <prefix>/share/tallisk when the
//                       program runs installed (<prefix>/bin/tallisk); else the folder of the
//                       executable, which is where a build puts them (build/bin).
//   user configuration  qvr.dat, ports.txt
//                       $XDG_CONFIG_HOME/tallisk, default ~/.config/tallisk
//   user state          ReadDataLog.log, WriteDataLog.log, the KM2 read dump me3.km2
//                       $XDG_STATE_HOME/tallisk, default ~/.local/state/tallisk
//
// Asking for a folder never creates it: the writers create a folder when they first write a
// file into it, so looking (as `tallisk --paths` does) leaves nothing behind.
// The environment is read on every call, so a test can point each folder at a scratch place.

#include <filesystem>

#include "files/RadioFile.h"

namespace tallisk {

inline constexpr char kControlFileName[] = "control.txt";
inline constexpr char kKM2TailFileName[] = "km2.clr";
inline constexpr char kModelHelpFileName[] = "tmphelp.thp";
inline constexpr char kProfileDatabaseFileName[] = "RadioInfo.db";
inline constexpr char kOptionsFileName[] = "qvr.dat";
inline constexpr char kPortsFileName[] = "ports.txt";
inline constexpr char kReadLogFileName[] = "ReadDataLog.log";
inline constexpr char kWriteLogFileName[] = "WriteDataLog.log";
inline constexpr char kReadDumpFileName[] = "me3.km2";

// The folder of the installation files (see above).
std::filesystem::path InstallDataFolder();
// $XDG_CONFIG_HOME/tallisk, else ~/.config/tallisk. A relative $XDG_CONFIG_HOME is ignored,
// as the XDG rules ask.
std::filesystem::path UserConfigFolder();
// The sample programming of a family installed with the program (samples/ of the
// installation files), which the virtual radios start from.
std::filesystem::path SampleProgramming(RadioFamily family);
// $XDG_STATE_HOME/tallisk, else ~/.local/state/tallisk (a relative value is ignored).
std::filesystem::path UserStateFolder();

// The folder of the running executable (empty when it cannot be found).
std::filesystem::path ExecutableFolder();

// The full names of the program's files, each in its folder.
inline std::filesystem::path ControlFile() {
  return InstallDataFolder() / kControlFileName;
}
inline std::filesystem::path KM2TailFile() {
  return InstallDataFolder() / kKM2TailFileName;
}
inline std::filesystem::path ModelHelpFile() {
  return InstallDataFolder() / kModelHelpFileName;
}
inline std::filesystem::path ProfileDatabaseFile() {
  return InstallDataFolder() / kProfileDatabaseFileName;
}
inline std::filesystem::path OptionsFile() {
  return UserConfigFolder() / kOptionsFileName;
}
inline std::filesystem::path ReadLogFile() {
  return UserStateFolder() / kReadLogFileName;
}
inline std::filesystem::path WriteLogFile() {
  return UserStateFolder() / kWriteLogFileName;
}
inline std::filesystem::path ReadDumpFile() {
  return UserStateFolder() / kReadDumpFileName;
}

// The library looks for RadioInfo.db by itself ($TALLISK_PROFILE_DB, beside the library,
// share/tallisk); the program calls this once at start so that the library opens the
// database of InstallDataFolder(), the same place as the other installation files, also
// under $TALLISK_DATA_DIR. It sets $TALLISK_PROFILE_DB when that is not set already and the
// file is there.
void UseInstallationProfileDatabase();

}  // namespace tallisk
