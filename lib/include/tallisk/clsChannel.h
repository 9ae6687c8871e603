#pragma once

#include <algorithm>
#include <bit>
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

  // What a KM2 record holds of a requested burst tone (the nearest tone divider) and burst
  // duration (whole tenths of a second from 0.1 to 3.2, the five-bit field), read back as the
  // record gives them.
  static float BurstFrequencyHeldKM2(float requestedHz);
  static float BurstDurationHeldKM2(float requestedMs);

  // Every property alike, the record texts included.
  bool operator==(const clsChannel&) const = default;

  // --- Codecs ---

  // Properties to ChannelData (and the synthesiser values and CheckSum). A frequency whose
  // word the synthesiser field cannot hold fails with the overflow error, and AuxData must be
  // all "0" and "1" (it is completed with ones or cut to 8 after that check).
  bool CreateChannelData();
  // ChannelData to properties.
  bool BreakChannelData();
  // Properties to ChannelData, CheckSumKM2 and CheckSum. BurstFrequency and TxCTCSSCode keep
  // what the user set, so encoding the same channel again gives the same record. A frequency
  // whose word the synthesiser field cannot hold fails with the overflow error.
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

  // --- Printed report (clsChannelReport.cpp) ---

  // QVR: the channel as "label: value" lines, CR LF after each, or the undefined-channel
  // marker when neither half has a frequency.
  std::string CreateHumanViewableString() const;
  // KM2: the channel's 52-column row of the channel table (no line end), empty when the
  // channel has no receive frequency. RxCTCSS and TxCTCSS are the tone texts to show for a
  // CTCSS half.
  std::string CreateHumanViewableStringKM2(std::int16_t CH, const std::string& RxCTCSS,
                                           const std::string& TxCTCSS) const;

 private:
  // A record's bits, bit 1 the most significant bit of the first byte (at most 128 bits).
  // Fields are written in address order and read by their 1-based positions; a field that
  // runs past the end of a short record reads only the bits that are there.
  class BitRecord {
   public:
    static BitRecord FromHex(std::string_view hex);
    // The low `width` bits of value (width at most 32), most significant first.
    void Put(std::uint32_t value, int width) {
      if (width == 0) return;
      high_ = high_ << width | low_ >> (64 - width);
      low_ = low_ << width | (value & Mask(width));
      size_ += width;
    }
    void PutOnes(int width) { Put(0xFFFFFFFFu, width); }
    void Set(int position, bool one) {
      std::uint64_t& word = Index(position) < 64 ? low_ : high_;
      const std::uint64_t bit = std::uint64_t{1} << (Index(position) % 64);
      word = one ? word | bit : word & ~bit;
    }
    int Available(int first, int width) const {
      return first > size_ ? 0 : std::min(size_ - first + 1, width);
    }
    std::uint32_t Value(int first, int width) const {
      const int available = Available(first, width);
      if (available == 0) return 0;
      return static_cast<std::uint32_t>(From(Index(first + available - 1))) & Mask(available);
    }
    bool IsOne(int position) const {
      return position >= 1 && position <= size_ && (From(Index(position)) & 1) != 0;
    }
    // Present and "0": an active-low flag that is on.
    bool IsZero(int position) const {
      return position >= 1 && position <= size_ && (From(Index(position)) & 1) == 0;
    }
    bool AllOnes() const { return std::popcount(low_) + std::popcount(high_) == size_; }
    std::string Text(int first, int width) const;
    std::string Hex() const;

   private:
    static std::uint32_t Mask(int width) {
      return width >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << width) - 1;
    }
    int Index(int position) const { return size_ - position; }
    // The bits from number `index` (0 = the last bit of the record) on, as far as 64 go.
    std::uint64_t From(int index) const {
      if (index == 0) return low_;
      if (index < 64) return low_ >> index | high_ << (64 - index);
      return high_ >> (index - 64);
    }

    // The record as one 128-bit number in two words, its last bit the lowest. A field costs a
    // shift or two and a mask, where a bitset shifted and masked all 128 bits for each one.
    std::uint64_t high_ = 0;
    std::uint64_t low_ = 0;
    int size_ = 0;
  };

  static char FlagBit(bool on) { return on ? '0' : '1'; }  // record flags are active low
  static std::uint32_t FlagValue(bool on) { return on ? 0 : 1; }

  // Signalling type (2 bits) and code (10 bits) of one half.
  static void PutSignalling(BitRecord& record, std::int32_t signalling, std::uint8_t ctcssCode,
                            std::int16_t signalData);
  static void ReadSignalling(const BitRecord& record, int first, std::int32_t& signalling,
                             std::int16_t& signalData, std::uint8_t& ctcssCode);

  // QVR synthesiser.
  int InjectionSign() const;
  std::int32_t SynthesizerWord(double frequency, float intermediate) const;
  std::uint32_t SynthesizerField(std::int32_t n) const;
  // False for an erased field, which leaves the half as it is.
  bool ReadSynthesizerField(const BitRecord& record, int first, float intermediate, std::int32_t& n,
                            double& frequency) const;
  std::uint32_t AuxBits() const;

  // KM2 synthesiser.
  bool DualModulusKM2() const { return AlternatePreScaler || AlternatePreScaler2; }
  std::int32_t ReferenceHz() const;
  std::uint32_t SynthesizerFieldKM2(std::int32_t n) const;
  double FrequencyKM2(const BitRecord& record, int first, float intermediate) const;
};

}  // namespace tallisk
