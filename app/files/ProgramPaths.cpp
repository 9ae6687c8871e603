#include "files/ProgramPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#ifndef TALLISK_DATA_DIR_FROM_BIN
#define TALLISK_DATA_DIR_FROM_BIN "../share/tallisk"
#endif

namespace tallisk {
namespace {

namespace fs = std::filesystem;

// A variable that is set and not empty.
const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

fs::path HomeFolder() {
  if (const char* home = Variable("HOME")) return home;
  // A service started without HOME still has a home in the password database.
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return ".";
}

// The XDG base-directory rule: the variable when it holds an absolute path, else the
// default under the home folder.
fs::path XdgFolder(const char* variable, const fs::path& defaultUnderHome) {
  if (const char* value = Variable(variable); value != nullptr && fs::path(value).is_absolute()) {
    return fs::path(value) / "tallisk";
  }
  return HomeFolder() / defaultUnderHome / "tallisk";
}

}  // namespace

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : exe.parent_path();
}

fs::path InstallDataFolder() {
  if (const char* data = Variable("TALLISK_DATA_DIR")) return data;
  const fs::path bin = ExecutableFolder();
  // An installed program has its share folder beside its bin folder; a build tree has none,
  // and the build puts the files beside the executable.
  std::error_code error;
  const fs::path installed = (bin / TALLISK_DATA_DIR_FROM_BIN).lexically_normal();
  if (!bin.empty() && fs::is_directory(installed, error)) return installed;
  return bin;
}

fs::path SampleProgramming(RadioFamily family) {
  return InstallDataFolder() / "samples" /
         (family == RadioFamily::KM2 ? "taxi-fleet.km2" : "qvr-16.qvr");
}

void UseInstallationProfileDatabase() {
  if (Variable("TALLISK_PROFILE_DB") != nullptr) return;
  std::error_code error;
  const fs::path database = ProfileDatabaseFile();
  if (fs::is_regular_file(database, error)) ::setenv("TALLISK_PROFILE_DB", database.c_str(), 1);
}

fs::path UserConfigFolder() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

fs::path UserStateFolder() {
  return XdgFolder("XDG_STATE_HOME", fs::path(".local") / "state");
}

}  // namespace tallisk
