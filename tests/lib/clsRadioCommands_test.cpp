#include "tallisk/clsRadioCommands.h"

#include <gtest/gtest.h>

#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// Every text is one or two complete records, each with a correct checksum and CR LF.
void ExpectWellFormedRecords(const std::string& text) {
  ASSERT_FALSE(text.empty());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << text;
    const std::string record = text.substr(pos, end - pos);
    const auto count = ParseHex(record.substr(2, 2));
    ASSERT_EQ(record.size(), 4 + 2 * static_cast<std::size_t>(count)) << record;
    EXPECT_EQ(record.substr(record.size() - 2), RecordCheckSum(record.substr(2, record.size() - 4)))
        << record;
    pos = end + 2;
  }
}

TEST(clsRadioCommands, QvrAndKm2SetsAreCompleteAndChecksummed) {
  clsRadioCommands qvr;
  qvr.initialize(0);
  EXPECT_EQ(qvr.ReadRadioCommandStart, "N3030000FC\r\n");
  EXPECT_EQ(qvr.QVR_TestMode, "N10400A8074C\r\n");
  EXPECT_EQ(qvr.ProgramRadioCommandStart, "N004006D008E\r\nN2030000FC\r\n");
  EXPECT_EQ(qvr.ProgramRadioCommandMiddle, "N004006D404E\r\nN2030000FC\r\n");
  EXPECT_EQ(qvr.ProgramRadioCommandEnd, "S9030000FC\r\n");
  EXPECT_TRUE(qvr.KM2_TestMode.empty());
  EXPECT_TRUE(qvr.QVR_Command.empty());
  for (const auto* t :
       {&qvr.ReadRadioCommandStart, &qvr.QVR_TestMode, &qvr.ProgramRadioCommandStart,
        &qvr.ProgramRadioCommandMiddle, &qvr.ProgramRadioCommandEnd}) {
    ExpectWellFormedRecords(*t);
  }

  clsRadioCommands km2;
  km2.initialize(1);
  EXPECT_EQ(km2.ReadRadioCommandStart, "TA048000FF7C\r\n");
  EXPECT_EQ(km2.KM2_TestMode, "T0050000373093\r\n");
  EXPECT_EQ(km2.ProgramRadioCommandStart, qvr.ProgramRadioCommandStart);
  EXPECT_TRUE(km2.QVR_TestMode.empty());
  EXPECT_TRUE(km2.QVR_Command.empty());
  ExpectWellFormedRecords(km2.ReadRadioCommandStart);
  ExpectWellFormedRecords(km2.KM2_TestMode);

  // Switching family again leaves nothing of the other family behind.
  km2.initialize(0);
  EXPECT_TRUE(km2.KM2_TestMode.empty());
  EXPECT_EQ(km2.ReadRadioCommandStart, "N3030000FC\r\n");
}

}  // namespace
}  // namespace tallisk
