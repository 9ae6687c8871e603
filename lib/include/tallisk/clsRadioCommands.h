#pragma once

#include <cstdint>
#include <string>

namespace tallisk {

// The fixed control records that start a read, frame a programming run and switch a radio
// into its test mode. Each text is a complete record followed by CR LF, sent as it stands.
class clsRadioCommands {
 public:
  std::string ProgramRadioCommandStart;
  std::string ProgramRadioCommandEnd;
  std::string ProgramRadioCommandMiddle;
  std::string ReadRadioCommandStart;
  std::string QVR_TestMode;
  std::string QVR_Command;
  std::string KM2_TestMode;

  // 0 selects the QVR records, any other value the KM2 records. Records the family does not
  // use are left empty.
  void initialize(std::int32_t radioType);
};

}  // namespace tallisk
