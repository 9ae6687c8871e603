#include "tallisk/clsRadioCommands.h"

namespace tallisk {

void clsRadioCommands::initialize(std::int32_t radioType) {
  static constexpr char kCrLf[] = "\r\n";
  const bool qvr = radioType == 0;

  // The programming frame is the same for both families: select EEPROM page 0, start,
  // (data), S9 end, select page 40, start, (data), S9 end.
  ProgramRadioCommandStart = std::string("N004006D008E") + kCrLf + "N2030000FC" + kCrLf;
  ProgramRadioCommandEnd = std::string("S9030000FC") + kCrLf;
  ProgramRadioCommandMiddle = std::string("N004006D404E") + kCrLf + "N2030000FC" + kCrLf;
  ReadRadioCommandStart = std::string(qvr ? "N3030000FC" : "TA048000FF7C") + kCrLf;
  QVR_TestMode = qvr ? std::string("N10400A8074C") + kCrLf : std::string();
  QVR_Command.clear();
  KM2_TestMode = qvr ? std::string() : std::string("T0050000373093") + kCrLf;
}

}  // namespace tallisk
