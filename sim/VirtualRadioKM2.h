#pragma once

#include "sim/VirtualRadio.h"

namespace tallisk::sim {

// A KM2 radio: an 8192-byte EEPROM at 8000h. It answers block requests (after the test-mode
// record) with "R" records of 16 bytes covering the 208 bytes asked for, and stores a write
// made of a start record, 32-byte data records and an end record.
class VirtualRadioKM2 : public VirtualRadio {
 public:
  static constexpr std::uint32_t kBase = 0x8000;
  static constexpr std::size_t kEepromSize = 8192;
  static constexpr std::size_t kBlockBytes = 208;
  static constexpr std::size_t kBytesPerAnswerRecord = 16;

  VirtualRadioKM2();

  bool InTestMode() const { return testMode_; }
  const std::vector<std::uint32_t>& BlockRequests() const { return requests_; }
  const std::string& StartRecordData() const { return startRecord_; }
  int DataRecordsStored() const { return dataRecords_; }
  int DataRecordsRefused() const { return refused_; }
  int WritesEnded() const { return writesEnded_; }
  bool WriteOpen() const { return writeOpen_; }

 protected:
  void OnRecord(const Record& record, Nanos at) override;

 private:
  bool testMode_ = false;
  bool writeOpen_ = false;
  std::vector<std::uint32_t> requests_;
  std::string startRecord_;
  int dataRecords_ = 0;
  int refused_ = 0;
  int writesEnded_ = 0;
};

}  // namespace tallisk::sim
