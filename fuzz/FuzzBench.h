#pragma once

// A main window for the fuzz targets and the seed maker: the program's own installation
// files and profiles (found beside the executable, as for every program of the build), its
// own scratch folders for options and logs, and dialogs that answer every question with the
// cautious answer and every file dialog with the path they are given.

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "files/ProgramPaths.h"
#include "ui/Dialogs.h"
#include "ui/frmMain.h"

namespace tallisk::fuzz {

class BenchDialogs : public Dialogs {
 public:
  std::string File;  // what the file dialogs choose
  int Shown = 0;     // message boxes shown so far
  std::string Last;  // the text of the last one

  MessageAnswer Message(const std::string&, const std::string& text, MessageIcon,
                        MessageButtons buttons) override {
    ++Shown;
    Last = text;
    switch (buttons) {
      case MessageButtons::OK:
        return MessageAnswer::OK;
      case MessageButtons::OKCancel:
        return MessageAnswer::Cancel;
      default:
        return MessageAnswer::No;
    }
  }
  std::optional<std::string> OpenFile(const FileDialogRequest&) override { return File; }
  std::optional<std::string> SaveFile(const FileDialogRequest&) override { return File; }
  bool PrintDialog() override { return false; }
  void RunModal(Form& window) override { window.Close(); }
  void Notice(const std::string&, const std::string&) override {}
};

// The window of one family on scratch folders that go with the bench.
struct Bench {
  explicit Bench(std::int32_t family) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallisk-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ::abort();
    Folder = pattern;
    UseInstallationProfileDatabase();
    ProgramFolders folders = ProgramFolders::FromEnvironment();
    folders.Configuration = Folder / "config";
    folders.State = Folder / "state";
    Window = std::make_unique<frmMain>(Dialogs, folders);
    Window->ProgramLog = [](const std::string&) {};
    if (family == 1) {
      Window->cmbRadioType.Select(1);
      Window->cmbRadioType.Leave();
    }
    if (Window->RadioType != family) ::abort();  // the installation does not offer the family
  }
  ~Bench() {
    Window.reset();
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
  }

  std::filesystem::path Folder;
  BenchDialogs Dialogs;
  std::unique_ptr<frmMain> Window;
};

}  // namespace tallisk::fuzz
