#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallisk {

// One radio channel of either family: the settings a technician edits, the synthesiser values
// the radio needs, and the codecs that turn them into the channel's record of the programming
// image and back (QVR: 10 bytes, KM2: 16 bytes plus an 8-bit synthesiser checksum).
//
// Before a codec runs the caller copies the band values of the selected model into the channel
// (ModelName, PLLReferenceFreq, RxIF, TxIF, and Prescaler for QVR or prsclKM2 and the
// alternate-prescaler flags for KM2); the codecs read nothing else from outside the object.
// Setting a property never validates anything. A codec that fails leaves every property as
// it was.
class clsChannel {
 public:
  // --- Both families ---

  double RxFrequency = 0;  // Hz; 0 = receive half not in use
  double TxFrequency = 0;  // Hz; QVR: negative = transmit half not in use, KM2: 0 or negative
  std::int32_t RxSignalling = 0;  // enumSignalling: CTCSS 0, CDCSS 1, None 3
  std::int32_t TxSignalling = 0;
  // Tone code: the tone's Index for QVR, its CTCSSCodeKM2 for KM2 (transmit codes above 100
  // pick the special-radio tone bank of a KM2).
  std::uint8_t RxCTCSSCode = 0;
  std::uint8_t TxCTCSSCode = 0;
  // Digital code: magnitude = the octal code's value (023 is 19), negative = inverted polarity.
  std::int16_t RxSignalData = 0;
  std::int16_t TxSignalData = 0;
  bool RxPolarity = false;  // kept for the pages; the polarity travels as the sign above
  bool TxPolarity = false;
  float RxSquelchToneFrequency = 0;  // Hz, for the report only
  float TxSquelchToneFrequency = 0;
  bool RxChannelData = true;  // in-use flag of each half
  bool TxChannelData = true;
  std::int32_t RxSynthesizerData = 0;  // divide ratio N, written by the QVR codec
  std::int32_t TxSynthesizerData = 0;
  // QVR: kHz. KM2: kHz with 0.1 kHz resolution.
  float PLLReferenceFreq = 0;
  // QVR: kHz. KM2: units of 100 Hz.
  float RxIF = 0;
  float TxIF = 0;
  std::string ModelName;  // a QVR model with "uhf" in its name injects below the channel
  bool Scrambler = false;
  std::string ChannelData;  // the record as hex text (QVR 20 digits, KM2 32 digits)

  // --- QVR ---

  std::string Prescaler;            // "64/65" selects the dual-modulus synthesiser field
  std::int32_t TxPowerControl = 0;  // enumTxPowerControl: DePower 0, Normal 1
  bool GroupA = false;
  bool GroupB = false;
  std::string AuxData;        // 8 characters "0"/"1"
  std::uint8_t CheckSum = 0;  // 4-bit channel checksum, written by the codecs

  // --- KM2 ---

  std::string ChannelName;            // the record holds its first 6 characters
  std::int32_t SubsignalingType = 0;  // enumSubsignalingType
  bool RFPower = false;
  bool PTTBurstToneEnable = false;
  bool TranspondToneEnable = false;
  float BurstDuration = 0;          // ms, 100 to 3200 in steps of 100
  float BurstFrequency = 0;         // Hz as requested; the record holds the nearest tone divider
  std::int16_t prsclKM2 = 0;        // "0" bits inserted into the plain synthesiser field
  bool AlternatePreScaler = false;  // either flag selects the dual-modulus field
  bool AlternatePreScaler2 = false;
  bool SpecialRadio = false;  // the scrambler flag marks the special transmit tone bank
  std::string CheckSumKM2;    // 2 hex digits, travels outside the record

  // --- Codecs ---

  // Properties to ChannelData (and the synthesiser values and CheckSum).
  bool CreateChannelData();
  // ChannelData to properties.
  bool BreakChannelData();
  // Properties to ChannelData, CheckSumKM2 and CheckSum. BurstFrequency and TxCTCSSCode keep
  // what the user set, so encoding the same channel again gives the same record.
  bool CreateChannelDataKM2();
  // ChannelData to properties.
  bool BreakChannelDataKM2();

  // The 4-bit checksum over the in-use flags and synthesiser fields held in the first 16 hex
  // digits of a record: with it their nibble sum is a multiple of 16.
  std::uint8_t GetChannelCheckSum(std::string_view hex) const;

  // The settings of an unused channel (what an erased record reads as).
  void LoadBlankChannel();
  // Both halves in use, as on a new channel.
  void InitChannelDataFlags();

  std::string Num2BinStr(double x, int intLen) const;
  std::int32_t BinToDec(std::string_view value) const;

 private:
  // Bit text helpers shared by both record layouts. Positions are 1-based, as the layouts are
  // written; a field past the end of a short record reads as the characters that are there.
  static std::string_view Field(std::string_view bits, int first, int width);
  static std::int32_t FieldValue(std::string_view bits, int first, int width);
  static char FlagBit(bool on) { return on ? '0' : '1'; }  // record flags are active low

  // The 12 bits of signalling type and code of one half.
  static std::string SignallingField(std::int32_t signalling, std::uint8_t ctcssCode,
                                     std::int16_t signalData);
  static void ReadSignallingField(std::string_view bits, std::int32_t& signalling,
                                  std::int16_t& signalData, std::uint8_t& ctcssCode);

  // QVR synthesiser.
  int InjectionSign() const;
  std::int32_t SynthesizerWord(double frequency, float intermediate) const;
  std::string SynthesizerField(std::int32_t n) const;
  // False for an erased field, which leaves the half as it is.
  bool ReadSynthesizerField(std::string_view field, float intermediate, std::int32_t& n,
                            double& frequency) const;
  std::string AuxBits() const;

  // KM2 synthesiser.
  bool DualModulusKM2() const { return AlternatePreScaler || AlternatePreScaler2; }
  std::int32_t ReferenceHz() const;
  std::string SynthesizerFieldKM2(std::int32_t n) const;
  double FrequencyKM2(std::string_view field, float intermediate, std::int32_t referenceHz) const;
};

}  // namespace tallisk
