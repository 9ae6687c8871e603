#include "tallisk/clsRadioHeader.h"

#include <string_view>

#include "clsRadioHeaderFields.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

using namespace header_fields;
using H = clsRadioHeader;

constexpr std::size_t kQvrBlockDigits = 68;
// The 52-8994 carries 94 at 0D whatever its band profile says; reading one reports the
// profile byte 8A, by which its band is found again.
constexpr std::int32_t kSpecialRadioSynthesizer = 0x94;
constexpr char kSpecialRadioAddress0x0D[] = "0x8A";

int HexDigitOrZero(char c) {
  return static_cast<int>(ParseHex(std::string_view(&c, 1)));
}

// Serial and customer numbers are stored as hex digits, padded on the left with F (which
// reads back as a space); a character that is no hex digit is stored as 0.
std::string DigitField(const std::string& text, std::size_t digits) {
  std::string padded = std::string(digits, 'F') + text;
  padded = padded.substr(padded.size() - digits);
  std::string bits;
  for (char c : padded) bits += Bits(c == ' ' ? 15 : HexDigitOrZero(c), 4);
  return bits;
}

// A profile byte "0xNN" (a text without the prefix is read as a decimal number). Until a
// band profile fills it the text is empty, which gives 00.
std::int32_t ProfileByte(const std::string& text) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return static_cast<std::int32_t>(ParseHex(std::string_view(text).substr(2)) & 0xFF);
  }
  return RoundToInt32(ParseNumber(text), "CreateRadioHeader") & 0xFF;
}

// `count` bit characters of a profile bit text from 0-based `offset`; missing characters
// are 0 bits, anything but a bit character is a broken profile and is refused.
std::string ProfileBits(const std::string& text, std::size_t offset, std::size_t count) {
  std::string bits;
  for (std::size_t i = offset; i < offset + count; ++i) {
    const char c = i < text.size() ? text[i] : '0';
    if (c != '0' && c != '1') {
      RaiseInvalidArgument("CreateRadioHeader", "Profile bit text \"" + text + "\" is not valid");
    }
    bits += c;
  }
  return bits;
}

std::string HexText(std::string_view bits) {
  return "0x" + BinStrToHex(bits);
}

bool ReadDate(H& h, std::string_view bits) {
  const std::string digits = BinStrToHex(bits);
  if (digits == "FFFFFF") return true;  // never set: the radio date stays as it is
  return DateFromMmDdYy(digits, h.DateRadio);
}

// 0D-0E: the synthesiser set-up of the band (a whole byte from the profile) and 00; read
// back as the synthesiser type, the prescaler and the 14-bit reference counter.
bool ReadSynthesizerSetup(H& h, std::string_view bits) {
  const std::int32_t byte0D = BinToDec(bits.substr(0, 8));
  h.Synthesizer = bits[0] == '1' ? 1 : 0;
  const bool bit6 = bits[1] == '1';
  if (h.Synthesizer == 1) {
    h.PrescalerSwitch = bit6 ? "32/33" : "64/65";
  } else {
    h.PrescalerSwitch = bit6 ? "64/65" : "128/129";
  }
  h.ReferenceCounter = BinToDec(bits.substr(2));
  h.SpecialRadio = byte0D == kSpecialRadioSynthesizer;
  h.Address0x0D = h.SpecialRadio ? kSpecialRadioAddress0x0D : HexText(bits.substr(0, 8));
  return true;
}

// 0F-10: polarity (active low) and the 15-bit talk-around value, both from the profile.
bool ReadTalkAround(H& h, std::string_view bits) {
  h.Polarity = bits[0] == '0';
  h.TalkAround = BinToDec(bits.substr(1));
  h.Address0x0F = HexText(bits.substr(0, 8));
  h.Address0x10 = HexText(bits.substr(8, 8));
  return true;
}

// 14 bits 1-0 and 15: the 10-bit receive centre frequency.
bool ReadCenterRx(H& h, std::string_view bits) {
  h.CenterRXFreqData = BinToDec(bits);
  h.Address0x14 = "XX" + Bits(h.DigitalControlSquelch, 2) + "XX" + std::string(bits.substr(0, 2));
  h.Address0x15 = HexText(bits.substr(2, 8));
  return true;
}

// 16 bits 1-0 and 17: the 10-bit transmit centre frequency.
bool ReadCenterTx(H& h, std::string_view bits) {
  h.CenterTXFreqData = BinToDec(bits);
  h.Address0x16 = "XXXXXX" + std::string(bits.substr(0, 2));
  h.Address0x17 = HexText(bits.substr(2, 8));
  return true;
}

// A calibration byte: the block carries FF, a read radio keeps the value in the low six
// bits.
template <auto Member>
Field Calibration() {
  return {8, [](const H& h) { return Bits(h.*Member, 8); },
          [](H& h, std::string_view bits) {
            h.*Member = static_cast<std::uint8_t>(BinToDec(bits.substr(2)));
            return true;
          }};
}

const Layout& QvrLayout() {
  static const Layout layout = {
      // 00-03
      {32, [](const H& h) { return DigitField(h.SerialNumber, 8); },
       [](H& h, std::string_view bits) {
         h.SerialNumber = ConvertFtoSpace(BinStrToHex(bits));
         return true;
       }},
      // 04-08
      {40, [](const H& h) { return DigitField(h.CustomerNumber, 10); },
       [](H& h, std::string_view bits) {
         h.CustomerNumber = ConvertFtoSpace(BinStrToHex(bits));
         return true;
       }},
      // 09-0B: one digit per nibble
      {24, [](const H& h) { return HexDigitsToBinStr(MmDdYy(h.DateRadio), 24); }, ReadDate},
      // 0C
      Num<&H::Model>(8),
      // 0D-0E
      {16,
       [](const H& h) {
         const std::int32_t byte0D =
             h.SpecialRadio ? kSpecialRadioSynthesizer : ProfileByte(h.Address0x0D);
         return Bits(byte0D, 8) + Bits(0, 8);
       },
       ReadSynthesizerSetup},
      // 0F-10
      {16,
       [](const H& h) {
         return Bits(ProfileByte(h.Address0x0F), 8) + Bits(ProfileByte(h.Address0x10), 8);
       },
       ReadTalkAround},
      // 11
      Num<&H::ChannelSwitchType>(2),
      Num<&H::IntervalATime>(3),
      Num<&H::IntervalBTime>(3),
      // 12
      Num<&H::HoldTimeAfterRx>(2),
      Num<&H::HoldTimeAfterTx>(2),
      Num<&H::TxDelayTime>(3),
      {1, [](const H&) { return std::string("1"); },
       [](H& h, std::string_view bits) {
         h.PriorityChannelMonitorEnable = bits == "1";
         return true;
       }},
      // 13
      Num<&H::ScanListClear>(2),
      Num<&H::ScanHoldConditions>(2),
      Num<&H::ScanMethod>(2),
      Flag<&H::ChannelRollOver>(),
      {1, [](const H& h) { return std::string(h.PriorityCnlMonitorCycle == 1 ? "1" : "0"); },
       Num<&H::PriorityCnlMonitorCycle>(1).read},
      // 14 bits 7-2
      Num<&H::LoopSwitchTimer>(2),
      {2, [](const H& h) { return ProfileBits(h.Address0x14, 2, 2); },
       Num<&H::DigitalControlSquelch>(2).read},
      Num<&H::AuxKeyType>(2),
      // 14 bits 1-0, 15
      {10,
       [](const H& h) {
         return ProfileBits(h.Address0x14, 6, 2) + Bits(ProfileByte(h.Address0x15), 8);
       },
       ReadCenterRx},
      // 16 bits 7-2
      Num<&H::PriorityCnlMonitorTime>(2),
      Flag<&H::BeepA>(),
      Flag<&H::BeepB>(),
      Flag<&H::BeepC>(),
      Flag<&H::BeepD>(),
      // 16 bits 1-0, 17
      {10,
       [](const H& h) {
         return ProfileBits(h.Address0x16, 6, 2) + Bits(ProfileByte(h.Address0x17), 8);
       },
       ReadCenterTx},
      // 18-1A
      Calibration<&H::NormalPower>(),
      Calibration<&H::DePower>(),
      Calibration<&H::MaxModulation>(),
      // 1B
      Num<&H::CrystalCharType>(2),
      Num<&H::FrequencyControlData>(6),
      // 1C
      Num<&H::BusyChannelLockOut>(2),
      Num<&H::TxTimeOutTimer>(3),
      LowFlag<&H::OffHookScanStop>(),
      Fixed("11"),
      // 1D-1E
      Num<&H::CTCSSRiseTime>(4),
      Num<&H::CTCSSFallTime>(4),
      Num<&H::CDCSSFallTime>(4),
      Num<&H::ChatteringCount>(4),
      // 1F
      {2, [](const H& h) { return std::string(h.Priority2Channel ? "11" : "00"); },
       [](H& h, std::string_view bits) {
         h.Priority2Channel = bits == "11";
         return true;
       }},
      Fixed("111111"),
      // 20
      Num<&H::CDCSSRiseErrCount>(4),
      Num<&H::CDCSSFallErrCount>(4),
      // 21
      Fixed("11111111"),
  };
  return layout;
}

}  // namespace

bool clsRadioHeader::CreateRadioHeader() {
  // The radio keeps its own calibration; the block always carries the erased values.
  NormalPower = 255;
  DePower = 255;
  MaxModulation = 255;
  FrequencyControlData = 255;
  CrystalCharType = 2;
  CDCSSRiseErrCount = 0;
  RadioHeader = BinStrToHex(WriteBits(*this, QvrLayout()));
  return true;
}

bool clsRadioHeader::BreakUpRadioHeader() {
  if (RadioHeader.size() < kQvrBlockDigits) {
    RaiseInvalidArgument("BreakUpRadioHeader", "The radio settings block is incomplete");
  }
  return ReadBits(*this, QvrLayout(), HexToBinStr(RadioHeader.substr(0, kQvrBlockDigits)));
}

std::string clsRadioHeader::Address(std::int32_t lngHexAddress, std::int16_t intLen) const {
  constexpr std::int32_t kBlockStart = 0x1880;
  return tallisk::Address(RadioHeader, lngHexAddress, intLen, kBlockStart);
}

std::string clsRadioHeader::ConvertFtoSpace(const std::string& strText) const {
  return tallisk::ConvertFtoSpace(strText);
}

}  // namespace tallisk
