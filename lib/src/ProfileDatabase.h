#pragma once

// Private to the library: finding, opening and reading the radio profile database.
//
// The database is found, in this order:
//   1. the file named by the environment variable TALLISK_PROFILE_DB (tests, and shops that
//      keep a database of their own); when it is set, nothing else is tried;
//   2. RadioInfo.db in the folder of the loaded library file (the build tree);
//   3. RadioInfo.db under share/tallisk of the installation prefix (relative to the library
//      folder, so a moved installation still finds it).
// It is opened read-only and only for as long as one load or lookup runs.
//
// Every failure is a TalliskError whose description names the database file and carries the
// engine's own message, so a technician sees which file is wrong. The numbers are the ones
// the original Jet engine used for the same faults:
//   3024  the database file is missing or cannot be opened
//   3078  a table or query (view) is missing
//   3265  a field is missing
//   3049  any other fault the engine reports (not a database, damaged, unreadable)
//     94  a field the program needs is empty (NULL)
//     13  a field holds text that is not the number or flag expected
//      6  a number does not fit the property that takes it

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallisk::profiledb {

inline constexpr int ErrFileNotFound = 3024;
inline constexpr int ErrObjectNotFound = 3078;
inline constexpr int ErrFieldNotFound = 3265;
inline constexpr int ErrDatabase = 3049;
inline constexpr int ErrInvalidUseOfNull = 94;
inline constexpr int ErrTypeMismatch = 13;

inline constexpr const char* kFileName = "RadioInfo.db";
inline constexpr const char* kEnvironmentVariable = "TALLISK_PROFILE_DB";

// The path of the database to open; fails with ErrFileNotFound when there is none.
std::string LocateDatabase(const std::string& source);

class Statement;

// One read-only connection, closed when the object goes.
class Database {
 public:
  // source: the routine reported in failures ("clsOperator.LoadProfiles").
  explicit Database(std::string source);
  Database(const std::string& path, std::string source);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& Path() const noexcept { return path_; }
  const std::string& Source() const noexcept { return source_; }

  // what names the table or query for messages about its fields.
  Statement Prepare(const std::string& sql, std::string what);

  [[noreturn]] void Fail(int number, const std::string& message) const;
  // The engine's last error, numbered by its kind.
  [[noreturn]] void FailWithEngineError() const;

 private:
  void Open();

  std::string path_;
  std::string source_;
  sqlite3* db_ = nullptr;
};

// A prepared query; fields are looked up by name, as the profile code reads them.
class Statement {
 public:
  Statement(Database& db, sqlite3_stmt* stmt, std::string what) noexcept
      : db_(&db), stmt_(stmt), what_(std::move(what)) {}
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  void Bind(int parameter, std::int64_t value);
  void Bind(int parameter, std::string_view value);

  // Moves to the next row; false at the end.
  bool Next();
  // Back before the first row, to run again with new parameters.
  void Reset();

  // The column of a field; a missing field fails with ErrFieldNotFound.
  int Field(std::string_view name) const;
  // The column of a field that older databases may lack.
  std::optional<int> OptionalField(std::string_view name) const;

  std::string Text(int column) const;
  double Number(int column) const;
  bool Boolean(int column) const;
  // Numbers rounded to the property's type (nearest, ties to even); out of range fails.
  std::uint8_t Byte(int column) const;
  std::int16_t Int16(int column) const;
  float Single(int column) const;

 private:
  std::string FieldName(int column) const;
  void RequireValue(int column) const;
  [[noreturn]] void FailField(int number, int column, const std::string& problem) const;

  Database* db_;
  sqlite3_stmt* stmt_;
  std::string what_;
};

}  // namespace tallisk::profiledb
