#include "tallisk/clsChannel.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

constexpr int kSynthBits = 19;
constexpr int kAuxBits = 8;

}  // namespace

// --- Shared pieces of both record layouts ---

std::string_view clsChannel::Field(std::string_view bits, int first, int width) {
  const auto start = static_cast<std::size_t>(first - 1);
  if (start >= bits.size()) return {};
  return bits.substr(start, static_cast<std::size_t>(width));
}

std::int32_t clsChannel::FieldValue(std::string_view bits, int first, int width) {
  return tallisk::BinToDec(Field(bits, first, width));
}

std::string clsChannel::SignallingField(std::int32_t signalling, std::uint8_t ctcssCode,
                                        std::int16_t signalData) {
  std::string bits = tallisk::Num2BinStr(signalling, 2);
  if (signalling == value_of(enumSignalling::CDCSS)) {
    bits += signalData < 0 ? '1' : '0';
    bits += tallisk::Num2BinStr(std::abs(static_cast<int>(signalData)), 9);
  } else if (signalling == value_of(enumSignalling::CTCSS)) {
    bits += tallisk::Num2BinStr(ctcssCode, 6);
    bits += "0000";
  } else {
    // No code for "none", and the same ten ones for a value no setting names, so the record
    // keeps its length and the channels after it stay where the radio expects them.
    bits.append(10, '1');
  }
  return bits;
}

void clsChannel::ReadSignallingField(std::string_view bits, std::int32_t& signalling,
                                     std::int16_t& signalData, std::uint8_t& ctcssCode) {
  signalling = FieldValue(bits, 1, 2);
  if (signalling == value_of(enumSignalling::CDCSS)) {
    const auto magnitude = static_cast<std::int16_t>(FieldValue(bits, 4, 9));
    signalData = Field(bits, 3, 1) == "1" ? static_cast<std::int16_t>(-magnitude) : magnitude;
  } else if (signalling == value_of(enumSignalling::CTCSS)) {
    ctcssCode = static_cast<std::uint8_t>(FieldValue(bits, 3, 6));
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
  // The synthesiser works in whole kHz: the sub-kHz part of the channel is dropped first.
  const std::int32_t kHz = RoundToInt32(frequency, "CreateChannelData") / 1000;
  if (PLLReferenceFreq == 0) RaiseDivisionByZero("CreateChannelData");
  const double n = (kHz + InjectionSign() * static_cast<double>(intermediate)) /
                   static_cast<double>(PLLReferenceFreq);
  return RoundToInt32(n, "CreateChannelData");
}

std::string clsChannel::SynthesizerField(std::int32_t n) const {
  const std::string plain = tallisk::Num2BinStr(n, kSynthBits);
  if (Prescaler != "64/65") return plain;
  // The dual-modulus counter of the 64/65 prescaler takes the swallow count A in 7 bits, so
  // the field puts an extra 0 before the low six bits and loses the top bit of M.
  return plain.substr(1, 12) + "0" + plain.substr(13);
}

bool clsChannel::ReadSynthesizerField(std::string_view field, float intermediate, std::int32_t& n,
                                      double& frequency) const {
  std::string plain(field);
  if (Prescaler == "64/65") {
    plain = "0" + std::string(Field(field, 1, 12)) + std::string(Field(field, 14, 6));
  }
  if (plain == std::string(kSynthBits, '1') || plain == "0" + std::string(kSynthBits - 1, '1')) {
    return false;
  }
  n = tallisk::BinToDec(plain);
  frequency = (static_cast<double>(PLLReferenceFreq) * n -
               InjectionSign() * static_cast<double>(intermediate)) *
              1000;
  return true;
}

std::string clsChannel::AuxBits() const {
  // The record has room for exactly eight auxiliary bits; a shorter text is completed with
  // the erased state rather than shifting every later channel of the image.
  std::string bits = AuxData.substr(0, kAuxBits);
  bits.resize(kAuxBits, '1');
  if (bits.find_first_not_of("01") != std::string::npos) {
    RaiseInvalidArgument("CreateChannelData", "Invalid AuxData");
  }
  return bits;
}

// --- QVR record ---
//
//  bits  1-2   receive signalling type     33-34  transmit signalling type
//        3-12  receive code                35-44  transmit code
//       13     receive in-use (active low) 45     transmit in-use
//       14-32  receive synthesiser field   46-64  transmit synthesiser field
//       65 power, 66 scrambler, 67 group A, 68 group B, 69-72 checksum, 73-80 auxiliary bits

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
  std::string bits;
  bits.reserve(80);

  if (RxFrequency == 0) {
    bits.append(32, '1');
  } else {
    rxN = SynthesizerWord(RxFrequency, RxIF);
    bits += SignallingField(RxSignalling, RxCTCSSCode, RxSignalData);
    bits += FlagBit(RxChannelData);
    bits += SynthesizerField(rxN);
  }

  // Unlike the receive half, a transmit frequency of 0 is a real (receive-only) setting of
  // the synthesiser; only a negative one leaves the half erased.
  if (TxFrequency < 0) {
    bits.append(32, '1');
  } else {
    txN = SynthesizerWord(TxFrequency, TxIF);
    bits += SignallingField(TxSignalling, TxCTCSSCode, TxSignalData);
    bits += FlagBit(TxChannelData);
    bits += SynthesizerField(txN);
    checkSum = GetChannelCheckSum(BinStrToHex(bits));
  }

  bits += TxPowerControl == value_of(enumTxPowerControl::Normal) ? '1' : '0';
  bits += FlagBit(Scrambler);
  bits += FlagBit(GroupA);
  bits += FlagBit(GroupB);
  bits += tallisk::Num2BinStr(checkSum, 4);
  bits += AuxBits();

  ChannelData = BinStrToHex(bits);
  if (RxFrequency != 0) RxSynthesizerData = rxN;
  if (TxFrequency >= 0) TxSynthesizerData = txN;
  CheckSum = checkSum;
  return true;
}

bool clsChannel::BreakChannelData() {
  const std::string bits = HexToBinStr(ChannelData);
  if (bits.find('0') == std::string::npos) {
    InitChannelDataFlags();
    LoadBlankChannel();
    return true;
  }

  ReadSignallingField(Field(bits, 1, 12), RxSignalling, RxSignalData, RxCTCSSCode);
  RxChannelData = Field(bits, 13, 1) == "0";
  ReadSynthesizerField(Field(bits, 14, kSynthBits), RxIF, RxSynthesizerData, RxFrequency);

  ReadSignallingField(Field(bits, 33, 12), TxSignalling, TxSignalData, TxCTCSSCode);
  TxChannelData = Field(bits, 45, 1) == "0";
  ReadSynthesizerField(Field(bits, 46, kSynthBits), TxIF, TxSynthesizerData, TxFrequency);

  TxPowerControl = Field(bits, 65, 1) == "1" ? value_of(enumTxPowerControl::Normal)
                                             : value_of(enumTxPowerControl::DePower);
  Scrambler = Field(bits, 66, 1) == "0";
  GroupA = Field(bits, 67, 1) == "0";
  GroupB = Field(bits, 68, 1) == "0";
  // Bits 69-72 hold the checksum, which the radio checks and the reader does not.
  AuxData = std::string(Field(bits, 73, kAuxBits));
  return true;
}

}  // namespace tallisk
