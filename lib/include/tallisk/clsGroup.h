#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tallisk {

// One KM2 scan/signalling group: its settings, and their 32-byte record in the programming
// image (64 hex digits in GroupData).
//
// The properties are plain data; setting one never validates it and never re-encodes the
// record. CreateGroupData writes GroupData from the properties, BreakGroupData the reverse.
// A new group holds the settings of the radio's erased-but-formatted default record.
class clsGroup {
 public:
  // The record a freshly formatted KM2 carries in every group slot.
  static constexpr const char* DefaultGroupData =
      "FFFFFFFFFFFFFFE1A34F00323200576FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";

  // The longest ID the record has room for.
  static constexpr std::size_t MaxIDDigits = 10;

  std::int16_t ANIInterval = 0;     // ms, multiples of 5
  std::int16_t ANIDelay = 0;        // ms, multiples of 20
  std::int16_t ANIRepetitions = 0;  // 0..15
  std::int16_t ANIRate = 0;         // multiples of 20
  std::string GroupData;            // the record, 64 hex digits
  std::string DTMF2805IDNumber;     // up to 10 of "0"-"9", "A"-"D", "*", "#"
  bool EnableANIOnMONButton = false;
  bool EnableANITranspond = false;
  bool EnablePTTANI = false;
  std::int16_t MultiDigitDecodeFormat = 0;  // 0..15
  float UnKeyDelayTime = 0;                 // ms, multiples of 5
  std::int32_t DeleteChTableClear = 0;      // enumDeleteChTableClear
  bool TXOnPriorityChannel = false;
  std::int32_t ScanHoldingEvents = 0;   // enumScanHoldingEvents
  float PriChSamplingRate = 0;          // steps of 0.1
  std::int16_t PriChSamplingRatio = 0;  // 1..8
  float TXScanHold = 0;                 // s, steps of 0.5
  float RXScanHold = 0;                 // s, steps of 0.5
  std::int16_t IntervalBCTCSS = 0;      // 0..15
  std::int16_t IntervalBDCS = 0;        // 0..15
  std::int16_t IntervalA = 0;           // ms
  float TimeOutTimer = 0;               // s, steps of 0.5
  std::int32_t BusyChannelLockOut = 0;  // enumBusyChannelLockOutGroup
  std::int16_t PriorityChannel2 = 0;    // channel number, 0 = none
  std::int16_t PriorityChannel1 = 0;    // channel number, 0 = none
  std::string GroupName;                // 3 characters

  clsGroup();

  // Reads GroupData into every other property. Never fails: a short or empty record reads
  // as zeros, a digit pair that is not hex as 00.
  void BreakGroupData();

  // The bits of x (rounded to an integer) as exactly intLen characters.
  std::string Num2BinStr(double x, int intLen) const;

  // Writes GroupData from the properties. A value too large for its field keeps its low
  // bits; arithmetic that overflows fails with the overflow error and leaves GroupData as
  // it was.
  void CreateGroupData();

  // The group's settings as "label: value" lines for the printed report, CR LF after each
  // (clsGroupReport.cpp).
  std::string CreateHumanViewableString(std::int16_t GroupNumber) const;

  // Every property alike, the record texts included.
  bool operator==(const clsGroup&) const = default;
};

}  // namespace tallisk
