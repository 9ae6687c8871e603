#pragma once

// Helpers of the profile database tests: point the library at a database of the test's own
// making, and build such databases from SQL.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tallisk/errors.h"

namespace tallisk::testing_support {

// Sets TALLISK_PROFILE_DB for the lifetime of the object and restores what was there.
class ProfileDbOverride {
 public:
  explicit ProfileDbOverride(const std::string& path) {
    if (const char* old = std::getenv("TALLISK_PROFILE_DB")) previous_ = old;
    setenv("TALLISK_PROFILE_DB", path.c_str(), 1);
  }
  ~ProfileDbOverride() {
    if (previous_) {
      setenv("TALLISK_PROFILE_DB", previous_->c_str(), 1);
    } else {
      unsetenv("TALLISK_PROFILE_DB");
    }
  }
  ProfileDbOverride(const ProfileDbOverride&) = delete;
  ProfileDbOverride& operator=(const ProfileDbOverride&) = delete;

 private:
  std::optional<std::string> previous_;
};

// A database file in a fresh temporary folder, removed with the object.
class ScratchDatabase {
 public:
  explicit ScratchDatabase(const std::string& sql) {
    folder_ = std::filesystem::temp_directory_path() /
              ("tallisk-profiles-" + std::to_string(getpid()) + "-" + std::to_string(++count_));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "RadioInfo.db").string();
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  ~ScratchDatabase() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  const std::string& Path() const { return path_; }
  std::string Folder() const { return folder_.string(); }

 private:
  static inline int count_ = 0;
  std::filesystem::path folder_;
  std::string path_;
};

// Runs f and returns the TalliskError it raised; fails the test when it raised none.
template <typename F>
TalliskError CaughtError(F&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e;
  }
  ADD_FAILURE() << "no TalliskError was raised";
  return TalliskError(0, "", "");
}

}  // namespace tallisk::testing_support
