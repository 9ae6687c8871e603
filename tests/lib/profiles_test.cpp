// The profile database: the lookups of clsOperator and the CTCSS tone tables over the database
// the build ships beside the library, and how faulty databases of the test's own making fail.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iomanip>
#include <sstream>
#include <string>

#include "tallisk/clsOperator.h"
#include "tallisk/colCTCSSFrequencies.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// A database file made from SQL that TALLISK_PROFILE_DB points at while the object lives.
struct ScratchDatabase {
  explicit ScratchDatabase(const std::string& sql) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    setenv("TALLISK_PROFILE_DB", path.c_str(), 1);
  }
  ~ScratchDatabase() {
    unsetenv("TALLISK_PROFILE_DB");
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tallisk-profiles-" + std::to_string(getpid()) + ".db"))
                               .string();
};

// Runs f and returns the TalliskError it raised; fails the test when it raised none.
TalliskError CaughtError(const std::function<void()>& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e;
  }
  ADD_FAILURE() << "no TalliskError was raised";
  return TalliskError(0, "", "");
}

// A band as one line, in the order of the database's columns.
std::string Row(const clsNonPersistentInfo& b) {
  std::ostringstream row;
  row << std::setprecision(10) << b.Address0x0D << '|' << b.Address0x0F << '|' << b.Address0x10
      << '|' << b.Address0x14 << '|' << b.Address0x15 << '|' << b.Address0x16 << '|'
      << b.Address0x17 << '|' << b.InjectAspect << '|' << b.PllReferenceFrequency << '|'
      << b.Default << '|' << b.SynthesizerType << '|' << b.PrescalerSwitch << '|' << b.IFRx << '|'
      << b.IFTx << '|' << int{b.ChannelSwitchType} << '|' << b.FreqMinHz << '|' << b.FreqMaxHz
      << '|' << b.FreqBand << '|' << b.Address0x18D0;
  return row.str();
}

TEST(ProfilesOperator, LookupsOfBothFamiliesAndLoadingAgain) {
  clsOperator op;
  std::string def;
  for (const auto& call : std::initializer_list<std::function<void()>>{
           [&] { op.GetRadioInfo("x"); }, [&] { op.GetRadioInfoKM2("52-8991A"); },
           [&] { op.GetRadioInfoByModelNumber(0); },
           [&] { op.GetNonPersistentMatchBasedOnAddresses(0, "", "", "", "", "", "", ""); },
           [&] { op.IsRadioModelExist("52-8991A", def); }}) {
    EXPECT_EQ(CaughtError(call).Number(), 91);  // not loaded yet
  }
  op.LoadProfiles();
  const auto first = op.RadioData;
  op.LoadProfiles();
  ASSERT_EQ(op.RadioData->Count(), 19);
  EXPECT_FALSE(op.GetRadioInfoByModelNumber(19));
  const auto uhfLowA = op.GetRadioInfo("UHF Low A 403-423 MHz 16 Ch");
  ASSERT_TRUE(uhfLowA);
  EXPECT_EQ(uhfLowA->ModelCode, value_of(enumModel::UHF_L_A_Band));
  const auto& band = *uhfLowA->collectionNonPersistentRadioInfo.Item(1);
  EXPECT_EQ(Row(band),  // each column in its field
            "0x04|0x06|0xB0|XX11XX01|0x88|XXXXXX01|0x9D|0|12.5|1|MB1501|128/129|21400|0|3|"
            "403000000|423000000||");
  // Model and band texts are matched exactly (0x10 is "0xB0").
  EXPECT_FALSE(op.GetRadioInfo("uhf Low A 403-423 MHz 16 Ch"));
  EXPECT_FALSE(op.GetRadioInfo("UHF Low A 403-423 MHz 16 Ch "));
  EXPECT_FALSE(op.GetNonPersistentMatchBasedOnAddresses(
      uhfLowA->ModelCode, band.Address0x0D, band.Address0x0F, "0xb0", band.Address0x14,
      band.Address0x15, band.Address0x16, band.Address0x17));

  // Whoever kept the list of an earlier load still holds it whole.
  op.LoadProfilesKM2();
  EXPECT_EQ(first->Count(), 19);
  EXPECT_EQ(first->Item(1)->Model, "VHF Low A 29.7-36 MHz 16 Ch");
  ASSERT_GE(op.RadioData->Count(), 5);

  // KM2: seven characters are needed; only the first six are compared.
  EXPECT_FALSE(op.GetRadioInfoKM2("52-899"));
  EXPECT_FALSE(op.GetRadioInfoKM2("52-8981A"));
  const auto line899 = op.GetRadioInfoKM2("52-899X");
  ASSERT_TRUE(line899);
  EXPECT_EQ(line899, op.GetRadioInfoKM2("52-8991AD"));
  EXPECT_EQ(Row(*line899->collectionNonPersistentRadioInfo.Item(1)),
            "|||||||1|12.5|1|||214000|0|0|136000000|156000000|A|0x1F");
  // Model number = line, feature digit 1/2/7, band letter, optional D; in either case.
  const std::string bandA = "007D040006B0008800B2FFF00000FFFF";
  for (const auto& [number, text] : std::initializer_list<std::pair<const char*, std::string>>{
           {"52-8991A", bandA},
           {"52-8991ad", bandA},
           {"52-8992A", bandA},
           {"52-8997A", bandA},
           {"52-8991C", "00320A0010B8008800C4FFF00000FFFF"},
           {"52-8994", ""},
           {"52-8991A12", ""},
           {"52-8991AX", ""},
           {"52-8993A", ""},
           {"52-8991Z", ""},
           {"52-1231A", ""}}) {
    def = "left over";
    EXPECT_EQ(op.IsRadioModelExist(number, def), !text.empty()) << number;
    EXPECT_EQ(def, text) << number;
  }
  op.UnloadProfiles();
  EXPECT_FALSE(op.RadioData);
}

// A QVR database shaped like the shipped one, without the optional tuning range.
constexpr const char* kQvrSchema = R"(
CREATE TABLE tblRadioList (RadioModelCode INTEGER, RadioModel TEXT, NumberOfChannels INTEGER);
CREATE TABLE tblRadioBand (RadioModelCode INTEGER, Address0x0D TEXT, Address0x0F TEXT,
  Address0x10 TEXT, Address0x14 TEXT, Address0x15 TEXT, Address0x16 TEXT, Address0x17 TEXT,
  InjectAspect INTEGER, PllReferenceFrequency REAL, "Default" INTEGER, SynthesizerType TEXT,
  PrescalerSwitch TEXT, IFRx REAL, IFTx REAL, ChannelSwitchType INTEGER);
CREATE VIEW qryGetInfoForRadio AS SELECT RadioModelCode AS RadioCode, * FROM tblRadioBand;
INSERT INTO tblRadioBand VALUES (3, '0x84', '0x86', '0xB0', 'XX11XX00', '0x5C', 'XXXXXX00',
  '0x47', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3);
CREATE TABLE tblCTCSSFrequencies ("Index" INTEGER, ToneFrequency REAL);
CREATE TABLE KM2CTCSSFrequencies ("Index", ToneFrequency, SpecialRadio, CTCSSCode);
)";

TEST(ProfilesDatabase, SmallDatabasesReadAsStoredAndOnlyWhileTheLookupRuns) {
  ScratchDatabase db(
      std::string(kQvrSchema) +
      "INSERT INTO tblRadioList VALUES (3, 'VHF Test', 16), (4, 'Bandless', '8');"
      "INSERT INTO KM2CTCSSFrequencies VALUES (1, 100.0, 0, '1A'),"
      "  (2, 88.5, 1, 'zz'), (4, 71.9, 'True', ' 7F ');"
      "CREATE TABLE KM2RadioList (ModelCode INTEGER, RadioModel TEXT);"
      "CREATE TABLE KM2RadioFeqBand (ModelCode INTEGER, FreqBand TEXT, IFRx REAL, IFTx REAL,"
      "  Address0x18D0 TEXT, InjectAspect INTEGER, PllReferenceFrequency REAL,"
      "  \"Default\" INTEGER, Address0x1890 TEXT);"
      "CREATE VIEW qryGetInfoForRadioKM2 AS SELECT ModelCode AS RadioCode, * FROM KM2RadioFeqBand;"
      "INSERT INTO KM2RadioList VALUES (9, '52-555 Test');"
      "INSERT INTO KM2RadioFeqBand VALUES (9, 'A', 214000, 0, '0x3F', 1, 12.5, 1, 'first'),"
      "  (9, 'A', 214000, 0, '0x3F', 1, 12.5, 0, 'second'),"
      "  (9, '''', 214000, 0, '0x3F', 1, 12.5, 0, 'quoted');");
  const auto written = std::filesystem::last_write_time(db.path);
  clsOperator op;
  op.LoadProfiles();
  ASSERT_EQ(op.RadioData->Count(), 2);
  const auto model = op.GetRadioInfo("VHF Test");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->collectionNonPersistentRadioInfo.Count(), 1);
  // No tuning range known: 0.
  EXPECT_EQ(Row(*model->collectionNonPersistentRadioInfo.Item(1)),
            "0x84|0x86|0xB0|XX11XX00|0x5C|XXXXXX00|0x47|1|12.5|1|MB1504|64/65|21400|0|3|0|0||");
  // A number stored as text converts; a model without bands has an empty band list.
  EXPECT_EQ(op.GetRadioInfo("Bandless")->NumberOfChannels, 8);
  EXPECT_EQ(op.GetRadioInfo("Bandless")->collectionNonPersistentRadioInfo.Count(), 0);

  colCTCSSFrequencies tones;
  tones.LoadCodes();
  EXPECT_EQ(tones.Count(), 0);
  tones.LoadCodesKM2();
  std::string read;  // index, code and bank of each tone, in ascending frequency
  for (const auto& t : tones) {
    read += std::to_string(t.Index) + ":" + std::to_string(t.CTCSSCodeKM2) +
            (t.SpecialRadioKM2 ? "S " : " ");
  }
  EXPECT_EQ(read, "4:127S 2:0S 1:26 ");  // "zz" is not hexadecimal
  op.LoadProfilesKM2();
  ASSERT_EQ(op.RadioData->Count(), 1);
  EXPECT_EQ(op.RadioData->Item(1)->collectionNonPersistentRadioInfo.Count(), 3);
  std::string def;
  // With several rows for a band, the last one counts.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551A", def));
  EXPECT_EQ(def, "second");
  // A quote typed as the band letter is compared as a letter, never read as SQL.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551'", def));
  EXPECT_EQ(def, "quoted");
  // Opened read-only and closed again: untouched, and a removed file is missed at once.
  EXPECT_EQ(std::filesystem::last_write_time(db.path), written);
  EXPECT_FALSE(std::filesystem::exists(db.path + "-journal"));
  std::filesystem::remove(db.path);
  const TalliskError e = CaughtError([&] { op.IsRadioModelExist("52-5551A", def); });
  EXPECT_EQ(e.Number(), 3024);
  EXPECT_EQ(e.Source(), "clsOperator.LookupBandDefault");
  EXPECT_TRUE(op.GetRadioInfoKM2("52-5551A"));  // the loaded profiles need no database
}

TEST(ProfilesDatabase, FaultyDatabasesFailNamingTheFileAndTheProblem) {
  const std::string schema = kQvrSchema;
  const std::string models = "clsOperator.LoadProfiles";
  const std::string km2Tones = "colCTCSSFrequencies.LoadCodesKM2";
  const struct {
    std::string sql;
    std::string source;  // the load
    int number;
    const char* message;
    int kept = 0;  // tones read before the failure stay
  } cases[] = {
      {"-- no file", "clsOperator.LoadProfilesKM2", 3024, "(named by TALLISK_PROFILE_DB)"},
      {"-- text", models, 3049, "file is not a database"},
      {"CREATE TABLE other (x INTEGER);", models, 3078, "no such table: tblRadioList"},
      {"CREATE TABLE tblRadioList (RadioModelCode, RadioModel);"
       "INSERT INTO tblRadioList VALUES (0, 'A');",
       models, 3265, "NumberOfChannels"},
      {schema + "INSERT INTO tblRadioList VALUES (3, NULL, 16);", models, 94, "RadioModel"},
      {schema + "INSERT INTO tblRadioList VALUES (300, 'A', 16);", models, ErrOverflow,
       "RadioModelCode"},
      {schema + "UPDATE tblRadioBand SET PllReferenceFrequency = '12,5 kHz';"
                "INSERT INTO tblRadioList VALUES (4, 'Good', 16), (3, 'A', 16);",
       models, 13, "PllReferenceFrequency"},
      // Blank texts in a numeric and in a yes/no column.
      {schema + "UPDATE tblRadioBand SET IFRx = '  ';INSERT INTO tblRadioList VALUES (3, 'A', 16);",
       models, 13, "IFRx"},
      {schema + "UPDATE tblRadioBand SET InjectAspect = '';"
                "INSERT INTO tblRadioList VALUES (3, 'A', 16);",
       models, 13, "InjectAspect"},
      {"CREATE TABLE KM2CTCSSFrequencies (x);", "colCTCSSFrequencies.LoadCodes", 3078,
       "no such table: tblCTCSSFrequencies"},
      {schema + "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '1'),"
                " (NULL, 71.9, 0, '2'), (3, 74.4, 0, '3');",
       km2Tones, 94, "Index", 1},
      {schema + "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '8000');", km2Tones,
       ErrOverflow, "8000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    ScratchDatabase db(c.sql);
    // Some other file under the name, or none at all.
    if (c.sql == "-- text") std::ofstream(db.path) << "These are not the profiles you want.\n";
    if (c.sql == "-- no file") std::filesystem::remove(db.path);
    clsOperator op;
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] {
      if (c.source == models) op.LoadProfiles();
      if (c.source == "clsOperator.LoadProfilesKM2") op.LoadProfilesKM2();
      if (c.source == "colCTCSSFrequencies.LoadCodes") tones.LoadCodes();
      if (c.source == km2Tones) tones.LoadCodesKM2();
    });
    EXPECT_EQ(e.Number(), c.number) << e.Description();
    EXPECT_EQ(e.Source(), c.source);
    EXPECT_NE(e.Description().find(db.path), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find(c.message), std::string::npos) << e.Description();
    // A failed load leaves an empty list of models, not the half read before the fault.
    EXPECT_EQ(op.RadioData != nullptr, c.source.rfind("clsOperator", 0) == 0);
    if (op.RadioData) {
      EXPECT_EQ(op.RadioData->Count(), 0);
    }
    EXPECT_EQ(tones.Count(), c.kept);
  }
  setenv("TALLISK_PROFILE_DB", "", 1);  // an empty setting is no setting: the shipped database
  clsOperator op;
  op.LoadProfiles();
  EXPECT_EQ(op.RadioData->Count(), 19);
  unsetenv("TALLISK_PROFILE_DB");
}

}  // namespace
}  // namespace tallisk
