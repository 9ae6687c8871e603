#pragma once

// A main window on a virtual radio: the radio on an in-process cable, a virtual clock, and
// an event pump the test can act through (pressing Stop in the middle of a transfer). The
// radios start with programmings made by the library's own codecs, not by the window.

#include <functional>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "link/Clock.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"

namespace tallisk::testing {

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

// A QVR programming of a VHF High A radio (model 5, the 12.5 kHz band): settings, four
// channels in use (CTCSS, no signalling, DCS, scan groups) and twelve unused.
struct QvrProgramming {
  clsRadioHeader Header;
  std::vector<clsChannel> Channels;

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
    h.IFTx = 0;
    h.InjectionAspect = 1;
    h.Synthesizer = 1;
    h.ChannelSwitchType = 3;
    h.SerialNumber = "4711";
    h.CustomerNumber = "BEE";
    h.DateRadio = Date(2025, 3, 14);
    h.ScanMethod = 1;
    h.AuxKeyType = 2;
    h.ChannelRollOver = true;
    h.PriorityCnlMonitorTime = 1;
    h.PriorityCnlMonitorCycle = 1;
    h.Priority2Channel = true;
    h.ScanHoldConditions = 3;
    h.HoldTimeAfterRx = 1;
    h.HoldTimeAfterTx = 2;
    h.BeepA = h.BeepB = h.BeepC = h.BeepD = true;
    h.TxTimeOutTimer = 3;
    h.BusyChannelLockOut = 3;
    h.ScanListClear = 1;

    Channels.resize(16);
    for (auto& c : Channels) {
      c.RxFrequency = 0;
      c.TxFrequency = 0;
    }
    auto& c1 = Channels[0];
    c1.RxFrequency = 146025000;
    c1.TxFrequency = 146625000;
    c1.RxSignalling = c1.TxSignalling = 0;
    c1.RxCTCSSCode = c1.TxCTCSSCode = 11;
    c1.GroupA = true;
    c1.TxPowerControl = 1;
    auto& c2 = Channels[1];
    c2.RxFrequency = c2.TxFrequency = 150500000;
    c2.RxSignalling = c2.TxSignalling = 3;
    c2.GroupB = true;
    c2.TxPowerControl = 1;
    auto& c3 = Channels[2];
    c3.RxFrequency = 155000000;
    c3.TxFrequency = 155250000;
    c3.RxSignalling = c3.TxSignalling = 1;
    c3.RxSignalData = c3.TxSignalData = 19;  // DCS 023
    c3.TxPowerControl = 0;
    auto& c4 = Channels[3];
    c4.RxFrequency = c4.TxFrequency = 136500000;
    c4.RxSignalling = c4.TxSignalling = 3;
    c4.AuxData = "10100000";
    c4.TxPowerControl = 1;
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
      c.TxIF = Header.IFTx;
      if (c.AuxData.empty()) c.AuxData = "00000000";
      c.CreateChannelData();
      image += c.ChannelData;
    }
    return image;
  }
};

// A KM2 programming of a 52-8991A (VHF, band A, 12.5 kHz): settings, three channels, two
// named groups with three memberships, and the radio's own firmware tail.
struct Km2Programming {
  clsRadioHeader Header;
  std::vector<clsChannel> Channels;
  std::vector<clsGroup> Groups;
  std::vector<clsChannelGroup> Table;

  explicit Km2Programming(const clsOperator& profiles) {
    clsRadioHeader& h = Header;
    h.ModelName = "52-8991A";
    std::string defaults;
    profiles.IsRadioModelExist(h.ModelName, defaults);
    h.DefaultKM2 = defaults;
    h.PLLReferenceFreq = 12.5f;
    h.IFRx = 214000;
    h.IFTx = 0;
    h.InjectionAspect = 1;
    h.SerialNumber = "KM0042";
    h.CustomerNumber = "ACME";
    h.DateRadio = Date(2025, 6, 30);
    h.MuteUntilSignalled = true;
    h.EnableChannelRollover = true;
    h.CTCSSSquelchTail = 250;
    h.DCSTail = 46;
    h.EnableCTCSSHPF = true;
    h.Aux1 = h.Aux2 = h.Aux3 = h.Aux4 = h.Aux5 = h.Aux6 = h.Aux7 = h.Aux8 = true;
    h.FrontPanelConfiguration = 4;
    h.OptionPortType = 4;
    // A firmware region that is not erased, so a write that lost it would show.
    for (std::size_t i = 0; i < 3654; ++i) h.KM2Tail += "0123456789ABCDEF"[(i * 7) % 16];

    Channels.resize(320);
    for (auto& c : Channels) c.RxFrequency = 0;
    auto& c1 = Channels[0];
    c1.RxFrequency = 146025000;
    c1.TxFrequency = 146625000;
    c1.RxSignalling = c1.TxSignalling = 0;
    c1.RxCTCSSCode = c1.TxCTCSSCode = 11;
    c1.ChannelName = "ALPHA";
    auto& c2 = Channels[1];
    c2.RxFrequency = c2.TxFrequency = 150500000;
    c2.RxSignalling = c2.TxSignalling = 3;
    c2.ChannelName = "BRAVO";
    auto& c3 = Channels[2];
    c3.RxFrequency = 155000000;
    c3.TxFrequency = 155250000;
    c3.RxSignalling = c3.TxSignalling = 1;
    c3.RxSignalData = c3.TxSignalData = 19;
    c3.RFPower = true;
    for (auto& c : Channels) {
      c.SubsignalingType = 3;
      c.BurstFrequency = 694.4f;
      c.BurstDuration = 3200;
    }

    Groups.resize(16);
    // Values the group pages show and store as they are: whole seconds of scan hold, and
    // "Disable" as the pages write it.
    for (auto& g : Groups) {
      g.RXScanHold = g.TXScanHold = 5;
      g.MultiDigitDecodeFormat = 2;
    }
    Groups[0].GroupName = "ONE";
    Groups[1].GroupName = "TWO";
    Table.resize(320);
    const std::pair<int, int> members[] = {{1, 1}, {2, 1}, {3, 2}};
    for (std::size_t k = 0; k < std::size(members); ++k) {
      Table[k].ChannelNumber = static_cast<std::int16_t>(members[k].first);
      Table[k].GroupNumber = static_cast<std::int16_t>(members[k].second);
      Table[k].Programmed = true;
    }
  }

  // The 8192-byte image as 16384 hex digits, as the library assembles it.
  std::string Image() {
    clsStringCreator creator;
    for (auto& c : Channels) {
      c.ModelName = "52-899 VHF 136-174 MHz";
      c.PLLReferenceFreq = Header.PLLReferenceFreq;
      c.RxIF = Header.IFRx;
      c.TxIF = Header.IFTx;
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

// The entries of a data log whose time stamps are all `stamp`.
inline std::string LogEntries(const std::vector<std::string>& texts,
                              const std::string& stamp = "2026-12-06 21:04:05") {
  std::string log;
  for (const auto& text : texts) log += stamp + " " + text + "\r\r\n";
  return log;
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
