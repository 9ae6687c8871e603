#include "ProfileDatabase.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

#ifndef TALLISK_PROFILE_DIR_FROM_LIB
#define TALLISK_PROFILE_DIR_FROM_LIB "../share/tallisk"
#endif

namespace tallisk::profiledb {

namespace fs = std::filesystem;

namespace {

// Any object of the library: its address tells dladdr which file the library was loaded from.
const int kLibraryAnchor = 0;

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// Where the database may lie for this library file, in the order they are tried.
std::vector<fs::path> Candidates() {
  std::vector<fs::path> folders;
  Dl_info info{};
  if (dladdr(&kLibraryAnchor, &info) != 0 && info.dli_fname != nullptr) {
    std::error_code ec;
    const fs::path library = fs::absolute(info.dli_fname, ec);
    if (!ec) {
      folders.push_back(library.parent_path());
      // A library reached through a link: the real file's folder too.
      const fs::path real = fs::canonical(library, ec);
      if (!ec && real.parent_path() != library.parent_path()) {
        folders.push_back(real.parent_path());
      }
    }
  }
  std::vector<fs::path> candidates;
  for (const auto& folder : folders) {
    candidates.push_back(folder / kFileName);
    candidates.push_back((folder / TALLISK_PROFILE_DIR_FROM_LIB / kFileName).lexically_normal());
  }
  return candidates;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string LocateDatabase(const std::string& source) {
  if (const char* chosen = std::getenv(kEnvironmentVariable); chosen != nullptr && *chosen) {
    if (!IsFile(chosen)) {
      throw TalliskError(ErrFileNotFound, source,
                         std::string("Could not find the radio profile database '") + chosen +
                             "' (named by " + kEnvironmentVariable + ").");
    }
    return chosen;
  }
  const auto candidates = Candidates();
  for (const auto& candidate : candidates) {
    if (IsFile(candidate)) return candidate.string();
  }
  std::string tried;
  for (const auto& candidate : candidates) {
    tried += (tried.empty() ? "" : ", ") + candidate.string();
  }
  if (tried.empty()) tried = "the library's folder could not be determined";
  throw TalliskError(ErrFileNotFound, source,
                     std::string("Could not find the radio profile database ") + kFileName +
                         " (looked for " + tried + ").");
}

// --- Database ---

Database::Database(std::string source) : source_(std::move(source)) {
  path_ = LocateDatabase(source_);
  Open();
}

Database::Database(const std::string& path, std::string source)
    : path_(path), source_(std::move(source)) {
  Open();
}

void Database::Open() {
  if (!IsFile(path_)) Fail(ErrFileNotFound, "Could not find file.");
  const int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    Fail(ErrFileNotFound, message);
  }
}

Database::~Database() {
  sqlite3_close(db_);
}

void Database::Fail(int number, const std::string& message) const {
  throw TalliskError(number, source_, path_ + ": " + message);
}

void Database::FailWithEngineError() const {
  const std::string message = sqlite3_errmsg(db_);
  int number = ErrDatabase;
  if (StartsWith(message, "no such table")) {
    number = ErrObjectNotFound;
  } else if (StartsWith(message, "no such column")) {
    number = ErrFieldNotFound;
  } else if ((sqlite3_errcode(db_) & 0xFF) == SQLITE_CANTOPEN) {
    number = ErrFileNotFound;
  }
  Fail(number, message);
}

Statement Database::Prepare(const std::string& sql, std::string what) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    FailWithEngineError();
  }
  return Statement(*this, stmt, std::move(what));
}

// --- Statement ---

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)), what_(std::move(other.what_)) {}

void Statement::Bind(int parameter, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, parameter, value) != SQLITE_OK) db_->FailWithEngineError();
}

void Statement::Bind(int parameter, std::string_view value) {
  if (sqlite3_bind_text(stmt_, parameter, value.data(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    db_->FailWithEngineError();
  }
}

bool Statement::Next() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_->FailWithEngineError();
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::optional<int> Statement::OptionalField(std::string_view name) const {
  const int count = sqlite3_column_count(stmt_);
  for (int i = 0; i < count; ++i) {
    const char* column = sqlite3_column_name(stmt_, i);
    // Field names compare without regard to case, as the original engine did.
    if (column != nullptr && Lower(column) == Lower(std::string(name))) return i;
  }
  return std::nullopt;
}

int Statement::Field(std::string_view name) const {
  if (const auto column = OptionalField(name)) return *column;
  db_->Fail(ErrFieldNotFound, "no field " + std::string(name) + " in " + what_);
}

std::string Statement::FieldName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name != nullptr ? name : "?";
}

void Statement::FailField(int number, int column, const std::string& problem) const {
  db_->Fail(number, "field " + FieldName(column) + " of " + what_ + " " + problem);
}

void Statement::RequireValue(int column) const {
  if (sqlite3_column_type(stmt_, column) == SQLITE_NULL) {
    FailField(ErrInvalidUseOfNull, column, "is empty (NULL)");
  }
}

std::string Statement::Text(int column) const {
  RequireValue(column);
  const auto* text = sqlite3_column_text(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
}

double Statement::Number(int column) const {
  RequireValue(column);
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
      return static_cast<double>(sqlite3_column_int64(stmt_, column));
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt_, column);
    default: {
      const std::string text = Trim(Text(column));
      double value = 0;
      const char* end = text.data() + text.size();
      const auto [ptr, ec] = std::from_chars(text.data(), end, value);
      if (text.empty() || ec != std::errc() || ptr != end) {
        FailField(ErrTypeMismatch, column, "holds '" + text + "', which is not a number");
      }
      return value;
    }
  }
}

bool Statement::Boolean(int column) const {
  RequireValue(column);
  if (sqlite3_column_type(stmt_, column) == SQLITE_TEXT) {
    const std::string text = Lower(Trim(Text(column)));
    if (text == "true" || text == "yes" || text == "on") return true;
    if (text == "false" || text == "no" || text == "off") return false;
  }
  return Number(column) != 0;
}

std::uint8_t Statement::Byte(int column) const {
  const double value = Number(column);
  try {
    return RoundToByte(value);
  } catch (const TalliskError&) {
    FailField(ErrOverflow, column, "holds " + std::to_string(value) + ", which is not a byte");
  }
}

std::int16_t Statement::Int16(int column) const {
  const double value = Number(column);
  try {
    return RoundToInt16(value);
  } catch (const TalliskError&) {
    FailField(ErrOverflow, column,
              "holds " + std::to_string(value) + ", which is not a 16-bit integer");
  }
}

float Statement::Single(int column) const {
  const double value = Number(column);
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    FailField(ErrOverflow, column, "holds a number out of range");
  }
  return static_cast<float>(value);
}

}  // namespace tallisk::profiledb
