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

#include <cmath>
#include <limits>

#include "tallisk/clsChannel.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

constexpr int kSynthBits = 19;
constexpr int kNameLength = 6;
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

// A synthesiser word as five hex digits, summed as the radio sums it: the top digit and the
// two bytes below it.
std::int64_t WordSum(const std::string& hex5) {
  return ParseHex(hex5.substr(0, 1)) + ParseHex(hex5.substr(1, 2)) + ParseHex(hex5.substr(3, 2));
}

}  // namespace

std::int32_t clsChannel::ReferenceHz() const {
  // The header stores the reference in tenths of a kHz as two bytes; the arithmetic is
  // single precision, so a reference of 0.05 kHz or less comes out as 0.
  const float tenths = PLLReferenceFreq * 10.0f;
  const auto stored = static_cast<std::uint16_t>(RoundToInt32(tenths, "ReferenceHz"));
  return static_cast<std::int32_t>(stored) * 100;
}

std::string clsChannel::SynthesizerFieldKM2(std::int32_t n) const {
  if (DualModulusKM2()) {
    const std::int32_t m = n / 64;
    return tallisk::Num2BinStr(m, 12) + tallisk::Num2BinStr(n - 64 * m, 7);
  }
  const std::string plain = tallisk::Num2BinStr(n, kSynthBits);
  const std::string widened =
      plain.substr(0, 13) + std::string(static_cast<std::size_t>(prsclKM2), '0') + plain.substr(13);
  return widened.substr(widened.size() - kSynthBits);
}

double clsChannel::FrequencyKM2(std::string_view field, float intermediate,
                                std::int32_t referenceHz) const {
  const double ifHz = static_cast<double>(intermediate) * 100;
  if (DualModulusKM2()) {
    // These radios run a 12.8 MHz reference divided by 5120 whatever the band says: 2.5 kHz.
    const std::int64_t n =
        64 * static_cast<std::int64_t>(FieldValue(field, 1, 12)) + FieldValue(field, 13, 7);
    return static_cast<double>(n) * 2500 - ifHz;
  }
  // Undo the inserted zeros: the top (13 - p) characters are M, the last six A.
  const int p = prsclKM2;
  const std::int64_t m = p < 13 ? FieldValue(field, 1, 13 - p) : 0;
  const std::int64_t n = 64 * m + FieldValue(field, 14, 6);
  const std::int64_t product = static_cast<std::int64_t>(referenceHz) * n;
  if (product > std::numeric_limits<std::int32_t>::max()) RaiseOverflow("BreakChannelDataKM2");
  return RoundToInt32(static_cast<double>(product) - ifHz, "BreakChannelDataKM2");
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
  // The radio sums each half's in-use flag and synthesiser field as a nibble and two bytes.
  const auto halfSum = [](std::string_view half) {
    return FieldValue(half, 1, 4) + FieldValue(half, 5, 8) + FieldValue(half, 13, 8);
  };

  const bool txPresent = TxFrequency > 0;
  // On special radios the scrambler flag selects the second transmit tone bank; its tones
  // are numbered from 101 and travel as their code less 100.
  const bool specialTone =
      txPresent && TxSignalling == value_of(enumSignalling::CTCSS) && TxCTCSSCode > 100;
  const auto txTone = static_cast<std::uint8_t>(specialTone ? TxCTCSSCode - 100 : TxCTCSSCode);

  std::string bits;
  bits.reserve(128);
  if (ChannelName.empty()) {
    bits.assign(48, '1');
  } else {
    const std::string name = (ChannelName + std::string(kNameLength, ' ')).substr(0, kNameLength);
    for (unsigned char c : name) bits += tallisk::Num2BinStr(c, 8);
  }
  const std::string subsignalling = tallisk::Num2BinStr(SubsignalingType, 2);
  bits[0] = ChannelName.empty() ? '1' : '0';
  bits[8] = '1';
  bits[16] = subsignalling[0];
  bits[24] = subsignalling[1];
  bits[32] = FlagBit(Scrambler || specialTone);
  bits[40] = FlagBit(RFPower);

  const std::int32_t rxN = synthesizerWord(RxFrequency, RxIF);
  const std::string rxHalf = FlagBit(RxChannelData) + SynthesizerFieldKM2(rxN);
  bits += SignallingField(RxSignalling, RxCTCSSCode, RxSignalData);
  bits += rxHalf;
  std::int64_t sum = halfSum(rxHalf);

  std::int32_t txN = 0;
  std::uint8_t checkSum = CheckSum;
  if (txPresent) {
    txN = synthesizerWord(TxFrequency, TxIF);
    const std::string txHalf = FlagBit(TxChannelData) + SynthesizerFieldKM2(txN);
    bits += SignallingField(TxSignalling, txTone, TxSignalData);
    bits += txHalf;
    sum += halfSum(txHalf);
    checkSum = GetChannelCheckSum(BinStrToHex(bits));
  } else {
    bits.append(32, '1');
    // The radio counts the blank half with the in-use flag the channel has, not the erased
    // bit the record holds.
    sum += halfSum(FlagBit(TxChannelData) + std::string("111")) + 255 + 255;
  }

  bits += FlagBit(PTTBurstToneEnable);
  bits += FlagBit(TranspondToneEnable);
  bits += '1';
  if (!PTTBurstToneEnable && !TranspondToneEnable) {
    bits.append(13, '1');
  } else {
    bits += tallisk::Num2BinStr(BurstDuration / 100.0 - 1, 5);
    bits += tallisk::Num2BinStr(BurstDivider(BurstFrequency), 8);
  }

  std::int64_t total = sum;
  if (!ModelName.starts_with("52-37") && !DualModulusKM2()) {
    const std::string txWord = txPresent          ? ToHex(static_cast<std::uint32_t>(txN), 5)
                               : TxFrequency == 0 ? std::string("FFFFF")
                                                  : std::string("00000");
    total = WordSum(ToHex(static_cast<std::uint32_t>(rxN), 5)) + WordSum(txWord);
  }

  ChannelData = BinStrToHex(bits);
  CheckSumKM2 = ToHex(static_cast<std::uint64_t>((256 - total % 256) % 256), 2);
  CheckSum = checkSum;
  return true;
}

bool clsChannel::BreakChannelDataKM2() {
  if (!DualModulusKM2() && prsclKM2 < 0) RaiseInvalidArgument("BreakChannelDataKM2");
  const std::string bits = HexToBinStr(ChannelData);

  // The frequencies are the only values that can fail; they are decoded before anything is
  // stored so that a refused record leaves the channel as it was.
  const std::int32_t referenceHz = DualModulusKM2() ? 0 : ReferenceHz();
  const bool rxInUse = Field(bits, 61, 1) == "0";
  const double rxFrequency =
      rxInUse ? FrequencyKM2(Field(bits, 62, kSynthBits), RxIF, referenceHz) : 0;
  const bool txInUse = Field(bits, 93, 1) == "0" && rxFrequency != 0;
  const double txFrequency =
      txInUse ? FrequencyKM2(Field(bits, 94, kSynthBits), TxIF, referenceHz) : 0;

  ChannelName.clear();
  if (Field(bits, 1, 1) != "1") {
    for (int i = 0; i < kNameLength; ++i) {
      const std::string_view code = Field(bits, 8 * i + 2, 7);
      if (code.size() == 7 && code != "1111111") {
        ChannelName += static_cast<char>(tallisk::BinToDec(code));
      }
    }
  }
  SubsignalingType =
      FieldValue(std::string(Field(bits, 17, 1)) + std::string(Field(bits, 25, 1)), 1, 2);
  Scrambler = Field(bits, 33, 1) == "0";
  RFPower = Field(bits, 41, 1) == "0";

  if (rxInUse) {
    RxChannelData = true;
    ReadSignallingField(Field(bits, 49, 12), RxSignalling, RxSignalData, RxCTCSSCode);
  } else {
    RxChannelData = false;
    RxSignalling = value_of(enumSignalling::None);
  }
  RxFrequency = rxFrequency;

  if (txInUse) {
    TxChannelData = true;
    ReadSignallingField(Field(bits, 81, 12), TxSignalling, TxSignalData, TxCTCSSCode);
    if (TxSignalling == value_of(enumSignalling::CTCSS) && SpecialRadio && Scrambler) {
      TxCTCSSCode = static_cast<std::uint8_t>(TxCTCSSCode + 100);
    }
  } else {
    TxChannelData = false;
    TxSignalling = value_of(enumSignalling::None);
  }
  TxFrequency = txFrequency;

  PTTBurstToneEnable = RxFrequency != 0 && Field(bits, 113, 1) == "0";
  TranspondToneEnable = RxFrequency != 0 && Field(bits, 114, 1) == "0";
  if (!PTTBurstToneEnable && !TranspondToneEnable) {
    BurstDuration = kDefaultBurstDuration;
    BurstFrequency = kDefaultBurstFrequency;
  } else {
    BurstDuration = static_cast<float>((FieldValue(bits, 116, 5) + 1) * 100);
    const std::string_view divider = Field(bits, 121, 8);
    BurstFrequency = divider == "11111111"
                         ? kDefaultBurstFrequency
                         : static_cast<float>(625000.0 / (tallisk::BinToDec(divider) + 1) / 10);
  }
  return true;
}

}  // namespace tallisk
