#include "sim/VirtualRadioQVR.h"

#include <algorithm>

namespace tallisk::sim {

VirtualRadioQVR::VirtualRadioQVR(std::size_t eepromSize) : VirtualRadio(0, eepromSize) {}

void VirtualRadioQVR::Dump(Nanos at) {
  // Line k of the dump counts as answer block k for the garbling misbehaviour.
  int garble = -1;
  for (std::size_t k = 0; k * 8 < Eeprom.size(); ++k) {
    if (GarbleNow(static_cast<int>(k))) garble = static_cast<int>(k);
  }
  // A cut dump stops before line CutBlock; a paused one stops in the middle of line PauseBlock
  // for a while.
  std::size_t bytes = Eeprom.size();
  if (Misbehave.CutBlock >= 0)
    bytes = std::min(bytes, 8 * static_cast<std::size_t>(Misbehave.CutBlock));
  const std::size_t pauseAt = Misbehave.PauseBlock >= 0
                                  ? 28 * static_cast<std::size_t>(Misbehave.PauseBlock) + 14
                                  : std::string_view::npos;
  if (Answer(DataRecords("S1", 0, bytes, 8, garble), at, pauseAt)) ++dumps_;
}

void VirtualRadioQVR::SwitchOffAndOn() {
  testMode_ = false;
  programming_ = false;
  phase_.clear();
  live_ = {};
  DiscardOutput();
}

void VirtualRadioQVR::OnRecord(const Record& r, Nanos at) {
  if (r.Letter == 'S' && r.Type == '1') {
    if (!programming_) return;
    if (!InEeprom(r.Address, r.Data.size())) phaseBad_ = true;
    phase_.push_back(r);
    return;
  }
  if (r.Letter == 'S' && r.Type == '9') {
    // A phase goes into the EEPROM whole or not at all.
    if (programming_ && !phaseBad_) {
      for (const auto& line : phase_) {
        std::copy(line.Data.begin(), line.Data.end(), Eeprom.begin() + line.Address);
      }
      ++phasesStored_;
      WriteEnded();
    } else if (programming_) {
      ++phasesRejected_;
    }
    programming_ = false;
    phase_.clear();
    return;
  }
  if (r.Letter != 'N') return;

  // Calibration bytes in test mode: 00A8 normal power, 00A9 low power, 00AA maximum
  // deviation, 00AB reference frequency in bits 5-0 and crystal type in bits 7-6.
  static constexpr int kLiveByte[4] = {2, 0, 1, 3};
  switch (r.Type) {
    case '0':  // EEPROM page select ahead of a programming phase
      return;
    case '2':
      if (r.Address == 0x0000) {
        programming_ = true;
        phaseBad_ = false;
        phase_.clear();
      } else if (r.Address == 0x8000 && testMode_) {
        for (int i = 0; i < 4; ++i) Eeprom[kCalibrationAddress + i] = live_[i];
      }
      return;
    case '3':
      Dump(at);
      return;
    case '1':
      if (r.Address == kCalibrationAddress && InEeprom(kCalibrationAddress, 4)) {
        testMode_ = true;
        for (int i = 0; i < 4; ++i) live_[i] = Eeprom[kCalibrationAddress + i];
        Dump(at);
      }
      return;
    case '6':
      if (testMode_ && r.Data.size() == 1 && r.Address >= 0x4000 && r.Address <= 0x4003) {
        auto& b = live_[kLiveByte[r.Address - 0x4000]];
        b = static_cast<std::uint8_t>((b & 0xC0) | (r.Data[0] & 0x3F));
      }
      return;
    case '8':
      if (testMode_ && r.Data.size() == 1 && r.Address == 0x4004) {
        live_[3] = static_cast<std::uint8_t>((live_[3] & 0x3F) | (r.Data[0] & 0xC0));
      }
      return;
    case '4':
      if (r.Address == 0x2000) testMode_ = false;
      return;
    default:
      return;
  }
}

}  // namespace tallisk::sim
