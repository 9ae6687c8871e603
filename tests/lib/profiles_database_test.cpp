// How clsOperator finds, opens and reads a profile database, with databases the tests make
// and point TALLISK_PROFILE_DB at.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "profiles_test_support.h"
#include "tallisk/clsOperator.h"

namespace tallisk {
namespace {

using testing_support::CaughtError;
using testing_support::ProfileDbOverride;
using testing_support::ScratchDatabase;

// A small QVR database: one model with one band, shaped like the shipped one.
constexpr const char* kQvrSchema = R"(
CREATE TABLE tblRadioList (RadioModelCode INTEGER, RadioModel TEXT, NumberOfChannels INTEGER);
CREATE TABLE tblRadioBand (RadioModelCode INTEGER, Address0x0D TEXT, Address0x0F TEXT,
  Address0x10 TEXT, Address0x14 TEXT, Address0x15 TEXT, Address0x16 TEXT, Address0x17 TEXT,
  InjectAspect INTEGER, PllReferenceFrequency REAL, "Default" INTEGER, SynthesizerType TEXT,
  PrescalerSwitch TEXT, IFRx REAL, IFTx REAL, ChannelSwitchType INTEGER);
CREATE VIEW qryGetInfoForRadio AS SELECT RadioModelCode AS RadioCode, * FROM tblRadioBand;
)";

constexpr const char* kQvrBand =
    "INSERT INTO tblRadioBand VALUES (3, '0x84', '0x86', '0xB0', 'XX11XX00', '0x5C', "
    "'XXXXXX00', '0x47', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3);";

std::string QvrDatabase(const std::string& rows) {
  return std::string(kQvrSchema) + rows;
}

TEST(ProfilesDatabase, SmallDatabaseLoadsWithoutTheOptionalColumns) {
  ScratchDatabase db(QvrDatabase(std::string(kQvrBand) +
                                 "INSERT INTO tblRadioList VALUES (3, 'VHF Test', 16);"
                                 "INSERT INTO tblRadioList VALUES (4, 'Bandless', '8');"));
  ProfileDbOverride use(db.Path());
  clsOperator op;
  op.LoadProfiles();
  ASSERT_EQ(op.RadioData->Count(), 2);
  const auto model = op.GetRadioInfo("VHF Test");
  ASSERT_TRUE(model);
  EXPECT_EQ(model->ModelCode, 3);
  ASSERT_EQ(model->collectionNonPersistentRadioInfo.Count(), 1);
  const auto& band = *model->collectionNonPersistentRadioInfo.Item(1);
  EXPECT_EQ(band.Address0x17, "0x47");
  EXPECT_EQ(band.FreqMinHz, 0);  // no range known
  EXPECT_EQ(band.FreqMaxHz, 0);
  // A number stored as text converts; a model without bands has an empty band list.
  EXPECT_EQ(op.GetRadioInfo("Bandless")->NumberOfChannels, 8);
  EXPECT_EQ(op.GetRadioInfo("Bandless")->collectionNonPersistentRadioInfo.Count(), 0);
}

TEST(ProfilesDatabase, MissingObjectsFailNamingTheFileAndTheEngineMessage) {
  struct Case {
    const char* what;
    std::string sql;
    int number;
    const char* message;
  };
  const Case cases[] = {
      {"no model table", "CREATE TABLE other (x INTEGER);", 3078, "no such table: tblRadioList"},
      {"no band query",
       "CREATE TABLE tblRadioList (RadioModelCode INTEGER, RadioModel TEXT, "
       "NumberOfChannels INTEGER); INSERT INTO tblRadioList VALUES (0, 'A', 16);",
       3078, "no such table: qryGetInfoForRadio"},
      {"no channel count",
       "CREATE TABLE tblRadioList (RadioModelCode INTEGER, RadioModel TEXT);"
       "INSERT INTO tblRadioList VALUES (0, 'A');",
       3265, "NumberOfChannels"},
      {"a band field missing",
       QvrDatabase("INSERT INTO tblRadioList VALUES (3, 'A', 16);") +
           "DROP VIEW qryGetInfoForRadio; CREATE VIEW qryGetInfoForRadio AS SELECT "
           "RadioModelCode AS RadioCode, Address0x0D FROM tblRadioBand;",
       3265, "Address0x0F"},
      {"an empty model text", QvrDatabase("INSERT INTO tblRadioList VALUES (3, NULL, 16);"), 94,
       "RadioModel"},
      {"a model code beyond a byte", QvrDatabase("INSERT INTO tblRadioList VALUES (300, 'A', 16);"),
       ErrOverflow, "RadioModelCode"},
      {"a reference frequency that is no number",
       QvrDatabase(std::string(kQvrBand) + "UPDATE tblRadioBand SET PllReferenceFrequency = "
                                           "'12,5 kHz'; INSERT INTO tblRadioList VALUES "
                                           "(3, 'A', 16);"),
       13, "PllReferenceFrequency"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDatabase db(c.sql);
    ProfileDbOverride use(db.Path());
    clsOperator op;
    const TalliskError e = CaughtError([&] { op.LoadProfiles(); });
    EXPECT_EQ(e.Number(), c.number) << e.Description();
    EXPECT_EQ(e.Source(), "clsOperator.LoadProfiles");
    EXPECT_NE(e.Description().find(db.Path()), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find(c.message), std::string::npos) << e.Description();
    // A failed load leaves no half list of models behind.
    ASSERT_TRUE(op.RadioData);
    EXPECT_EQ(op.RadioData->Count(), 0);
  }
}

TEST(ProfilesDatabase, MissingOrForeignFilesFailClearly) {
  {
    ProfileDbOverride use("/nonexistent/shop/RadioInfo.db");
    clsOperator op;
    const TalliskError e = CaughtError([&] { op.LoadProfilesKM2(); });
    EXPECT_EQ(e.Number(), 3024);
    EXPECT_NE(e.Description().find("/nonexistent/shop/RadioInfo.db"), std::string::npos);
    EXPECT_NE(e.Description().find("TALLISK_PROFILE_DB"), std::string::npos);
  }
  {
    // Some other file under the database's name.
    ScratchDatabase scratch("");
    const std::string notes = scratch.Folder() + "/notes.db";
    std::ofstream(notes) << "These are not the profiles you are looking for.\n";
    ProfileDbOverride use(notes);
    clsOperator op;
    const TalliskError e = CaughtError([&] { op.LoadProfiles(); });
    EXPECT_EQ(e.Number(), 3049);
    EXPECT_NE(e.Description().find(notes), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("not a database"), std::string::npos) << e.Description();
  }
  {
    // An empty setting means no setting: the shipped database beside the library is used.
    ProfileDbOverride use("");
    clsOperator op;
    op.LoadProfiles();
    EXPECT_EQ(op.RadioData->Count(), 19);
  }
}

TEST(ProfilesDatabase, KM2LookupsReadTheDatabaseOnlyWhileTheyRun) {
  ScratchDatabase db(
      "CREATE TABLE KM2RadioList (ModelCode INTEGER, RadioModel TEXT);"
      "CREATE TABLE KM2RadioFeqBand (ModelCode INTEGER, FreqBand TEXT, IFRx REAL, IFTx REAL,"
      "  Address0x18D0 TEXT, InjectAspect INTEGER, PllReferenceFrequency REAL,"
      "  \"Default\" INTEGER, Address0x1890 TEXT);"
      "CREATE VIEW qryGetInfoForRadioKM2 AS SELECT ModelCode AS RadioCode, * "
      "  FROM KM2RadioFeqBand;"
      "INSERT INTO KM2RadioList VALUES (9, '52-555 Test');"
      "INSERT INTO KM2RadioFeqBand VALUES (9, 'A', 214000, 0, '0x3F', 1, 12.5, 1, 'first'),"
      "  (9, 'A', 214000, 0, '0x3F', 1, 12.5, 0, 'second'),"
      "  (9, '''', 214000, 0, '0x3F', 1, 12.5, 0, 'quoted');");
  const auto before = std::filesystem::last_write_time(db.Path());
  const auto size = std::filesystem::file_size(db.Path());
  ProfileDbOverride use(db.Path());
  clsOperator op;
  op.LoadProfilesKM2();
  ASSERT_EQ(op.RadioData->Count(), 1);
  EXPECT_EQ(op.RadioData->Item(1)->collectionNonPersistentRadioInfo.Count(), 3);
  std::string def;
  // With several rows for a band, the last one counts.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551A", def));
  EXPECT_EQ(def, "second");
  // A quote typed as the band letter is compared as a letter, and matches such a row.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551'", def));
  EXPECT_EQ(def, "quoted");
  EXPECT_FALSE(op.IsRadioModelExist("52-5551B", def));
  // The file is opened read-only and closed: it can be replaced now, and the next lookup
  // reads the new one.
  EXPECT_EQ(std::filesystem::last_write_time(db.Path()), before);
  EXPECT_EQ(std::filesystem::file_size(db.Path()), size);
  EXPECT_FALSE(std::filesystem::exists(db.Path() + "-journal"));
  std::filesystem::remove(db.Path());
  const TalliskError e = CaughtError([&] { op.IsRadioModelExist("52-5551A", def); });
  EXPECT_EQ(e.Number(), 3024);
  EXPECT_EQ(e.Source(), "clsOperator.LookupBandDefault");
  // The loaded profiles themselves need no database.
  EXPECT_TRUE(op.GetRadioInfoKM2("52-5551A"));
}

}  // namespace
}  // namespace tallisk
