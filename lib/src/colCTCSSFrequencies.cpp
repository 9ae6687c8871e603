#include "tallisk/colCTCSSFrequencies.h"

#include <limits>
#include <string>

#include "ProfileDatabase.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {

namespace {

using profiledb::Database;
using profiledb::Statement;

// Index is a keyword of the database engine, hence the brackets.
constexpr const char* kQvrQuery =
    "SELECT tblCTCSSFrequencies.[Index], tblCTCSSFrequencies.ToneFrequency "
    "From tblCTCSSFrequencies "
    "ORDER BY tblCTCSSFrequencies.ToneFrequency; ";

constexpr const char* kKM2Query =
    "SELECT [Index], ToneFrequency, SpecialRadio, CTCSSCode "
    "From KM2CTCSSFrequencies "
    "ORDER BY ToneFrequency; ";

// The KM2 code is kept as hexadecimal text; text that is not hexadecimal reads as 0.
std::int16_t HexCode(const Database& db, const std::string& text) {
  std::string digits = text;
  const auto first = digits.find_first_not_of(' ');
  const auto last = digits.find_last_not_of(' ');
  digits = first == std::string::npos ? std::string() : digits.substr(first, last - first + 1);
  const std::int64_t value = ParseHex(digits);
  if (value < 0 || value > std::numeric_limits<std::int16_t>::max()) {
    db.Fail(ErrOverflow, "CTCSSCode '" + text + "' of KM2CTCSSFrequencies is too large");
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

void colCTCSSFrequencies::LoadCodes() {
  Database db("colCTCSSFrequencies.LoadCodes");
  Statement tones = db.Prepare(kQvrQuery, "tblCTCSSFrequencies");
  const int index = tones.Field("Index");
  const int frequency = tones.Field("ToneFrequency");
  while (tones.Next()) {
    clsCTCSSFrequencies tone;
    tone.Index = tones.Int16(index);
    tone.CTCSSFreq = tones.Single(frequency);
    tones_.Add(tone);
  }
}

void colCTCSSFrequencies::LoadCodesKM2() {
  Database db("colCTCSSFrequencies.LoadCodesKM2");
  Statement tones = db.Prepare(kKM2Query, "KM2CTCSSFrequencies");
  const int index = tones.Field("Index");
  const int frequency = tones.Field("ToneFrequency");
  const int special = tones.Field("SpecialRadio");
  const int code = tones.Field("CTCSSCode");
  while (tones.Next()) {
    clsCTCSSFrequencies tone;
    tone.Index = tones.Int16(index);
    tone.CTCSSFreq = tones.Single(frequency);
    tone.SpecialRadioKM2 = tones.Boolean(special);
    tone.CTCSSCodeKM2 = HexCode(db, tones.Text(code));
    tones_.Add(tone);
  }
}

}  // namespace tallisk
