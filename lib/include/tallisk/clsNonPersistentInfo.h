#pragma once

#include <cstdint>
#include <string>

namespace tallisk {

// One band (or variant) of a radio model, as the profile database describes it: what the
// image does not carry but the codecs need (IFs, reference frequency, synthesiser and
// prescaler), and for QVR the header bytes that identify the band in a radio read back.
class clsNonPersistentInfo {
 public:
  // QVR: the header bytes at 0D, 0F, 10, 15, 17 as "0x" and two upper-case hex digits;
  // 14 as "XXabXXcd" and 16 as "XXXXXXab" (X: bits that are user settings).
  std::string Address0x0D;
  std::string Address0x0F;
  std::string Address0x10;
  std::string Address0x14;
  std::string Address0x15;
  std::string Address0x16;
  std::string Address0x17;
  // KM2: the band's value of byte 18D0.
  std::string Address0x18D0;
  // Intermediate frequencies: kHz for QVR, units of 100 Hz for KM2. A QVR band whose LO is
  // on the other side of the carrier than its model's family carries a negative IF.
  float IFRx = 0;
  float IFTx = 0;
  // kHz.
  float PllReferenceFrequency = 0;
  // True when the receive LO is above the carrier (high side).
  bool InjectAspect = false;
  // The band the model starts with.
  bool Default = false;
  // QVR: "MB1501" or "MB1504".
  std::string SynthesizerType;
  // QVR: "32/33", "64/65" or "128/129".
  std::string PrescalerSwitch;
  std::uint8_t ChannelSwitchType = 0;  // enumChannelSwitchType
  // Not set by the loaders.
  std::uint8_t RadioModelCode = 0;

  // The carrier frequencies the band can tune, in Hz; 0 when the database does not say.
  double FreqMinHz = 0;
  double FreqMaxHz = 0;
  // KM2: the band letter of the model number; empty for QVR.
  std::string FreqBand;
};

}  // namespace tallisk
