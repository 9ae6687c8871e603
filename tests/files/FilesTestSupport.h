#pragma once

// Scratch folders for the file tests: every folder the program's files live in is pointed
// somewhere new for each test, and put back afterwards.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"

namespace tallisk::test {

namespace fs = std::filesystem;

class ScratchFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tallisk-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    // Other users (the read-only folder test saves as one) may pass through.
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "TALLISK_DATA_DIR", "HOME"}) {
      const char* value = std::getenv(name);
      saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    Set("XDG_CONFIG_HOME", root / "config");
    Set("XDG_STATE_HOME", root / "state");
    Set("TALLISK_DATA_DIR", root / "data");
    Set("HOME", root / "home");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
      if (entry.is_directory(ignored))
        fs::permissions(entry, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root, ignored);
  }

  static void Set(const char* name, const fs::path& value) { ::setenv(name, value.c_str(), 1); }

  fs::path root;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

inline std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void Put(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The names in a folder, to see that a failed save left nothing behind.
inline std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A QVR programming as the save builds it: settings block and `channels` channels.
inline clsStringCreator QvrImage(int channels = 16, const std::string& serial = "4711") {
  clsRadioHeader header;
  header.SerialNumber = serial;
  header.CreateRadioHeader();
  clsStringCreator creator;
  creator.RadioHeader = header.RadioHeader;
  for (int n = 1; n <= channels; ++n) {
    clsChannel channel;
    channel.RxFrequency = channel.TxFrequency = 150'000'000 + 12'500.0 * n;
    channel.PLLReferenceFreq = 12.5f;
    channel.RxIF = 21400;
    channel.CreateChannelData();
    creator.colChannelData.Add(channel.ChannelData);
  }
  creator.CreateString();
  return creator;
}

// The installation's KM2 image, built from the library's defaults.
inline std::string Km2Image() {
  return ReadRadioFile(ExecutableFolder() / "km2.clr", RadioFamily::KM2);
}

}  // namespace tallisk::test
