#include "sim/VirtualRadioKM2.h"

#include <algorithm>

#include "tallisk/conversions.h"

namespace tallisk::sim {

VirtualRadioKM2::VirtualRadioKM2() : VirtualRadio(kBase, kEepromSize) {}

void VirtualRadioKM2::OnRecord(const Record& r, Nanos at) {
  if (r.Letter != 'T') return;
  switch (r.Type) {
    case '0':
      if (r.Count == 5 && r.Data == std::vector<std::uint8_t>{0x37, 0x30}) {
        testMode_ = true;
      } else if (r.Count == 0x23 && r.Address == 0) {
        writeOpen_ = true;
        startRecord_.clear();
        for (auto b : r.Data) startRecord_ += ToHex(b, 2);
      }
      return;
    case 'A': {
      if (!testMode_) return;
      requests_.push_back(r.Address);
      const int block = static_cast<int>((r.Address - kBase) / kBlockBytes);
      // The middle record of a garbled block carries the wrong checksum.
      const int garble = GarbleNow(block) ? 6 : -1;
      // A cut answer stops after six of its thirteen records; a paused one stops in the middle
      // of its seventh for a while.
      const std::size_t bytes =
          block == Misbehave.CutBlock ? 6 * kBytesPerAnswerRecord : kBlockBytes;
      const std::string answer = DataRecords("R1", r.Address, bytes, kBytesPerAnswerRecord, garble);
      const bool answered = Answer(
          answer, at, block == Misbehave.PauseBlock ? answer.size() / 2 : std::string_view::npos);
      if (answered && block == Misbehave.StrayAfterBlock) Stray();
      return;
    }
    case '1':
      if (writeOpen_ && InEeprom(r.Address, r.Data.size())) {
        std::copy(r.Data.begin(), r.Data.end(), Eeprom.begin() + (r.Address - kBase));
        ++dataRecords_;
      } else {
        ++refused_;
      }
      return;
    case '9':
      if (writeOpen_) {
        ++writesEnded_;
        WriteEnded();
      }
      writeOpen_ = false;
      return;
    default:
      return;
  }
}

}  // namespace tallisk::sim
