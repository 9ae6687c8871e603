// The KM2 settings block, image addresses 1880-1EBB. Only its first 93 bytes and a few
// bytes further on hold settings; the rest is firmware data of the radio that was read,
// carried in KM2Tail and written back with a few fixed patches.

#include <algorithm>
#include <array>
#include <ctime>
#include <string_view>

#include "clsRadioHeaderFields.h"
#include "tallisk/UserPrompt.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

using namespace header_fields;
using H = clsRadioHeader;

constexpr std::int32_t kBlockStart = 0x1880;
constexpr std::int32_t kTailStart = 0x18DD;
constexpr std::int32_t kTestStrEnd = 0x189C;
constexpr std::int16_t kTailDigits = 3654;       // 18DD to the end of the image
constexpr std::int16_t kStoredWordsDigits = 32;  // 1890-189F
constexpr std::int32_t kStoredWordsStart = 0x1890;
// The fields that are read back all lie before 1900.
constexpr std::int16_t kSettingsDigits = (0x1900 - kBlockStart) * 2;

// The synthesiser words that the alternate-prescaler radios need at 1896 and 1898.
constexpr std::int32_t kAlternateWord1896 = 436;
constexpr std::int32_t kAlternateWord1898 = 503;

// --- Model-name tests ---

bool SeventhIs(const H& h, char c) {
  return h.ModelName.size() >= 7 && h.ModelName[6] == c;
}
bool IsDModel(const H& h) {
  return h.ModelName.size() == 9 && h.ModelName[8] == 'D';
}
bool Is5237(const H& h) {
  return h.ModelName.compare(0, 5, "52-37") == 0;
}
bool HasAlternatePrescaler(const H& h) {
  return h.AlternatePreScaler || h.AlternatePreScaler2;
}

// A 16-bit word of DefaultKM2 at 1-based character `position`; missing or non-hex text
// reads 0.
std::int32_t StoredWord(const H& h, std::size_t position) {
  const std::string_view text(h.DefaultKM2);
  if (position - 1 >= text.size()) return 0;
  return static_cast<std::int32_t>(ParseHex(text.substr(position - 1, 4)) & 0xFFFF);
}

// The 2-bit code of the beep volumes and similar choices: 0 is 11, 1 is 10, anything else
// 00. A code 01, which this program never writes, reads as 2 like 00.
std::string Pick2(std::int32_t value) {
  if (value == 0) return "11";
  if (value == 1) return "10";
  return "00";
}

std::int32_t Unpick2(std::string_view bits) {
  if (bits == "11") return 0;
  if (bits == "10") return 1;
  return 2;
}

template <auto Member>
Field Pick2Field() {
  return {2, [](const H& h) { return Pick2(h.*Member); },
          [](H& h, std::string_view bits) {
            h.*Member = Unpick2(bits);
            return true;
          }};
}

// Front panel and option port: types 0-3 as their 4-bit codes, "None" (4) as 1111; any
// code other than 0-3 reads back as "None".
template <auto Member>
Field TypeCodeField() {
  return {4, [](const H& h) { return h.*Member == 4 ? std::string("1111") : Bits(h.*Member, 4); },
          [](H& h, std::string_view bits) {
            const std::int32_t code = BinToDec(bits);
            h.*Member = code <= 3 ? code : 4;
            return true;
          }};
}

// A squelch tail in milliseconds, stored in steps of `step` in one byte.
template <auto Member>
Field TailTimeField(int step) {
  return {8,
          [step](const H& h) {
            return Bits(RoundToInt32(static_cast<double>(h.*Member) / step, "CreateRadioHeaderKM2"),
                        8);
          },
          [step](H& h, std::string_view bits) {
            h.*Member = static_cast<float>(BinToDec(bits) * step);
            return true;
          }};
}

// Text fields are ASCII, padded on the right with spaces; a space is stored as FF.
std::string AsciiBits(const std::string& text, std::size_t bytes) {
  std::string bits;
  for (std::size_t i = 0; i < bytes; ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    bits += Bits(c == ' ' ? 0xFF : static_cast<unsigned char>(c), 8);
  }
  return bits;
}

// The text up to its first FF byte.
std::string AsciiText(std::string_view bits) {
  std::string text;
  for (std::size_t i = 0; i + 8 <= bits.size(); i += 8) {
    const std::int32_t byte = BinToDec(bits.substr(i, 8));
    if (byte == 0xFF) break;
    text += static_cast<char>(byte);
  }
  return text;
}

template <auto Member>
Field TextField(std::size_t bytes) {
  return {static_cast<int>(bytes * 8), [bytes](const H& h) { return AsciiBits(h.*Member, bytes); },
          [](H& h, std::string_view bits) {
            h.*Member = AsciiText(bits);
            return true;
          }};
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// 18C0-18CF: "mmddyy" in ASCII and ten erased bytes. A radio without a stored date
// (anything but six characters) gets today's date.
bool ReadDate(H& h, std::string_view bits) {
  const std::string text = AsciiText(bits);
  if (text.size() != 6) {
    h.DateRadio = Today();
    return true;
  }
  return DateFromMmDdYy(text, h.DateRadio);
}

// --- Reference and synthesiser set-up ---

std::int32_t PrescalerCode(const H& h) {
  if (h.AlternatePreScaler2) return 1;
  if (h.AlternatePreScaler) return 2;
  return StoredWord(h, 5) >> 14;
}

// 14-bit reference divider of the PLL reference frequency; the stored word keeps the
// divider of a 2.5 kHz reference.
std::int32_t ReferenceDivider(const H& h) {
  if (h.PLLReferenceFreq == 12.5f) return 0x0400;
  if (h.PLLReferenceFreq != 2.5f) return 0x0A00;
  return StoredWord(h, 5) & 0x3FFF;
}

std::string TransmitOffsetWord(const H& h) {
  const double step = static_cast<double>(h.PLLReferenceFreq) * 10;
  if (step == 0) RaiseDivisionByZero("CreateRadioHeaderKM2");
  const double offset = (static_cast<double>(h.IFTx) - static_cast<double>(h.IFRx)) / step;
  return Bits(RoundToInt32(offset, "CreateRadioHeaderKM2"), 32);
}

// --- Carried firmware bytes ---

// KM2Tail characters from 1-based `first`, as far as the tail holds whole bytes. A lone
// last digit is no byte of the radio: carried as a byte of its own it would make a block
// cut short look whole.
std::string TailBits(const H& h, std::size_t first, std::size_t digits) {
  if (first - 1 >= h.KM2Tail.size()) return {};
  std::string_view piece = std::string_view(h.KM2Tail).substr(first - 1, digits);
  piece = piece.substr(0, piece.size() - piece.size() % 2);
  return HexToBinStr(piece);
}

Field Carried(std::size_t first, std::size_t digits) {
  return {static_cast<int>(digits * 4),
          [first, digits](const H& h) { return TailBits(h, first, digits); }, nullptr, true};
}

// Bits of a carried byte whose other bits are settings; a tail too short to hold the
// byte gives erased bits.
Field CarriedBits(std::size_t first, std::size_t bitOffset, std::size_t count) {
  return {static_cast<int>(count),
          [=](const H& h) {
            std::string byte = TailBits(h, first, 2);
            if (byte.size() != 8) byte = "11111111";
            return byte.substr(bitOffset, count);
          },
          nullptr};
}

// 18EC-18FF: ten CTCSS key forms of two bytes; only a deluxe radio ("2" models) with
// one-touch signalling selection uses them.
constexpr std::array<std::int16_t H::*, 10> kKeyForms = {
    &H::CTCSSKeyForm1, &H::CTCSSKeyForm2, &H::CTCSSKeyForm3, &H::CTCSSKeyForm4, &H::CTCSSKeyForm5,
    &H::CTCSSKeyForm6, &H::CTCSSKeyForm7, &H::CTCSSKeyForm8, &H::CTCSSKeyForm9, &H::CTCSSKeyForm10};

Field KeyFormField(std::int16_t H::*member) {
  return {16,
          [member](const H& h) {
            const std::int16_t tone = h.*member;
            if (h.OneTouchSelection != 1 || !SeventhIs(h, '2') || tone < 1) {
              return std::string(16, '1');
            }
            return Bits(tone, 8) + "00000111";
          },
          [member](H& h, std::string_view bits) {
            h.*member = bits == std::string(16, '1')
                            ? static_cast<std::int16_t>(-1)
                            : static_cast<std::int16_t>(BinToDec(bits.substr(0, 8)));
            return true;
          }};
}

Layout MakeKm2Layout() {
  Layout layout = {
      // 1880-1887
      TextField<&H::ModelName>(8),
      // 1888-188F
      {32, [](const H& h) { return Bits(RoundToInt32(h.IFRx, "CreateRadioHeaderKM2"), 32); },
       [](H& h, std::string_view bits) {
         h.IFRx = static_cast<float>(BinToDec(bits));
         return true;
       }},
      {32, [](const H& h) { return Bits(RoundToInt32(h.IFTx, "CreateRadioHeaderKM2"), 32); },
       [](H& h, std::string_view bits) {
         h.IFTx = static_cast<float>(BinToDec(bits));
         return true;
       }},
      // 1890-1891
      {16,
       [](const H& h) {
         return Bits(
             RoundToInt16(static_cast<double>(h.PLLReferenceFreq) * 10, "CreateRadioHeaderKM2"),
             16);
       },
       [](H& h, std::string_view bits) {
         h.PLLReferenceFreq = static_cast<float>(static_cast<std::int16_t>(BinToDec(bits))) / 10;
         return true;
       }},
      // 1892-1893
      {2, [](const H& h) { return Bits(PrescalerCode(h), 2); }, Num<&H::PRSCLType>(2).read},
      {14, [](const H& h) { return Bits(ReferenceDivider(h), 14); }, nullptr},
      // 1894-1899
      {16, [](const H& h) { return Bits(StoredWord(h, 9), 16); }, nullptr},
      {16,
       [](const H& h) {
         return Bits(HasAlternatePrescaler(h) ? kAlternateWord1896 : StoredWord(h, 13), 16);
       },
       nullptr},
      {16,
       [](const H& h) {
         return Bits(HasAlternatePrescaler(h) ? kAlternateWord1898 : StoredWord(h, 17), 16);
       },
       nullptr},
      // 189A
      {1, [](const H& h) { return std::string(IsDModel(h) && h.SpecialRadio ? "0" : "1"); },
       [](H& h, std::string_view bits) {
         h.SpecialRadio = bits == "0";
         return true;
       }},
      Fixed("1111"),
      {1, [](const H& h) { return std::string(IsDModel(h) ? "0" : "1"); },
       [](H& h, std::string_view bits) {
         h.ModelName += bits == "0" ? "D" : " ";
         return true;
       }},
      LowFlag<&H::MomentaryChannelKnob>(),
      {1, [](const H& h) { return std::string(SeventhIs(h, '2') ? "0" : "1"); }, nullptr},
      // 189B
      {3, [](const H& h) { return std::string(h.OperationType == 0 ? "111" : "000"); },
       [](H& h, std::string_view bits) {
         h.OperationType = bits == "111" ? 0 : 1;
         return true;
       }},
      {1,
       [](const H& h) {
         return std::string(h.OperationType != 0 && h.SCANPRIMonitor == 0 ? "0" : "1");
       },
       Num<&H::SCANPRIMonitor>(1).read},
      {4,
       [](const H& h) {
         return HasAlternatePrescaler(h) ? std::string("1111") : Bits(h.DisplayArrangement, 4);
       },
       Num<&H::DisplayArrangement>(4).read},
      // 189C-189F
      {16, [](const H& h) { return Bits(StoredWord(h, 25), 16); }, nullptr},
      {16, [](const H& h) { return Bits(StoredWord(h, 29), 16); }, nullptr},
      // 18A0-18BF
      TextField<&H::SerialNumber>(16),
      TextField<&H::CustomerNumber>(16),
      // 18C0-18CF
      {128, [](const H& h) { return AsciiBits(MmDdYy(h.DateRadio), 16); }, ReadDate},
      // 18D0
      Fixed("00"),
      {1,
       [](const H& h) {
         // The 52-37 keeps the second local receiver inverted: its bit is set for Low.
         const bool high = h.SecondLocalRX != 0;
         const bool bit = Is5237(h) ? !high : high;
         return std::string(bit ? "1" : "0");
       },
       [](H& h, std::string_view bits) {
         const bool bit = bits == "1";
         const bool high = Is5237(h) ? !bit : bit;
         h.SecondLocalRX = high ? 1 : 0;
         return true;
       }},
      Fixed("111"),
      Pick2Field<&H::SelectiveCallReceipt>(),
      // 18D1
      Pick2Field<&H::PRI1PRI2>(),
      Pick2Field<&H::TimeOutBusyLockOut>(),
      Pick2Field<&H::PushButtonFeedback>(),
      Pick2Field<&H::SelfTestAndError>(),
      // 18D2-18D4
      TailTimeField<&H::NoiseSquelchTail>(5),
      TailTimeField<&H::CTCSSSquelchTail>(5),
      TailTimeField<&H::DCSTail>(1),
      // 18D5
      Fixed("11111111"),
      // 18D6
      TypeCodeField<&H::FrontPanelConfiguration>(),
      TypeCodeField<&H::OptionPortType>(),
      // 18D7
      Flag<&H::Aux1>(),
      Flag<&H::Aux2>(),
      Flag<&H::Aux3>(),
      Flag<&H::Aux4>(),
      Flag<&H::Aux5>(),
      Flag<&H::Aux6>(),
      Flag<&H::Aux7>(),
      Flag<&H::Aux8>(),
      // 18D8
      Fixed("01"),
      Flag<&H::MuteUntilSignalled>(),
      // One-touch selection "Group" clears this bit; "Signalling" is told from "Disable"
      // by bit 7 of 18E8, read further on.
      {1, [](const H& h) { return std::string(h.OneTouchSelection == 2 ? "0" : "1"); },
       [](H& h, std::string_view bits) {
         h.OneTouchSelection = bits == "0" ? 2 : 0;
         return true;
       }},
      LowFlag<&H::PRIButtonFunctionEnable>(),
      LowFlag<&H::ScanStopMicOffHook>(),
      {2,
       [](const H& h) {
         if (SeventhIs(h, '1')) return std::string("11");
         if (SeventhIs(h, '2')) return Bits(h.SquelchTonesCodes, 2);
         return std::string("10");
       },
       Num<&H::SquelchTonesCodes>(2).read},
      // 18D9-18DC
      {32, TransmitOffsetWord, nullptr},
      // 18DD-18E4
      Carried(1, 16),
      // 18E5
      CarriedBits(17, 0, 3),
      LowFlag<&H::EnableCTCSSHPF>(),
      CarriedBits(17, 4, 1),
      Flag<&H::EnableGroupRollover>(),
      Flag<&H::EnableChannelRollover>(),
      CarriedBits(17, 7, 1),
      // 18E6-18E7
      Carried(19, 4),
      // 18E8
      {1, [](const H& h) { return std::string(h.OneTouchSelection == 1 ? "0" : "1"); },
       [](H& h, std::string_view bits) {
         if (bits == "0" && h.OneTouchSelection != 2) h.OneTouchSelection = 1;
         return true;
       }},
      {1, [](const H& h) { return std::string(h.ScanChannelSlaving == 0 ? "1" : "0"); },
       [](H& h, std::string_view bits) {
         h.ScanChannelSlaving = bits == "1" ? 0 : 1;
         return true;
       }},
      Fixed("111"),
      {1, [](const H& h) { return std::string(h.ScanChannelSlaving == 0 ? "1" : "0"); }, nullptr},
      {2, [](const H& h) { return std::string(h.TalkAroundMic ? "00" : "11"); },
       [](H& h, std::string_view bits) {
         h.TalkAroundMic = bits == "00";
         return true;
       }},
      // 18E9-18EB
      Carried(25, 6),
  };
  // 18EC-18FF
  for (auto member : kKeyForms) layout.push_back(KeyFormField(member));
  // 1900-1EBB
  layout.push_back(Carried(71, 2936));
  return layout;
}

const Layout& Km2Layout() {
  static const Layout layout = MakeKm2Layout();
  return layout;
}

// --- Fixed firmware patches ---

struct Patch {
  std::int32_t address;
  const char* bytes;
};

// Firmware changes of the special radio (the 52-6581 option).
constexpr Patch kSpecialRadioPatches[] = {
    {0x1B39, "B6FFE9810A2622"},
    {0x1B40, "96AE261E7B104C27167B80F4260D7B40F42703BDD3C186BB97F4397A00F4397100F439"},
    {0x1B83,
     "968C7B084C270572108C200371EF8CD68C112703F75002C6097B104C2705BDC7CD2003BDC7D1C6087B344B2703"
     "7EC7CD7EC7D1"},
    {0x1C37, "7B04F527047280D939717FD939B66000850126057204F5200371FBF5399B39"},
    {0x1D8D, "B698D6840F260C7B104C270471FB153972041539"},
};

// The add and delete keys moved to the special positions, or left at the standard ones.
constexpr Patch kSpecialKeyPatches[] = {{0x1E0F, "A5"}, {0x1E1C, "0D"}, {0x1E1D, "0E"}};
constexpr Patch kStandardKeyPatches[] = {{0x1E1C, "FF"}, {0x1E1D, "FF"}};

// A block cut short by a short tail stays short (the image assembly reports it); a patch
// only overwrites what is there.
void Apply(std::string& block, const Patch& patch) {
  const auto pos = static_cast<std::size_t>(patch.address - kBlockStart) * 2;
  if (pos >= block.size()) return;
  const std::string_view bytes(patch.bytes);
  block.replace(pos, std::min(bytes.size(), block.size() - pos),
                bytes.substr(0, block.size() - pos));
}

// --- Identification of the alternate-prescaler radios ---

constexpr char kIdentificationTitle[] = "Alternate Radio Identification";
constexpr std::array<std::string_view, 4> kAlternateCandidates = {"52-11", "52-91", "52-92",
                                                                  "52-12"};

void IdentifyAlternatePrescaler(H& h) {
  h.AlternatePreScaler = false;
  h.AlternatePreScaler2 = false;
  const std::string_view prefix = std::string_view(h.ModelName).substr(0, 5);
  bool candidate = false;
  for (auto model : kAlternateCandidates) candidate = candidate || prefix == model;
  if (!candidate) return;

  auto& prompt = CurrentUserPrompt();
  if (prompt.AskYesNo(
          "Does the radio being read have model number = 52-9233B-MM and serial number ending "
          "in 'A'?",
          kIdentificationTitle, false)) {
    h.AlternatePreScaler2 = true;
  } else if (prompt.AskYesNo("Does the radio being read have model number between 145216 and "
                             "146215 or between 0107MM0001 and 0107MM1000?",
                             kIdentificationTitle, false)) {
    h.AlternatePreScaler = true;
  }
}

}  // namespace

bool clsRadioHeader::CreateRadioHeaderKM2() {
  std::string block = BinStrToHex(WriteBits(*this, Km2Layout()));
  if (SpecialRadio) {
    for (const auto& patch : kSpecialRadioPatches) Apply(block, patch);
  }
  if (RelocateAddDelKeys == 1) {
    for (const auto& patch : kSpecialKeyPatches) Apply(block, patch);
  } else {
    for (const auto& patch : kStandardKeyPatches) Apply(block, patch);
  }
  RadioHeader = std::move(block);
  return true;
}

bool clsRadioHeader::BreakUpRadioHeaderKM2() {
  const std::string settings = Address(kBlockStart, kSettingsDigits);
  if (settings.size() * 4 < BitsNeeded(Km2Layout())) {
    RaiseInvalidArgument("BreakUpRadioHeaderKM2", "The KM2 radio settings block is incomplete");
  }
  const bool valid = ReadBits(*this, Km2Layout(), HexToBinStr(settings));
  DefaultKM2 = Address(kStoredWordsStart, kStoredWordsDigits);
  KM2Tail = Address(kTailStart, kTailDigits);
  IdentifyAlternatePrescaler(*this);
  return valid;
}

std::string clsRadioHeader::CreateTestStr() const {
  return BinStrToHex(WriteBits(*this, Km2Layout(), (kTestStrEnd - kBlockStart) * 8));
}

}  // namespace tallisk
