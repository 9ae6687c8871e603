// make_profile_db: builds RadioInfo.db from its SQL source.
//
//   make_profile_db <source.sql> <output.db>
//
// The database is built under a temporary name and renamed into place only when every
// statement ran and every row passed its constraints, so a mistake in the SQL never leaves
// a half-built database where the library would find it. An error names the line of the
// statement that failed.

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The offset of the first character at or after `offset` that is neither blank nor part of
// a comment: where the next statement starts.
std::size_t StatementStart(const std::string& text, std::size_t offset) {
  while (offset < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[offset]))) {
      ++offset;
    } else if (text.compare(offset, 2, "--") == 0) {
      offset = text.find('\n', offset);
      if (offset == std::string::npos) return text.size();
    } else if (text.compare(offset, 2, "/*") == 0) {
      offset = text.find("*/", offset + 2);
      if (offset == std::string::npos) return text.size();
      offset += 2;
    } else {
      break;
    }
  }
  return offset;
}

int LineOf(const std::string& text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

// Runs every statement of the script; false (with the message on stderr) on the first error.
bool RunScript(sqlite3* db, const std::string& script, const std::string& sourceName) {
  const char* const begin = script.c_str();
  const char* rest = begin;
  while (*rest != '\0') {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const std::size_t at = StatementStart(script, static_cast<std::size_t>(rest - begin));
    if (sqlite3_prepare_v2(db, rest, -1, &stmt, &tail) != SQLITE_OK) {
      std::cerr << sourceName << ":" << LineOf(script, at) << ": " << sqlite3_errmsg(db) << "\n";
      return false;
    }
    if (stmt == nullptr) break;  // only blanks or comments were left
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      std::cerr << sourceName << ":" << LineOf(script, at) << ": " << sqlite3_errmsg(db) << "\n";
      sqlite3_finalize(stmt);
      return false;
    }
    sqlite3_finalize(stmt);
    rest = tail;
  }
  return true;
}

// Rows whose references point nowhere, which the inserts alone do not catch when a table is
// filled before the one it refers to.
bool ForeignKeysHold(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA foreign_key_check", -1, &stmt, nullptr) != SQLITE_OK) {
    std::cerr << "foreign key check: " << sqlite3_errmsg(db) << "\n";
    return false;
  }
  bool ok = true;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    ok = false;
    std::cerr << "row " << sqlite3_column_int64(stmt, 1) << " of "
              << reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))
              << " refers to a missing row of "
              << reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)) << "\n";
  }
  sqlite3_finalize(stmt);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_profile_db <source.sql> <output.db>\n";
    return 2;
  }
  const std::string source = argv[1];
  const std::string output = argv[2];
  const std::string building = output + ".building";

  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot be read\n";
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();

  // The output folder may not exist yet when the database is the first thing built there.
  std::error_code ec;
  const auto folder = std::filesystem::path(output).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);

  std::remove(building.c_str());
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(building.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::cerr << building << ": " << (db ? sqlite3_errmsg(db) : "cannot be created") << "\n";
    sqlite3_close(db);
    return 1;
  }
  const bool built = RunScript(db, text.str(), source) && ForeignKeysHold(db);
  sqlite3_close(db);
  if (!built) {
    std::remove(building.c_str());
    return 1;
  }
  if (std::rename(building.c_str(), output.c_str()) != 0) {
    std::perror(output.c_str());
    std::remove(building.c_str());
    return 1;
  }
  return 0;
}
