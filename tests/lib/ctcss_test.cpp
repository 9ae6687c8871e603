// The CTCSS tone tables, from the shipped database and from small databases of the test's
// own making.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "profiles_test_support.h"
#include "tallisk/colCTCSSFrequencies.h"

namespace tallisk {
namespace {

using testing_support::CaughtError;
using testing_support::ProfileDbOverride;
using testing_support::ScratchDatabase;

TEST(CTCSS, QvrTableIsTheStandardTonesWithSixBitCodes) {
  colCTCSSFrequencies tones;
  tones.LoadCodes();
  ASSERT_EQ(tones.Count(), 38);
  EXPECT_FLOAT_EQ(tones.Item(1).CTCSSFreq, 67.0f);
  EXPECT_EQ(tones.Item(1).Index, 0);  // what an unused channel's code 0 shows
  EXPECT_FLOAT_EQ(tones.Item(38).CTCSSFreq, 250.3f);
  std::set<int> codes;
  float previous = 0;
  for (const auto& tone : tones) {
    EXPECT_GT(tone.CTCSSFreq, previous);
    previous = tone.CTCSSFreq;
    EXPECT_GE(tone.Index, 0);
    EXPECT_LT(tone.Index, 64);  // the channel record's tone field has six bits
    codes.insert(tone.Index);
    EXPECT_FALSE(tone.SpecialRadioKM2);
    EXPECT_EQ(tone.CTCSSCodeKM2, 0);
  }
  EXPECT_EQ(codes.size(), 38u);
  EXPECT_EQ(CaughtError([&] { tones.Item(39); }).Number(), ErrInvalidArgument);
  EXPECT_EQ(CaughtError([&] { tones.Item(0); }).Number(), ErrInvalidArgument);
}

TEST(CTCSS, KM2BanksCarryTheirCodes) {
  colCTCSSFrequencies tones;
  tones.LoadCodesKM2();
  ASSERT_GT(tones.Count(), 38);
  int standard = 0;
  int special = 0;
  float previous = 0;
  for (const auto& tone : tones) {
    EXPECT_GT(tone.CTCSSFreq, previous);
    previous = tone.CTCSSFreq;
    if (tone.SpecialRadioKM2) {
      // 100 plus the 6-bit code the record carries with the bank flag; 100 itself would not
      // be taken as the bank by the channel codec.
      ++special;
      EXPECT_EQ(tone.CTCSSCodeKM2, 100 + special) << tone.CTCSSFreq;
    } else {
      // 1, 2, 3 ... in ascending frequency: the key form relies on it.
      ++standard;
      EXPECT_EQ(tone.CTCSSCodeKM2, standard) << tone.CTCSSFreq;
    }
  }
  EXPECT_EQ(standard, 38);
  EXPECT_GT(special, 0);
  EXPECT_LT(special, 64);
  // Code "1A" in the table is 26: the 26th standard tone.
  bool found = false;
  for (const auto& tone : tones) {
    if (tone.CTCSSCodeKM2 == 26) {
      EXPECT_FLOAT_EQ(tone.CTCSSFreq, 162.2f);
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST(CTCSS, LoadsAppendAndClearEmpties) {
  colCTCSSFrequencies tones;
  tones.LoadCodes();
  const std::int32_t qvr = tones.Count();
  tones.LoadCodes();
  ASSERT_EQ(tones.Count(), 2 * qvr);
  EXPECT_FLOAT_EQ(tones.Item(qvr + 1).CTCSSFreq, tones.Item(1).CTCSSFreq);

  colCTCSSFrequencies km2Only;
  km2Only.LoadCodesKM2();
  tones.Clear();
  EXPECT_EQ(tones.Count(), 0);
  tones.LoadCodesKM2();
  ASSERT_EQ(tones.Count(), km2Only.Count());
  for (std::int32_t i = 1; i <= tones.Count(); ++i) {
    EXPECT_FLOAT_EQ(tones.Item(i).CTCSSFreq, km2Only.Item(i).CTCSSFreq);
    EXPECT_EQ(tones.Item(i).CTCSSCodeKM2, km2Only.Item(i).CTCSSCodeKM2);
    EXPECT_EQ(tones.Item(i).SpecialRadioKM2, km2Only.Item(i).SpecialRadioKM2);
  }
}

constexpr const char* kKM2Table =
    "CREATE TABLE KM2CTCSSFrequencies (\"Index\" INTEGER, ToneFrequency REAL, "
    "SpecialRadio INTEGER, CTCSSCode TEXT);";

TEST(CTCSS, SmallTablesReadAsStored) {
  ScratchDatabase db(std::string(kKM2Table) +
                     "CREATE TABLE tblCTCSSFrequencies (\"Index\" INTEGER, ToneFrequency REAL);"
                     "INSERT INTO KM2CTCSSFrequencies VALUES "
                     "  (1, 100.0, 0, '1A'), (2, 88.5, 1, 'zz'), (3, 100.0, 0, 'ff'),"
                     "  (4, 71.9, 'True', ' 7F ');");
  ProfileDbOverride use(db.Path());

  colCTCSSFrequencies empty;
  empty.LoadCodes();
  EXPECT_EQ(empty.Count(), 0);

  colCTCSSFrequencies tones;
  tones.LoadCodesKM2();
  ASSERT_EQ(tones.Count(), 4);
  EXPECT_FLOAT_EQ(tones.Item(1).CTCSSFreq, 71.9f);
  EXPECT_TRUE(tones.Item(1).SpecialRadioKM2);
  EXPECT_EQ(tones.Item(1).CTCSSCodeKM2, 127);
  EXPECT_EQ(tones.Item(2).CTCSSCodeKM2, 0);  // not hexadecimal
  EXPECT_TRUE(tones.Item(2).SpecialRadioKM2);
  EXPECT_EQ(tones.Item(2).Index, 2);
  // Equal frequencies both appear ("1A" is 26, "ff" 255), in the order the database gives.
  EXPECT_FLOAT_EQ(tones.Item(3).CTCSSFreq, 100.0f);
  EXPECT_FLOAT_EQ(tones.Item(4).CTCSSFreq, 100.0f);
  const std::set<int> tied = {tones.Item(3).CTCSSCodeKM2, tones.Item(4).CTCSSCodeKM2};
  EXPECT_EQ(tied, (std::set<int>{26, 255}));
  EXPECT_FALSE(tones.Item(3).SpecialRadioKM2 || tones.Item(4).SpecialRadioKM2);
}

TEST(CTCSS, FaultyTablesFailNamingTheFile) {
  {
    // A missing table.
    ScratchDatabase db(kKM2Table);
    ProfileDbOverride use(db.Path());
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] { tones.LoadCodes(); });
    EXPECT_EQ(e.Number(), 3078);
    EXPECT_NE(e.Description().find(db.Path()), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("no such table: tblCTCSSFrequencies"), std::string::npos)
        << e.Description();
    EXPECT_EQ(e.Source(), "colCTCSSFrequencies.LoadCodes");
  }
  {
    // A missing field.
    ScratchDatabase db(
        "CREATE TABLE KM2CTCSSFrequencies (\"Index\" INTEGER, "
        "ToneFrequency REAL, SpecialRadio INTEGER);");
    ProfileDbOverride use(db.Path());
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] { tones.LoadCodesKM2(); });
    EXPECT_EQ(e.Number(), 3265);
    EXPECT_NE(e.Description().find(db.Path()), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("CTCSSCode"), std::string::npos) << e.Description();
  }
  {
    // An empty frequency stops the load; the tones before it stay.
    ScratchDatabase db(std::string(kKM2Table) +
                       "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '1'),"
                       " (NULL, 71.9, 0, '2'), (3, 74.4, 0, '3');");
    ProfileDbOverride use(db.Path());
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] { tones.LoadCodesKM2(); });
    EXPECT_EQ(e.Number(), 94);
    EXPECT_NE(e.Description().find("Index"), std::string::npos) << e.Description();
    EXPECT_EQ(tones.Count(), 1);
  }
  {
    // A code beyond 16 bits.
    ScratchDatabase db(std::string(kKM2Table) +
                       "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '8000');");
    ProfileDbOverride use(db.Path());
    colCTCSSFrequencies tones;
    EXPECT_EQ(CaughtError([&] { tones.LoadCodesKM2(); }).Number(), ErrOverflow);
  }
  {
    // A missing file.
    ProfileDbOverride use("/nonexistent/tallisk/RadioInfo.db");
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] { tones.LoadCodes(); });
    EXPECT_EQ(e.Number(), 3024);
    EXPECT_NE(e.Description().find("/nonexistent/tallisk/RadioInfo.db"), std::string::npos);
  }
}

}  // namespace
}  // namespace tallisk
