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

TEST_F(Paths, ABuildPutsUsableInstallationFilesBesideTheExecutable) {
  ::unsetenv("TALLISK_DATA_DIR");
  ASSERT_EQ(InstallDataFolder(), ExecutableFolder());

  const FamilyConfiguration families = ReadFamilyConfiguration(ControlFile());
  EXPECT_TRUE(families.QvrEnabled && families.Km2Enabled);
  EXPECT_EQ(families.RadioType, 0);

  const std::string image = ReadRadioFile(KM2TailFile(), RadioFamily::KM2);
  EXPECT_EQ(image.size(), 16384u);
  EXPECT_EQ(ReadKM2Tail(KM2TailFile()), image.substr(12730));

  // The help names every KM2 model line the profile database knows.
  const std::string help = ReadModelHelp(ModelHelpFile());
  clsOperator profiles;
  profiles.LoadProfilesKM2();
  ASSERT_GT(profiles.RadioData->Count(), 0);
  for (const auto& model : *profiles.RadioData) {
    EXPECT_THAT(help, ::testing::HasSubstr(model->Model.substr(0, 6))) << model->Model;
  }
}

}  // namespace
}  // namespace tallisk::test
