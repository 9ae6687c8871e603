#pragma once

// The enumerations the settings pages offer as choices and the codecs write as numbers.
// Properties that carry these values are plain std::int32_t, because a record read from a
// radio can hold a value no member names.

#include <cstdint>

namespace tallisk {

enum class enumModel : std::int32_t {
  VHF_L_A_Band = 0,
  VHF_L_B_Band = 1,
  VHF_L_C_Band = 2,
  VHF_M_A_Band = 3,
  VHF_M_B_Band = 4,
  VHF_H_A_Band = 5,
  VHF_H_B_Band = 6,
  UHF_L_A_Band = 7,
  UHF_L_B_Band = 8,
  UHF_L_C_Band = 9,
  UHF_L_D_Band = 10,
  UHF_H = 11,
  VHF_M_A_Band_8Channel = 12,
  VHF_M_B_Band_8Channel = 13,
  VHF_H_A_Band_8Channel = 14,
  VHF_H_B_Band_8Channel = 15,
  UHF_L_A_Band_8Channel = 16,
  UHF_L_B_Band_8Channel = 17,
  UHF_H_8Channel = 18,
  UndefinedRadio = 255
};

enum class enumSignalling : std::int32_t { CTCSS = 0, CDCSS = 1, None = 3 };

enum class enumTxPowerControl : std::int32_t { DePower = 0, Normal = 1 };

enum class enumSubsignalingType : std::int32_t {
  SubsignalingType1 = 0,
  SubsignalingType2 = 1,
  SubsignalingType3 = 2,
  SubsignalingNone = 3
};

enum class enumBusyChannelLockOutGroup : std::int32_t {
  BusyChannelNSQ = 0,
  BusyChannelSignalling = 1,
  BusyChannelSpecial = 2,
  BusyChannelDisable = 3
};

enum class enumBusyChannelLockOut : std::int32_t {
  NSQ = 0,
  Signalling = 1,
  Special = 2,
  Disable = 3
};

enum class enumScanHoldingEvents : std::int32_t {
  BusyNSQ = 0,
  BusySig = 1,
  OpenNSQ = 2,
  OpenSig = 3
};

enum class enumScanHoldConditions : std::int32_t {
  OpenNSQ = 0,
  BusyNSQ = 1,
  OpenSignalling = 2,
  BusySignalling = 3
};

enum class enumDeleteChTableClear : std::int32_t {
  PowerScan = 0,
  PowerOff = 1,
  ScanOff = 2,
  NoClear = 3
};

enum class enumScanListClear : std::int32_t {
  PowerScan = 0,
  PowerOff = 1,
  ScanOff = 2,
  NoClear = 3
};

enum class enumSynthesizerType : std::int32_t { MB1501 = 0, MB1504 = 1 };

enum class enumPrescalerSwitch : std::int32_t { low = 0, High = 1 };

enum class enumScanMethod : std::int32_t { Normal = 0, Modified = 1, Secondary = 2, PS = 3 };

enum class enumAuxKeyType : std::int32_t { Type1 = 3, Type2 = 2, Type3 = 1, Type4 = 0 };

enum class enumPriorityCnlMonitorTime : std::int32_t {
  Time075 = 0,
  Time1 = 1,
  Time125 = 2,
  Time15 = 3
};

enum class enumPriorityCnlMonitorCycle : std::int32_t { Cycle1to4 = 0, Cycle1to8 = 1 };

enum class enumHoldTimeAfterRxTx : std::int32_t {
  Time03 = 0,
  Time25 = 1,
  Time5 = 2,
  TimeInfinite = 3
};

enum class enumTxTimeoutTimer : std::int32_t {
  Time30 = 0,
  Time60 = 1,
  Time90 = 2,
  Time120 = 3,
  Time150 = 4,
  Time180 = 5,
  Time210 = 6,
  TimeInfinite = 7
};

enum class enumInjectionAspect : std::int32_t { LowSide = 0, HighSide = 1 };

enum class enumChannelSwitchType : std::int32_t { bits8 = 0, bits7 = 1, Moment = 2, DetEnt = 3 };

enum class enumCrystalCharType : std::int32_t { Type1 = 0, Type2 = 1, Type3 = 2, Type4 = 3 };

enum class enumOperationType : std::int32_t { GeneralPurpose = 0, PublicSafety = 1 };

enum class enumSCANPRIMonitor : std::int32_t { PRI = 0, HOLDBACKUP = 1 };

enum class enumRelocateAddDelKeys : std::int32_t { StandardKey = 0, SpecialKey = 1 };

enum class enumDisplayArrangement : std::int32_t {
  ChChannel = 0,
  ChGroup = 1,
  ChSig = 2,
  ChGrSig = 3,
  PChRxCh = 4
};

enum class enumLowHighNone : std::int32_t { VolumeLow = 0, VolumeHigh = 1, VolumeOff = 2 };

enum class enumOptionType : std::int32_t {
  OptionType1 = 0,
  OptionType2 = 1,
  OptionType3 = 2,
  OptionType4 = 3,
  OptionNone = 4
};

enum class enumSquelchTonesCodes : std::int32_t {
  ToneCodeENCDEC = 0,
  ToneCodeDEC = 1,
  ToneCodeENC = 2,
  ToneCodeNone = 3
};

enum class enumOneTouchSelection : std::int32_t {
  OneTouchSelDisable = 0,
  OneTouchSelSignalling = 1,
  OneTouchSelGroup = 2
};

enum class enumScanChannelSlaving : std::int32_t { ChannelSlavingPRI1TX = 0, ChannelSlavingTX = 1 };

// The numeric value a property of enumerated type stores.
template <typename E>
constexpr std::int32_t value_of(E e) {
  return static_cast<std::int32_t>(e);
}

}  // namespace tallisk
