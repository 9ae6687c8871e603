#include "tallisk/clsRadioCommands.h"

#include <gtest/gtest.h>

namespace tallisk {
namespace {

// Each text is one or two complete records, checksum and CR LF included, sent as it stands.
TEST(clsRadioCommands, QvrAndKm2SetsAreTheFixedRecords) {
  clsRadioCommands c;
  c.initialize(1);
  EXPECT_EQ(c.ReadRadioCommandStart, "TA048000FF7C\r\n");
  EXPECT_EQ(c.KM2_TestMode, "T0050000373093\r\n");
  EXPECT_EQ(c.ProgramRadioCommandStart, "N004006D008E\r\nN2030000FC\r\n");
  EXPECT_TRUE(c.QVR_TestMode.empty());
  EXPECT_TRUE(c.QVR_Command.empty());

  // Switching family leaves nothing of the other family behind.
  c.initialize(0);
  EXPECT_EQ(c.ReadRadioCommandStart, "N3030000FC\r\n");
  EXPECT_EQ(c.QVR_TestMode, "N10400A8074C\r\n");
  EXPECT_EQ(c.ProgramRadioCommandStart, "N004006D008E\r\nN2030000FC\r\n");
  EXPECT_EQ(c.ProgramRadioCommandMiddle, "N004006D404E\r\nN2030000FC\r\n");
  EXPECT_EQ(c.ProgramRadioCommandEnd, "S9030000FC\r\n");
  EXPECT_TRUE(c.KM2_TestMode.empty());
  EXPECT_TRUE(c.QVR_Command.empty());
}

}  // namespace
}  // namespace tallisk
