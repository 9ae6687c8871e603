// Where the program's files live, and the installation's own files as a build leaves them
// beside the executable.

#include <gmock/gmock.h>

#include "FilesTestSupport.h"
#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "files/StartupFiles.h"
#include "tallisk/clsOperator.h"

namespace tallisk::test {
namespace {

using Paths = ScratchFolders;

TEST_F(Paths, FollowTheEnvironmentAndTheXdgDefaults) {
  EXPECT_EQ(UserConfigFolder(), root / "config" / "tallisk");
  EXPECT_EQ(UserStateFolder(), root / "state" / "tallisk");
  EXPECT_EQ(InstallDataFolder(), root / "data");
  EXPECT_EQ(OptionsFile(), root / "config" / "tallisk" / "qvr.dat");
  EXPECT_EQ(ReadDumpFile(), root / "state" / "tallisk" / "me3.km2");
  // Asking creates nothing.
  EXPECT_FALSE(fs::exists(root / "config") || fs::exists(root / "state"));

  // Unset, empty or relative: the defaults under the home folder.
  ::unsetenv("XDG_CONFIG_HOME");
  Set("XDG_STATE_HOME", "relative/state");
  EXPECT_EQ(UserConfigFolder(), root / "home" / ".config" / "tallisk");
  EXPECT_EQ(UserStateFolder(), root / "home" / ".local" / "state" / "tallisk");
  Set("XDG_CONFIG_HOME", "");
  EXPECT_EQ(ReadLogFile().parent_path(), UserStateFolder());
  EXPECT_EQ(UserConfigFolder(), root / "home" / ".config" / "tallisk");
}

}  // namespace
}  // namespace tallisk::test
