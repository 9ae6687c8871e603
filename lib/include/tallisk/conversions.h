#pragma once

// Bit and hex text routines shared by the library and the program.
//
// A bit text is a string of '0' and '1', most significant bit first. A hex text carries a
// byte as two upper-case hex digits. Readers accept lower case and read a pair that is not
// hexadecimal as 0; they never fail on bad digits. Routines that do fail raise
// TalliskError with ErrInvalidArgument or ErrOverflow.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallisk {

// 2 to the power n for n = 0..30; n = 31 gives the sign bit (-2147483648).
std::int32_t PowerOfTwo(int n);

// The bits of value; width >= 0 keeps the low `width` bits (zero-filled, at most 32),
// width < 0 gives the shortest form ("0" for 0, "101" for 5, 32 digits for a negative value).
std::string DecToBinStr(std::int32_t value, int width);

// x rounded to a 32-bit integer (ties to even, overflow outside the range) as exactly
// intLen bits: zero-padded on the left, or only its low intLen bits.
std::string Num2BinStr(double x, int intLen);

// The value of a bit text of at most 32 significant bits; a '1' in position 31 gives a
// negative result. Any character other than '0' or '1' fails.
std::int32_t BinToDec(std::string_view value);

// intLen hex characters of an image text that begins at image address baseAddress,
// starting at image address lngHexAddress. Reading past the end gives a shorter text.
std::string Address(std::string_view image, std::int32_t lngHexAddress, std::int16_t intLen,
                    std::int32_t baseAddress = 0);

// Name fields are padded with hex digit F: every upper-case 'F' becomes a space, then the
// text is trimmed.
std::string ConvertFtoSpace(std::string_view strText);

// Record checksum: the one's complement of the low byte of the sum of the hex pairs.
std::string RecordCheckSum(std::string_view hex);

// The same checksum over the pairs of a whole record that follow its letter and type digit.
std::string TestRecordCheckSum(std::string_view record);

// Eight bits per byte pair.
std::string HexToBinStr(std::string_view hex);

// Four bits per hex digit, the text first padded on the left to a multiple of four.
std::string BinStrToHex(std::string_view bits);

// Four bits per hex digit, as a bit text of exactly `bits` characters (zero-padded on the
// left or cut to its low bits).
std::string HexDigitsToBinStr(std::string_view hex, int bits);

// '1' becomes '0', everything else '1'.
std::string InvertBinStr(std::string_view bits);

// Key filter of the octal code fields: returns the key when it may be typed, else '\0'.
// Octal digits and backspace always pass; '+' and '-' only when part of the text is
// selected (typing replaces it) or the text holds no sign yet.
char OctalKeyFilter(std::string_view fieldText, bool hasSelection, char key);

// --- Number helpers the codecs and pages keep needing ---

// The lenient decimal read of a typed or stored number: leading blanks are skipped, the
// read stops at the first character that cannot continue a number, and a text with no
// number gives 0. Never fails, and always finite: beyond the range of a double a huge number
// reads as the largest double and a tiny one as 0. Independent of the locale.
double ParseNumber(std::string_view text);

// A hex digit text read as an unsigned number; an empty text or one with any character
// that is not a hex digit reads as 0, as does one of more than 16 digits.
std::int64_t ParseHex(std::string_view text);

// Rounding to nearest with ties to even, failing with the overflow error outside the range.
std::int32_t RoundToInt32(double x, const char* source = "CLng");
std::int16_t RoundToInt16(double x, const char* source = "CInt");
std::uint8_t RoundToByte(double x, const char* source = "CByte");

// value as `digits` upper-case hex digits (its low 4 x digits bits).
std::string ToHex(std::uint64_t value, int digits);

}  // namespace tallisk
