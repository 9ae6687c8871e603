// control.txt, km2.clr and tmphelp.thp as the main window reads them at start-up.

#include "files/StartupFiles.h"
#include "FilesTestSupport.h"

namespace tallisk::test {
namespace {

using StartupFiles = ScratchFolders;

TEST_F(StartupFiles, ControlTxtDecidesTheFamiliesOffered) {
  struct Case {
    std::string text;
    bool qvr, km2;
    int radioType;
  };
  const Case cases[] = {
      {"qvr = true\r\n", true, false, 0},
      {"KM2=TRUE", false, true, 1},
      {"[families]\r\nKm2 = True\nQVR= TRUE\n", true, true, 0},
      {"qvr = false\nkm2 = no\n", true, true, 0},  // neither: both offered
      {"", true, true, 0},
  };
  const fs::path control = root / "control.txt";
  for (const Case& c : cases) {
    Put(control, c.text);
    const FamilyConfiguration got = ReadFamilyConfiguration(control);
    EXPECT_EQ(std::tuple(got.QvrEnabled, got.Km2Enabled, got.RadioType),
              std::tuple(c.qvr, c.km2, c.radioType))
        << c.text;
  }
  const FamilyConfiguration none = ReadFamilyConfiguration(root / "missing.txt");
  EXPECT_TRUE(none.QvrEnabled && none.Km2Enabled);
  EXPECT_EQ(none.RadioType, 0);
}

TEST_F(StartupFiles, TheKm2TailIsTheImageFrom18DD) {
  std::string image;
  for (int i = 0; i < 16384; ++i) image += "0123456789ABCDEF"[(i * 7) % 16];
  const fs::path clr = root / "km2.clr";

  Put(clr, image);
  const std::string tail = ReadKM2Tail(clr);
  EXPECT_EQ(tail.size(), 3654u);
  EXPECT_EQ(tail, image.substr(12730));
  // A line end after the image, or a read dump: the same tail.
  Put(clr, image + std::string(320, 'F') + "\r\n");
  EXPECT_EQ(ReadKM2Tail(clr), tail);

  // No usable tail: missing, too short, not hex.
  EXPECT_EQ(ReadKM2Tail(root / "missing.clr"), "");
  Put(clr, image.substr(0, 16000));
  EXPECT_EQ(ReadKM2Tail(clr), "");
  Put(clr, image.substr(0, 16383) + "G");
  EXPECT_EQ(ReadKM2Tail(clr), "");
}

TEST_F(StartupFiles, TheHelpTextIsTheWholeFileOrNothing) {
  const std::string text = "KM2 model numbers\r\n\r\n  52-nnn  the model line\n";
  Put(root / "tmphelp.thp", text);
  EXPECT_EQ(ReadModelHelp(root / "tmphelp.thp"), text);
  EXPECT_EQ(ReadModelHelp(root / "none.thp"), "");
}

}  // namespace
}  // namespace tallisk::test
