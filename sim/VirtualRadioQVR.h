#pragma once

#include <array>

#include "sim/VirtualRadio.h"

namespace tallisk::sim {

// A QVR radio: a small EEPROM from address 0, dumped as S1 lines of 8 bytes on the read
// command and on entering test mode, programmed in phases that each end with an S9 record,
// and four calibration bytes at 00A8-00AB that the test mode adjusts live.
class VirtualRadioQVR : public VirtualRadio {
 public:
  static constexpr std::size_t kDefaultEepromSize = 256;
  static constexpr std::uint32_t kCalibrationAddress = 0x00A8;

  explicit VirtualRadioQVR(std::size_t eepromSize = kDefaultEepromSize);

  bool InTestMode() const { return testMode_; }
  // The calibration bytes as the radio runs with them now (live values in test mode).
  std::array<std::uint8_t, 4> LiveCalibration() const { return live_; }
  int PhasesStored() const { return phasesStored_; }
  int PhasesRejected() const { return phasesRejected_; }
  int Dumps() const { return dumps_; }

  // Power off and on again: out of test mode and out of a programming run, with the live
  // adjustments lost and nothing more to say.
  void SwitchOffAndOn();

 protected:
  void OnRecord(const Record& record, Nanos at) override;
  void OnBadLine(Nanos) override { phaseBad_ = phaseBad_ || programming_; }

 private:
  void Dump(Nanos at);

  bool programming_ = false;
  bool phaseBad_ = false;
  std::vector<Record> phase_;
  int phasesStored_ = 0;
  int phasesRejected_ = 0;
  bool testMode_ = false;
  std::array<std::uint8_t, 4> live_{};
  int dumps_ = 0;
};

}  // namespace tallisk::sim
