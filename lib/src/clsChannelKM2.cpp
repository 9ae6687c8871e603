// The KM2 channel record of clsChannel.
//
//  bits   1-48   name: six 8-bit character codes, or all ones without a name; their top bits
//                carry 1 name flag (0 = named), 9 marker (always 1), 17 and 25 subsignalling
//                type, 33 scrambler (also the special transmit tone bank), 41 power
//        49-50   receive signalling type       81-82   transmit signalling type
//        51-60   receive code                  83-92   transmit code
//        61      receive in-use (active low)   93      transmit in-use
//        62-80   receive synthesiser field     94-112  transmit synthesiser field
//       113      key-up burst (active low)    114      transpond tone (active low)
//       115      always 1                     116-120  burst length / 100 - 1
//       121-128  burst tone divider
//
// The 8-bit synthesiser checksum travels outside the record, in CheckSumKM2.

#include <algorithm>
#include <cmath>
#include <limits>

#include "tallisk/clsChannel.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

constexpr int kSynthBits = 19;
constexpr std::size_t kNameLength = 6;
constexpr float kDefaultBurstFrequency = 694.4f;
constexpr float kDefaultBurstDuration = 3200.0f;

// The burst tone is 62500 / (D + 1) Hz. The largest divider whose tone reaches the request
// (within 0.2 Hz) wins; requests above the top of that range get the highest tone, D = 17.
std::int32_t BurstDivider(float requestedHz) {
  const double tenths = std::nearbyint(static_cast<double>(requestedHz * 10.0f));
  for (int d = 89; d >= 19; --d) {
    if (tenths < std::nearbyint(625000.0 / (d + 1)) + 2) return d;
  }
  return 17;
}

// The radio sums a 20-bit synthesiser word (five hex digits) as its top nibble and the two
// bytes below it.
std::int64_t WordSum(std::uint32_t word) {
  return (word >> 16 & 0xF) + (word >> 8 & 0xFF) + (word & 0xFF);
}

}  // namespace

std::int32_t clsChannel::ReferenceHz() const {
  // The header stores the reference in tenths of a kHz as two bytes; the arithmetic is
  // single precision, so a reference of 0.05 kHz or less comes out as 0.
  const float tenths = PLLReferenceFreq * 10.0f;
  const auto stored = static_cast<std::uint16_t>(RoundToInt32(tenths, "ReferenceHz"));
  return static_cast<std::int32_t>(stored) * 100;
}

std::uint32_t clsChannel::SynthesizerFieldKM2(std::int32_t n) const {
  // A word the field cannot hold fails instead of wrapping: a wrapped field reads back as a
  // quite different frequency, and the radio would be programmed with it.
  if (n < 0) RaiseOverflow("CreateChannelDataKM2");
  if (DualModulusKM2()) {
    // M in 12 bits, then the swallow count A in 7. A normally stays below 64; only with M at
    // its top can it run on to 127, which is how the reader counts such a field.
    const std::int32_t m = std::min(n / 64, 4095);
    const std::int32_t a = n - 64 * m;
    if (a > 127) RaiseOverflow("CreateChannelDataKM2");
    return static_cast<std::uint32_t>(m) << 7 | static_cast<std::uint32_t>(a);
  }
  // The low six bits stay in place and p zeros are inserted above them, so M keeps only
  // 13 - p bits.
  const int p = prsclKM2;
  const std::int32_t m = n >> 6;
  const auto a = static_cast<std::uint32_t>(n & 63);
  if (p >= 13) {
    if (m != 0) RaiseOverflow("CreateChannelDataKM2");
    return a;
  }
  if (m >> (13 - p) != 0) RaiseOverflow("CreateChannelDataKM2");
  return static_cast<std::uint32_t>(m) << (6 + p) | a;
}

double clsChannel::FrequencyKM2(const BitRecord& record, int first, float intermediate) const {
  const double ifHz = static_cast<double>(intermediate) * 100;
  if (DualModulusKM2()) {
    // These radios run a 12.8 MHz reference divided by 5120 whatever the band says: 2.5 kHz.
    const std::int64_t n =
        64 * static_cast<std::int64_t>(record.Value(first, 12)) + record.Value(first + 12, 7);
    return static_cast<double>(n) * 2500 - ifHz;
  }
  // Undo the inserted zeros: the top (13 - p) bits are M, the last six A.
  const int p = prsclKM2;
  if (p < 0) RaiseInvalidArgument("BreakChannelDataKM2");
  const std::int32_t referenceHz = ReferenceHz();
  const std::int64_t m = p < 13 ? record.Value(first, 13 - p) : 0;
  const std::int64_t n = 64 * m + record.Value(first + 13, 6);
  const std::int64_t product = static_cast<std::int64_t>(referenceHz) * n;
  if (product > std::numeric_limits<std::int32_t>::max()) RaiseOverflow("BreakChannelDataKM2");
  return RoundToInt32(static_cast<double>(product) - ifHz, "BreakChannelDataKM2");
}

float clsChannel::BurstFrequencyHeldKM2(float requestedHz) {
  return static_cast<float>(625000.0 / (BurstDivider(requestedHz) + 1) / 10);
}

float clsChannel::BurstDurationHeldKM2(float requestedMs) {
  const std::int32_t field = RoundToInt32(requestedMs / 100.0 - 1, "BurstDurationHeldKM2") & 0x1F;
  return static_cast<float>((field + 1) * 100);
}

bool clsChannel::CreateChannelDataKM2() {
  if (RxFrequency == 0) {
    ChannelData = std::string(32, 'F');
    CheckSumKM2 = "FF";
    return true;
  }

  // Everything is worked out in local values: a refused channel keeps its previous record,
  // and the requested burst tone and transmit tone stay as the user set them, so encoding
  // the same channel again gives the same record.
  const std::int32_t referenceHz = ReferenceHz();
  if (referenceHz == 0) RaiseDivisionByZero("CreateChannelDataKM2");
  if (!DualModulusKM2() && prsclKM2 < 0) RaiseInvalidArgument("CreateChannelDataKM2");
  const auto synthesizerWord = [&](double frequency, float intermediate) {
    return RoundToInt32((frequency + static_cast<double>(intermediate) * 100) / referenceHz,
                        "CreateChannelDataKM2");
  };

  const bool txPresent = TxFrequency > 0;
  // On special radios the scrambler flag selects the second transmit tone bank; its tones
  // are numbered from 101 and travel as their code less 100.
  const bool specialTone =
      txPresent && TxSignalling == value_of(enumSignalling::CTCSS) && TxCTCSSCode > 100;
  const auto txTone = static_cast<std::uint8_t>(specialTone ? TxCTCSSCode - 100 : TxCTCSSCode);

  BitRecord record;
  for (std::size_t i = 0; i < kNameLength; ++i) {
    if (ChannelName.empty()) {
      record.PutOnes(8);
    } else {
      record.Put(static_cast<unsigned char>(i < ChannelName.size() ? ChannelName[i] : ' '), 8);
    }
  }
  const auto subsignalling = static_cast<std::uint32_t>(SubsignalingType);
  record.Set(1, ChannelName.empty());
  record.Set(9, true);
  record.Set(17, (subsignalling & 2) != 0);
  record.Set(25, (subsignalling & 1) != 0);
  record.Set(33, !(Scrambler || specialTone));
  record.Set(41, !RFPower);

  // The radio checks each half's in-use flag and synthesiser field as one 20-bit word.
  const std::int32_t rxN = synthesizerWord(RxFrequency, RxIF);
  const std::uint32_t rxHalf = FlagValue(RxChannelData) << kSynthBits | SynthesizerFieldKM2(rxN);
  PutSignalling(record, RxSignalling, RxCTCSSCode, RxSignalData);
  record.Put(rxHalf, 1 + kSynthBits);
  std::int64_t sum = WordSum(rxHalf);

  std::int32_t txN = 0;
  if (txPresent) {
    txN = synthesizerWord(TxFrequency, TxIF);
    const std::uint32_t txHalf = FlagValue(TxChannelData) << kSynthBits | SynthesizerFieldKM2(txN);
    PutSignalling(record, TxSignalling, txTone, TxSignalData);
    record.Put(txHalf, 1 + kSynthBits);
    sum += WordSum(txHalf);
  } else {
    record.PutOnes(32);
    // The radio counts the blank half with the in-use flag the channel has, not the erased
    // bit the record holds.
    sum += WordSum(FlagValue(TxChannelData) << kSynthBits | 0x7FFFF);
  }

  record.Put(FlagValue(PTTBurstToneEnable), 1);
  record.Put(FlagValue(TranspondToneEnable), 1);
  record.Put(1, 1);
  if (!PTTBurstToneEnable && !TranspondToneEnable) {
    record.PutOnes(13);
  } else {
    record.Put(static_cast<std::uint32_t>(RoundToInt32(BurstDuration / 100.0 - 1)), 5);
    record.Put(static_cast<std::uint32_t>(BurstDivider(BurstFrequency)), 8);
  }

  std::int64_t total = sum;
  if (!ModelName.starts_with("52-37") && !DualModulusKM2()) {
    // A blank transmit half counts as FFFFF for a frequency of 0 and as 00000 below that.
    const std::uint32_t txWord = txPresent          ? static_cast<std::uint32_t>(txN)
                                 : TxFrequency == 0 ? 0xFFFFF
                                                    : 0;
    total = WordSum(static_cast<std::uint32_t>(rxN)) + WordSum(txWord);
  }

  const std::string hex = record.Hex();
  // The 4-bit channel checksum covers the first eight bytes only (name bytes and the receive
  // code on this family); it is taken when a transmit half is present.
  if (txPresent) CheckSum = GetChannelCheckSum(hex);
  ChannelData = hex;
  CheckSumKM2 = ToHex(static_cast<std::uint64_t>((256 - total % 256) % 256), 2);
  return true;
}

bool clsChannel::BreakChannelDataKM2() {
  const BitRecord record = BitRecord::FromHex(ChannelData);

  // The frequencies are the only values that can fail; they are decoded before anything is
  // stored so that a refused record leaves the channel as it was. A half that is not in use
  // has no field to decode, so an erased channel reads whatever the band values say.
  const bool rxInUse = record.IsZero(61);
  const double rxFrequency = rxInUse ? FrequencyKM2(record, 62, RxIF) : 0;
  const bool txInUse = record.IsZero(93) && rxFrequency != 0;
  const double txFrequency = txInUse ? FrequencyKM2(record, 94, TxIF) : 0;

  ChannelName.clear();
  if (!record.IsOne(1)) {
    // Each name byte gives its low seven bits; all ones is no character.
    for (int i = 0; i < static_cast<int>(kNameLength); ++i) {
      if (record.Available(8 * i + 2, 7) < 7) break;
      const std::uint32_t code = record.Value(8 * i + 2, 7);
      if (code != 0x7F) ChannelName += static_cast<char>(code);
    }
  }
  SubsignalingType =
      static_cast<std::int32_t>((record.IsOne(17) ? 2 : 0) + (record.IsOne(25) ? 1 : 0));
  Scrambler = record.IsZero(33);
  RFPower = record.IsZero(41);

  if (rxInUse) {
    RxChannelData = true;
    ReadSignalling(record, 49, RxSignalling, RxSignalData, RxCTCSSCode);
  } else {
    RxChannelData = false;
    RxSignalling = value_of(enumSignalling::None);
  }
  RxFrequency = rxFrequency;

  if (txInUse) {
    TxChannelData = true;
    ReadSignalling(record, 81, TxSignalling, TxSignalData, TxCTCSSCode);
    if (TxSignalling == value_of(enumSignalling::CTCSS) && SpecialRadio && Scrambler) {
      TxCTCSSCode = static_cast<std::uint8_t>(TxCTCSSCode + 100);
    }
  } else {
    TxChannelData = false;
    TxSignalling = value_of(enumSignalling::None);
  }
  TxFrequency = txFrequency;

  PTTBurstToneEnable = RxFrequency != 0 && record.IsZero(113);
  TranspondToneEnable = RxFrequency != 0 && record.IsZero(114);
  if (!PTTBurstToneEnable && !TranspondToneEnable) {
    BurstDuration = kDefaultBurstDuration;
    BurstFrequency = kDefaultBurstFrequency;
  } else {
    BurstDuration = static_cast<float>((record.Value(116, 5) + 1) * 100);
    const bool noDivider = record.Available(121, 8) == 8 && record.Value(121, 8) == 0xFF;
    BurstFrequency = noDivider ? kDefaultBurstFrequency
                               : static_cast<float>(625000.0 / (record.Value(121, 8) + 1) / 10);
  }
  return true;
}

}  // namespace tallisk
