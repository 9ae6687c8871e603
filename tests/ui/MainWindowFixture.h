#pragma once

// A main window on scratch folders, driven through scripted dialogs. The profile database
// is the real one the build puts beside the library.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "ui/frmMain.h"

namespace tallisk::testing {

// Installation, settings and state folders of the program's own under the temporary folder,
// named after the running test, with the installation files every window needs; removed again
// with the object.
struct ScratchProgram {
  explicit ScratchProgram(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root = std::filesystem::temp_directory_path() /
           (prefix + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    folders = {root / "install", root / "config", root / "state"};
    std::filesystem::create_directories(folders.Installation);
    // An erased KM2 image gives the tail every KM2 header is built with.
    Install("km2.clr", std::string(16384, 'F'));
    Install("tmphelp.thp", "Type the model number from the radio's label.");
  }
  ~ScratchProgram() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  void Install(const std::string& name, const std::string& text) const {
    std::ofstream(folders.Installation / name, std::ios::binary) << text;
  }

  std::filesystem::path root;
  ProgramFolders folders;
};

// The texts of a choice's entries, in order.
inline std::vector<std::string> ItemTexts(const ChoiceField& field) {
  std::vector<std::string> texts;
  for (const auto& item : field.Items()) texts.push_back(item.Text);
  return texts;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { window_.reset(); }

  void WriteInstallFile(const std::string& name, const std::string& text) {
    program_.Install(name, text);
  }

  // Starts the window; `control` is the text of control.txt, none for no file.
  frmMain& Start(std::optional<std::string> control = "QVR=TRUE\r\nKM2=TRUE\r\n",
                 SerialDeviceSource* devices = nullptr) {
    if (control) WriteInstallFile("control.txt", *control);
    window_ = std::make_unique<frmMain>(dialogs_, folders_, devices);
    window_->Today = [] { return Date(2026, 12, 6); };
    return *window_;
  }

  // Starts with the KM2 family chosen on the start page.
  frmMain& StartKM2() {
    frmMain& w = Start();
    w.cmbRadioType.Select(1);
    w.cmbRadioType.Leave();
    return w;
  }

  // From the start page to page 1 and on to page 2 with a KM2 model number.
  void ToPage2KM2(frmMain& w, const std::string& model) {
    w.btnProgramRadio.Press();
    w.txtModelNumber.SetText(model);
    w.btnNext.Press();
  }

  // Presses Next (or Back) until the page is reached, recording the pages passed.
  static std::vector<int> Walk(frmMain& w, CommandField& command, int until) {
    std::vector<int> pages;
    for (int steps = 0; steps < 20 && w.CurrentPage != until; ++steps) {
      command.Press();
      pages.push_back(w.CurrentPage);
    }
    return pages;
  }

  // The indices of the pages on show.
  static std::vector<int> ShownPages(const frmMain& w) {
    std::vector<int> shown;
    for (const auto& page : w.Pages())
      if (page->Visible()) shown.push_back(page->Index);
    return shown;
  }

  // Which of Next, Back, Finish the strip shows, as "NBF" letters.
  static std::string Strip(const frmMain& w) {
    std::string strip;
    if (w.btnNext.Visible()) strip += 'N';
    if (w.btnBack.Visible()) strip += 'B';
    if (w.btnFinish.Visible()) strip += 'F';
    return strip;
  }

  ScratchProgram program_{"tallisk-ui-"};
  const std::filesystem::path& root_ = program_.root;
  ProgramFolders& folders_ = program_.folders;
  ScriptedDialogs dialogs_;
  std::unique_ptr<frmMain> window_;
};

}  // namespace tallisk::testing
