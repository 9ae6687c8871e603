#include "tallisk/clsChannel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

constexpr int kSynthBits = 19;
constexpr int kAuxBits = 8;
constexpr std::uint32_t kErasedField = 0x7FFFF;        // nineteen ones
constexpr std::uint32_t kErasedDualModulus = 0x3FFFF;  // "0" and eighteen ones

}  // namespace

// --- Packed record bits ---

clsChannel::BitRecord clsChannel::BitRecord::FromHex(std::string_view hex) {
  BitRecord record;
  // Each pair is read on its own, so a pair that is not hex reads as 0 and a lone last digit
  // as a whole byte. Digits beyond the longest record are not looked at.
  for (std::size_t i = 0; i < hex.size() && record.size_ < 128; i += 2) {
    record.Put(static_cast<std::uint32_t>(ParseHex(hex.substr(i, 2))), 8);
  }
  return record;
}

std::string clsChannel::BitRecord::Text(int first, int width) const {
  std::string text;
  for (int k = first; k < first + Available(first, width); ++k) text += IsOne(k) ? '1' : '0';
  return text;
}

std::string clsChannel::BitRecord::Hex() const {
  // Records are whole bytes; the digits are taken from the last one back.
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex(static_cast<std::size_t>(size_ / 4), '0');
  std::uint64_t word = low_;
  for (std::size_t i = 0; i < hex.size(); ++i, word >>= 4) {
    if (i == 16) word = high_;
    hex[hex.size() - 1 - i] = kDigits[word & 15];
  }
  return hex;
}

// --- Pieces shared by both record layouts ---

void clsChannel::PutSignalling(BitRecord& record, std::int32_t signalling, std::uint8_t ctcssCode,
                               std::int16_t signalData) {
  record.Put(static_cast<std::uint32_t>(signalling), 2);
  if (signalling == value_of(enumSignalling::CDCSS)) {
    record.Put(signalData < 0 ? 1 : 0, 1);
    record.Put(static_cast<std::uint32_t>(std::abs(static_cast<int>(signalData))), 9);
  } else if (signalling == value_of(enumSignalling::CTCSS)) {
    record.Put(ctcssCode, 6);
    record.Put(0, 4);
  } else {
    // No code for "none", and the same ten ones for a value no setting names, so the record
    // keeps its length and the channels after it stay where the radio expects them.
    record.PutOnes(10);
  }
}

void clsChannel::ReadSignalling(const BitRecord& record, int first, std::int32_t& signalling,
                                std::int16_t& signalData, std::uint8_t& ctcssCode) {
  signalling = static_cast<std::int32_t>(record.Value(first, 2));
  if (signalling == value_of(enumSignalling::CDCSS)) {
    const auto magnitude = static_cast<std::int16_t>(record.Value(first + 3, 9));
    signalData = record.IsOne(first + 2) ? static_cast<std::int16_t>(-magnitude) : magnitude;
  } else if (signalling == value_of(enumSignalling::CTCSS)) {
    ctcssCode = static_cast<std::uint8_t>(record.Value(first + 2, 6));
  } else {
    signalData = 0;
    ctcssCode = 0;
  }
}

std::uint8_t clsChannel::GetChannelCheckSum(std::string_view hex) const {
  if (hex.size() < 16) RaiseInvalidArgument("GetChannelCheckSum", "Invalid String");
  // Digit positions of the in-use flag and the 19 synthesiser bits of each half: the low
  // nibble of bytes 2 and 6 and both nibbles of bytes 3, 4, 7 and 8.
  static constexpr int kDigits[] = {3, 4, 5, 6, 7, 11, 12, 13, 14, 15};
  std::int64_t sum = 0;
  for (int d : kDigits) sum += ParseHex(hex.substr(static_cast<std::size_t>(d), 1));
  return static_cast<std::uint8_t>((16 - sum % 16) % 16);
}

void clsChannel::LoadBlankChannel() {
  RxFrequency = 0;
  RxSignalling = value_of(enumSignalling::None);
  TxFrequency = 0;
  TxSignalling = value_of(enumSignalling::None);
  TxPowerControl = value_of(enumTxPowerControl::Normal);
  Scrambler = false;
  GroupA = false;
  GroupB = false;
  AuxData = "11111111";
  RxCTCSSCode = 0;
  RxSquelchToneFrequency = 67.0f;
  TxCTCSSCode = 0;
  TxSquelchToneFrequency = 67.0f;
  // -777 marks "no digital code"; it never reaches a record because the signalling is none.
  RxSignalData = -777;
  TxSignalData = -777;
  BurstDuration = 3200.0f;
  BurstFrequency = 694.4f;
}

void clsChannel::InitChannelDataFlags() {
  RxChannelData = true;
  TxChannelData = true;
}

std::string clsChannel::Num2BinStr(double x, int intLen) const {
  return tallisk::Num2BinStr(x, intLen);
}

std::int32_t clsChannel::BinToDec(std::string_view value) const {
  return tallisk::BinToDec(value);
}

// --- QVR synthesiser ---

int clsChannel::InjectionSign() const {
  std::string lower(ModelName);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("uhf") != std::string::npos ? -1 : 1;
}

std::int32_t clsChannel::SynthesizerWord(double frequency, float intermediate) const {
  // The synthesiser works in whole kHz: the sub-kHz part of the channel is dropped first. The
  // field reaches past 2^31 Hz on the wider references, so the channel is taken in 64 bits:
  // whatever frequency a record read back as must encode again.
  const double hz = std::nearbyint(frequency);
  if (!(std::fabs(hz) < 0x1p62)) RaiseOverflow("CreateChannelData");
  const std::int64_t kHz = static_cast<std::int64_t>(hz) / 1000;
  if (PLLReferenceFreq == 0) RaiseDivisionByZero("CreateChannelData");
  const double n =
      (static_cast<double>(kHz) + InjectionSign() * static_cast<double>(intermediate)) /
      static_cast<double>(PLLReferenceFreq);
  return RoundToInt32(n, "CreateChannelData");
}

std::uint32_t clsChannel::SynthesizerField(std::int32_t n) const {
  const auto word = static_cast<std::uint32_t>(n);
  // A word the field cannot hold would come back as another frequency: refuse it.
  const std::int32_t limit = Prescaler == "64/65" ? 1 << 18 : 1 << kSynthBits;
  if (n < 0 || n >= limit) RaiseOverflow("CreateChannelData");
  if (Prescaler != "64/65") return word;
  // The dual-modulus counter of the 64/65 prescaler takes the swallow count A in 7 bits, so
  // the field puts an extra 0 before the low six bits and M keeps 12 bits.
  return (word >> 6) << 7 | (word & 63);
}

bool clsChannel::ReadSynthesizerField(const BitRecord& record, int first, float intermediate,
                                      std::int32_t& n, double& frequency) const {
  std::uint32_t plain = record.Value(first, kSynthBits);
  if (Prescaler == "64/65") {
    plain =
        record.Value(first, 12) << record.Available(first + 13, 6) | record.Value(first + 13, 6);
  }
  if (record.Available(first, kSynthBits) == kSynthBits &&
      (plain == kErasedField || plain == kErasedDualModulus)) {
    return false;
  }
  n = static_cast<std::int32_t>(plain);
  frequency = (static_cast<double>(PLLReferenceFreq) * n -
               InjectionSign() * static_cast<double>(intermediate)) *
              1000;
  return true;
}

std::uint32_t clsChannel::AuxBits() const {
  // Every character is checked, also those beyond the eighth that are cut away: a typing
  // slip must not encode silently. The record has room for exactly eight auxiliary bits; a
  // shorter text is completed with the erased state rather than shifting every later channel
  // of the image.
  if (AuxData.find_first_not_of("01") != std::string::npos) {
    RaiseInvalidArgument("CreateChannelData", "Invalid AuxData");
  }
  std::string bits = AuxData.substr(0, kAuxBits);
  bits.resize(kAuxBits, '1');
  return static_cast<std::uint32_t>(tallisk::BinToDec(bits));
}

// --- QVR record ---
//
//  bits  1-2   receive signalling type     33-34  transmit signalling type
//        3-12  receive code                35-44  transmit code
//       13     receive in-use (active low) 45     transmit in-use
//       14-32  receive synthesiser field   46-64  transmit synthesiser field
//       65 power, 66 scrambler, 67 group A, 68 group B (active low), 69-72 checksum,
//       73-80 auxiliary bits

bool clsChannel::CreateChannelData() {
  if (RxFrequency == 0 && TxFrequency == 0) {
    ChannelData = std::string(20, 'F');
    return true;
  }

  // Everything is worked out before any property changes, so a refused channel keeps its
  // previous record and synthesiser values.
  std::int32_t rxN = RxSynthesizerData;
  std::int32_t txN = TxSynthesizerData;
  std::uint8_t checkSum = CheckSum;
  BitRecord record;

  if (RxFrequency == 0) {
    record.PutOnes(32);
  } else {
    rxN = SynthesizerWord(RxFrequency, RxIF);
    PutSignalling(record, RxSignalling, RxCTCSSCode, RxSignalData);
    record.Put(FlagValue(RxChannelData), 1);
    record.Put(SynthesizerField(rxN), kSynthBits);
  }

  // Unlike the receive half, a transmit frequency of 0 is a real (receive-only) setting of
  // the synthesiser; only a negative one leaves the half erased. On a radio that injects
  // below the channel, though, 0 Hz gives a negative word the field cannot hold. Such a
  // receive-only channel gets the erased half, which reads back as 0 Hz again, and the
  // checksum of the record as written: the radio checks the nibble, and the same channel
  // must give the same bytes whatever the object held before.
  const bool receiveOnly = TxFrequency == 0 && SynthesizerWord(TxFrequency, TxIF) < 0;
  const bool blankTx = TxFrequency < 0 || receiveOnly;
  if (blankTx) {
    record.PutOnes(32);
    if (receiveOnly) checkSum = GetChannelCheckSum(record.Hex());
  } else {
    txN = SynthesizerWord(TxFrequency, TxIF);
    PutSignalling(record, TxSignalling, TxCTCSSCode, TxSignalData);
    record.Put(FlagValue(TxChannelData), 1);
    record.Put(SynthesizerField(txN), kSynthBits);
    checkSum = GetChannelCheckSum(record.Hex());
  }

  record.Put(TxPowerControl == value_of(enumTxPowerControl::Normal) ? 1 : 0, 1);
  record.Put(FlagValue(Scrambler), 1);
  record.Put(FlagValue(GroupA), 1);
  record.Put(FlagValue(GroupB), 1);
  record.Put(checkSum, 4);
  record.Put(AuxBits(), kAuxBits);

  ChannelData = record.Hex();
  if (RxFrequency != 0) RxSynthesizerData = rxN;
  if (!blankTx) TxSynthesizerData = txN;
  CheckSum = checkSum;
  return true;
}

bool clsChannel::BreakChannelData() {
  const BitRecord record = BitRecord::FromHex(ChannelData);
  if (record.AllOnes()) {
    InitChannelDataFlags();
    LoadBlankChannel();
    return true;
  }

  ReadSignalling(record, 1, RxSignalling, RxSignalData, RxCTCSSCode);
  RxChannelData = record.IsZero(13);
  ReadSynthesizerField(record, 14, RxIF, RxSynthesizerData, RxFrequency);

  ReadSignalling(record, 33, TxSignalling, TxSignalData, TxCTCSSCode);
  TxChannelData = record.IsZero(45);
  ReadSynthesizerField(record, 46, TxIF, TxSynthesizerData, TxFrequency);

  TxPowerControl = record.IsOne(65) ? value_of(enumTxPowerControl::Normal)
                                    : value_of(enumTxPowerControl::DePower);
  Scrambler = record.IsZero(66);
  GroupA = record.IsZero(67);
  GroupB = record.IsZero(68);
  // Bits 69-72 hold the checksum, which the radio checks and the reader does not.
  AuxData = record.Text(73, kAuxBits);
  return true;
}

}  // namespace tallisk
