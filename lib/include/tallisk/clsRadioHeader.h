#pragma once

#include <cstdint>
#include <string>

#include "tallisk/Date.h"

namespace tallisk {

// The radio-wide settings of a radio of either family: everything that is not per channel
// or per group. It builds and reads the settings block of the programming image (QVR: 34
// bytes at 0000; KM2: 1596 bytes at 1880, most of it firmware data carried over from the
// radio that was read).
//
// Enumerated settings are plain integers because a block read from a radio can hold a code
// no enumeration member names. Setting a property never checks it.
class clsRadioHeader {
 public:
  // --- Identity and bookkeeping ---
  std::string SerialNumber;
  std::string CustomerNumber;
  Date DateRadio;
  std::int32_t Model = 0;  // enumModel
  std::string ModelName;
  bool SpecialRadio = false;
  // The settings block as hex text.
  std::string RadioHeader;
  // KM2: the image from 18DD to the end, as read; its first 3006 characters (18DD-1EBB)
  // are written back around the settings that live there.
  std::string KM2Tail;
  // KM2: image bytes 1890-189F, the stored reference and synthesiser set-up words.
  std::string DefaultKM2;

  // --- Values the radio profile supplies ---
  // "0x" and two hex digits.
  std::string Address0x0D;
  std::string Address0x0F;
  std::string Address0x10;
  std::string Address0x15;
  std::string Address0x17;
  // Eight bit characters; characters 1-2 and 5-6 are "XX" (those bits are settings).
  std::string Address0x14;
  // "XXXXXX" and two bit characters.
  std::string Address0x16;
  float IFTx = 0;
  float IFRx = 0;
  float PLLReferenceFreq = 0;
  // "32/33", "64/65" or "128/129".
  std::string PrescalerSwitch;
  std::int32_t Synthesizer = 0;  // enumSynthesizerType
  std::int32_t ReferenceCounter = 0;
  std::int32_t InjectionAspect = 0;  // enumInjectionAspect
  bool AlternatePreScaler = false;
  bool AlternatePreScaler2 = false;
  std::int16_t PRSCLType = 0;
  bool Polarity = false;
  std::int32_t TalkAround = 0;
  std::int32_t CenterRXFreqData = 0;
  std::int32_t CenterTXFreqData = 0;
  std::uint8_t DigitalControlSquelch = 0;

  // --- User settings, timers and tuning values ---
  std::int32_t ChannelSwitchType = 3;  // enumChannelSwitchType, DetEnt
  std::uint8_t IntervalATime = 4;
  std::uint8_t IntervalBTime = 0;
  std::int32_t HoldTimeAfterRx = 0;  // enumHoldTimeAfterRxTx
  std::int32_t HoldTimeAfterTx = 0;  // enumHoldTimeAfterRxTx
  std::uint8_t TxDelayTime = 0;
  std::int32_t ScanListClear = 0;       // enumScanListClear
  std::int32_t ScanHoldConditions = 0;  // enumScanHoldConditions
  std::int32_t ScanMethod = 0;          // enumScanMethod
  bool ChannelRollOver = false;
  std::int32_t PriorityCnlMonitorCycle = 0;  // enumPriorityCnlMonitorCycle
  std::int32_t PriorityCnlMonitorTime = 0;   // enumPriorityCnlMonitorTime
  bool PriorityChannelMonitorEnable = false;
  bool Priority2Channel = false;
  std::uint8_t LoopSwitchTimer = 2;
  std::int32_t AuxKeyType = 0;  // enumAuxKeyType
  bool BeepA = false;
  bool BeepB = false;
  bool BeepC = false;
  bool BeepD = false;
  std::uint8_t NormalPower = 255;
  std::uint8_t DePower = 255;
  std::uint8_t MaxModulation = 255;
  std::int32_t CrystalCharType = 2;  // enumCrystalCharType
  std::uint8_t FrequencyControlData = 255;
  std::int32_t BusyChannelLockOut = 0;  // enumBusyChannelLockOut
  std::int32_t TxTimeOutTimer = 0;      // enumTxTimeoutTimer
  bool OffHookScanStop = false;
  std::uint8_t CTCSSRiseTime = 7;
  std::uint8_t CTCSSFallTime = 15;
  std::uint8_t CDCSSFallTime = 15;
  std::uint8_t ChatteringCount = 15;
  std::uint8_t CDCSSRiseErrCount = 0;
  std::uint8_t CDCSSFallErrCount = 15;
  // KM2 one-touch CTCSS tones; below 1 means the key has no tone.
  std::int16_t CTCSSKeyForm1 = -1;
  std::int16_t CTCSSKeyForm2 = -1;
  std::int16_t CTCSSKeyForm3 = -1;
  std::int16_t CTCSSKeyForm4 = -1;
  std::int16_t CTCSSKeyForm5 = -1;
  std::int16_t CTCSSKeyForm6 = -1;
  std::int16_t CTCSSKeyForm7 = -1;
  std::int16_t CTCSSKeyForm8 = -1;
  std::int16_t CTCSSKeyForm9 = -1;
  std::int16_t CTCSSKeyForm10 = -1;

  // --- KM2 settings ---
  std::int32_t OneTouchSelection = 0;   // enumOneTouchSelection
  std::int32_t SquelchTonesCodes = 0;   // enumSquelchTonesCodes
  std::int32_t DisplayArrangement = 0;  // enumDisplayArrangement
  bool Aux1 = false;
  bool Aux2 = false;
  bool Aux3 = false;
  bool Aux4 = false;
  bool Aux5 = false;
  bool Aux6 = false;
  bool Aux7 = false;
  bool Aux8 = false;
  // Milliseconds; the two squelch tails are stored in steps of 5.
  float DCSTail = 0;
  float CTCSSSquelchTail = 0;
  float NoiseSquelchTail = 0;
  bool EnableCTCSSHPF = false;
  bool MomentaryChannelKnob = false;
  bool MuteUntilSignalled = false;
  bool PRIButtonFunctionEnable = false;
  bool ScanStopMicOffHook = false;
  bool TalkAroundMic = false;
  bool EnableGroupRollover = false;
  bool EnableChannelRollover = false;
  std::int32_t SecondLocalRX = 0;            // 0 Low, 1 High
  std::int32_t ScanChannelSlaving = 0;       // enumScanChannelSlaving
  std::int32_t FrontPanelConfiguration = 0;  // 0-3 types 1-4, 4 none
  std::int32_t OptionPortType = 0;           // enumOptionType
  std::int32_t SelectiveCallReceipt = 0;     // enumLowHighNone
  std::int32_t SelfTestAndError = 0;         // enumLowHighNone
  std::int32_t PushButtonFeedback = 0;       // enumLowHighNone
  std::int32_t TimeOutBusyLockOut = 0;       // enumLowHighNone
  std::int32_t PRI1PRI2 = 0;                 // enumLowHighNone
  std::int32_t RelocateAddDelKeys = 0;       // enumRelocateAddDelKeys
  std::int32_t SCANPRIMonitor = 0;           // enumSCANPRIMonitor
  std::int32_t OperationType = 0;            // enumOperationType
  std::int16_t HornOn = 0;
  std::int16_t HornDelay = 0;

  // --- QVR block (clsRadioHeader.cpp) ---

  // Builds the 34-byte block into RadioHeader (68 hex characters). The power, modulation
  // and crystal values are reset to the erased values the radio expects in the block.
  bool CreateRadioHeader();
  // Reads a QVR block. Fails with the invalid-argument error, changing nothing, when
  // RadioHeader is shorter than the block. Returns false when the date digits are no
  // date: DateRadio then keeps its value and every other field is still read.
  bool BreakUpRadioHeader();

  // --- KM2 block (clsRadioHeaderKM2.cpp) ---

  // Builds the block 1880-1EBB (3192 hex characters, fewer when KM2Tail is short) into
  // RadioHeader, with the firmware patches. A PLLReferenceFreq of 0 fails with the
  // division-by-zero error and leaves RadioHeader as it was.
  bool CreateRadioHeaderKM2();
  // Reads the block (RadioHeader holds the image from 1880 on), sets DefaultKM2 and
  // KM2Tail, and may ask the user to identify an alternate-prescaler radio. Fails with the
  // invalid-argument error, changing nothing, when the settings bytes are not all there.
  // Returns false when the stored date is no date (DateRadio keeps its value).
  bool BreakUpRadioHeaderKM2();
  // The leading fields of the KM2 block (1880-189B) as the current settings give them.
  std::string CreateTestStr() const;

  // --- Printed report (clsRadioHeaderReport.cpp) ---

  // The settings as "label: value" lines, CR LF after each; a setting holding a code that
  // has no name prints no line.
  std::string CreateHumanViewableString() const;
  std::string CreateHumanViewableStringKM2() const;

  // --- Shared ---

  // intLen hex characters of RadioHeader at an image address of the KM2 settings block
  // (RadioHeader begins at image address 1880).
  std::string Address(std::int32_t lngHexAddress, std::int16_t intLen) const;
  // A name field padded with hex digit F back into plain text.
  std::string ConvertFtoSpace(const std::string& strText) const;

  // Every property alike, the record texts included.
  bool operator==(const clsRadioHeader&) const = default;
};

}  // namespace tallisk
