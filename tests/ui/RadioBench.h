#pragma once

// A main window on scratch folders, driven through scripted dialogs, and on a virtual radio:
// the radio on an in-process cable, a virtual clock, and an event pump the test can act
// through (pressing Stop in the middle of a transfer). The radios start with programmings made
// by the library's own codecs, not by the window. The profile database is the real one the
// build puts beside the library.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "link/Clock.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"
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

// Types into an emptied field and leaves it.
inline void TypeAndLeave(TextField& field, const std::string& keys) {
  field.SetText("");
  field.TypeText(keys);
  field.Leave();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { window_.reset(); }

  // Starts the window; `control` is the text of control.txt, none for no file.
  frmMain& Start(std::optional<std::string> control = "QVR=TRUE\r\nKM2=TRUE\r\n",
                 SerialDeviceSource* devices = nullptr) {
    if (control) program_.Install("control.txt", *control);
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

  frmMain& QvrOnPage5(const std::string& model, const std::string& reference = "") {
    frmMain& w = Start();
    w.btnProgramRadio.Press();
    w.lstRadios.SelectText(model);
    w.btnNext.Press();
    if (!reference.empty()) w.cmbPllReferenceFreq.SelectText(reference);
    Walk(w, w.btnNext, 5);
    return w;
  }
  frmMain& Km2OnPage5(const std::string& model, bool special = false) {
    frmMain& w = StartKM2();
    ToPage2KM2(w, model);
    if (special) w.chkSpecialRadio.Click();
    w.btnNext.Press();
    return w;
  }
  // Field name to what it shows: the text, the selected entry or the check of every visible
  // field but `except`.
  static std::map<std::string, std::string> Shown(const Page& page, const Field* except) {
    std::map<std::string, std::string> shown;
    for (const auto& row : page.Rows)
      for (const Field* field : row.Fields) {
        if (field == except || !field->Visible()) continue;
        std::string value = field->Caption();
        if (const auto* text = dynamic_cast<const TextField*>(field)) value = text->Text();
        if (const auto* choice = dynamic_cast<const ChoiceField*>(field))
          value = std::to_string(choice->SelectedIndex()) + ":" + choice->Text();
        if (const auto* check = dynamic_cast<const CheckField*>(field))
          value = check->Checked() ? "checked" : "unchecked";
        shown[field->Name()] = value;
      }
    return shown;
  }
  // The channel page without the channel number.
  static std::map<std::string, std::string> ChannelShown(const frmMain& w) {
    return Shown(*w.PageAt(5), &w.cmbChannelNumber);
  }

  ScratchProgram program_{"tallisk-ui-"};
  const std::filesystem::path& root_ = program_.root;
  ProgramFolders& folders_ = program_.folders;
  ScriptedDialogs dialogs_;
  std::unique_ptr<frmMain> window_;
};

template <class Radio>
struct RadioOnCable {
  VirtualClock clock;
  Radio radio;
  VirtualRadioPort port{radio, clock};
  std::function<void()> onPump;
  CallbackEventPump pump{[this] {
    if (onPump) onPump();
  }};

  // Both ends at 2400 baud, as on the bench.
  void Pace() { radio.Paced = port.Line().Paced = true; }
  void Attach(frmMain& w) { w.UseLink(port, clock, pump); }
};

// A channel in use on both halves: no signalling, CTCSS (tone code) or DCS (octal code
// value), the same code both ways.
inline clsChannel InUse(double rx, double tx, std::int32_t signalling = 3, std::int16_t code = 0) {
  clsChannel c;
  c.RxFrequency = rx;
  c.TxFrequency = tx;
  c.RxSignalling = c.TxSignalling = signalling;
  if (signalling == 0) c.RxCTCSSCode = c.TxCTCSSCode = static_cast<std::uint8_t>(code);
  if (signalling == 1) c.RxSignalData = c.TxSignalData = code;
  return c;
}

// A QVR programming of a VHF High A radio (model 5, the 12.5 kHz band) with three channels
// in use and thirteen unused.
struct QvrProgramming {
  clsRadioHeader Header;
  std::vector<clsChannel> Channels{InUse(146025000, 146625000, 0, 11), InUse(150500000, 150500000),
                                   InUse(155000000, 155250000, 1, 19)};

  QvrProgramming() {
    clsRadioHeader& h = Header;
    h.Model = 5;
    h.ModelName = "VHF High A 136-156 MHz 16 Ch";
    h.Address0x0D = "0x84";
    h.Address0x0F = "0x86";
    h.Address0x10 = "0xB0";
    h.Address0x14 = "XX11XX00";
    h.Address0x15 = "0xA7";
    h.Address0x16 = "XXXXXX00";
    h.Address0x17 = "0x92";
    h.PLLReferenceFreq = 12.5f;
    h.PrescalerSwitch = "64/65";
    h.IFRx = 21400;
    h.InjectionAspect = 1;
    h.SerialNumber = "4711";
    h.DateRadio = Date(2025, 3, 14);
    h.ScanMethod = 1;
    Channels[0].GroupA = true;
    Channels.resize(16, InUse(0, 0));
  }

  // The EEPROM bytes as hex digits: the settings block, then the sixteen channel records.
  std::string Image() {
    Header.CreateRadioHeader();
    std::string image = Header.RadioHeader;
    for (auto& c : Channels) {
      c.ModelName = Header.ModelName;
      c.PLLReferenceFreq = Header.PLLReferenceFreq;
      c.Prescaler = Header.PrescalerSwitch;
      c.RxIF = Header.IFRx;
      c.CreateChannelData();
      image += c.ChannelData;
    }
    return image;
  }
};

// A KM2 programming of a 52-3711A (UHF T-band, band A, 12.5 kHz), whose channel records are
// laid out for the 64/65 prescaler (code 1 in its settings block): three channels, two named
// groups with three memberships, and a firmware tail of the radio's own.
struct Km2Programming {
  clsRadioHeader Header;
  std::vector<clsChannel> Channels{InUse(480012500, 480012500, 0, 11), InUse(485000000, 485000000),
                                   InUse(489000000, 489500000, 1, 19)};
  std::vector<clsGroup> Groups = std::vector<clsGroup>(16);
  std::vector<clsChannelGroup> Table = std::vector<clsChannelGroup>(320);

  explicit Km2Programming(const clsOperator& profiles) {
    clsRadioHeader& h = Header;
    h.ModelName = "52-3711A";
    profiles.IsRadioModelExist(h.ModelName, h.DefaultKM2);
    h.PLLReferenceFreq = 12.5f;
    h.IFRx = 450000;
    h.SerialNumber = "KM0042";
    h.DateRadio = Date(2025, 6, 30);
    h.MuteUntilSignalled = true;
    for (std::size_t i = 0; i < 3654; ++i) h.KM2Tail += "0123456789ABCDEF"[(i * 7) % 16];

    Channels[0].ChannelName = "ALPHA";
    Channels[1].ChannelName = "BRAVO";
    Channels.resize(320, InUse(0, 0));
    for (auto& c : Channels) {
      c.prsclKM2 = 1;
      c.SubsignalingType = 3;
      c.BurstFrequency = 694.4f;
      c.BurstDuration = 3200;
    }
    // What the group pages show and store as it is: whole seconds of scan hold, "Disable".
    for (auto& g : Groups) {
      g.RXScanHold = g.TXScanHold = 5;
      g.MultiDigitDecodeFormat = 2;
    }
    Groups[0].GroupName = "ONE";
    Groups[1].GroupName = "TWO";
    for (std::int16_t k : {0, 1, 2}) {
      Table[k].ChannelNumber = static_cast<std::int16_t>(k + 1);
      Table[k].GroupNumber = k < 2 ? 1 : 2;
      Table[k].Programmed = true;
    }
  }

  // The 8192-byte image as 16384 hex digits, as the library assembles it.
  std::string Image() {
    clsStringCreator creator;
    for (auto& c : Channels) {
      c.ModelName = "52-371 UHF 470-512 MHz";
      c.PLLReferenceFreq = Header.PLLReferenceFreq;
      c.RxIF = Header.IFRx;
      c.CreateChannelDataKM2();
      creator.colChannelData.Add(c.ChannelData);
      creator.colChannelCheckSum.Add(c.CheckSumKM2);
    }
    for (auto& g : Groups) {
      g.CreateGroupData();
      creator.colGroupData.Add(g.GroupData);
    }
    for (auto& e : Table) {
      e.CreateChannelGroup();
      creator.colChannelGroup.Add(e.ChannelGroupStr);
    }
    Header.CreateRadioHeaderKM2();
    creator.RadioHeader = Header.RadioHeader;
    creator.CreateStringKM2();
    return creator.ProgrammingStringPart1;
  }
};

// What a radio sends for an EEPROM range: data records of `perRecord` bytes, CR LF after
// each.
inline std::string DataLines(const std::string& letterAndType, const std::string& eepromHex,
                             std::uint32_t base, std::size_t from, std::size_t bytes,
                             std::size_t perRecord) {
  std::string lines;
  for (std::size_t a = from; a < from + bytes; a += perRecord) {
    std::vector<std::uint8_t> data;
    for (std::size_t i = a; i < a + perRecord; ++i)
      data.push_back(static_cast<std::uint8_t>(ParseHex(eepromHex.substr(2 * i, 2))));
    lines += sim::MakeRecord(letterAndType, static_cast<std::uint32_t>(base + a), data);
  }
  return lines;
}

// A data log's entry for one transfer's `data`, stamped as the tests stamp it.
inline std::string LogEntry(const std::string& data) {
  return "2026-12-06 21:04:05 \r\n" + data + "\r\n\r\n\r\r\n";
}

// Where two images first differ ("byte 001A is 3F, expected 40"; "12 digits, expected
// 16384"), or an empty text when they are the same: a failure message of a line, not of two
// whole images.
inline std::string ImageDifference(const std::string& actual, const std::string& expected) {
  for (std::size_t i = 0; i < actual.size() && i < expected.size(); i += 2) {
    if (actual.compare(i, 2, expected, i, 2) != 0)
      return "byte " + ToHex(i / 2, 4) + " is " + actual.substr(i, 2) + ", expected " +
             expected.substr(i, 2);
  }
  if (actual.size() != expected.size())
    return std::to_string(actual.size()) + " digits, expected " + std::to_string(expected.size());
  return "";
}

inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tallisk::testing
