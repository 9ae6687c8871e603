#pragma once

// The text forms shared by the printed report of the settings, the channels and the groups.
// Every report line and every number form is made here, so that the three reports print a
// number or a label the same way.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tallisk::report_text {

// Labels take exactly this many columns; the value starts after ": ".
inline constexpr std::size_t kLabelWidth = 30;

// The label padded with spaces or cut to 30 characters, ": ", the value and CR LF.
std::string Line(std::string_view label, std::string_view value);

// Appends Line(label, value) to the report; a value that has no text adds nothing (an
// enumerated setting holding a code the report has no name for).
void AddLine(std::string& report, std::string_view label, std::optional<std::string_view> value);

// The text of `value` in a list of (code, text) pairs; nothing when the code is not listed.
using Names = std::initializer_list<std::pair<std::int32_t, std::string_view>>;
std::optional<std::string_view> NameOf(std::int32_t value, Names names);

std::string_view YesNo(bool value);

// The shortest decimal text that reads back as the same number ("25.5", "210", "-3"), in
// plain decimals at every magnitude (0.00001, never 1e-05).
// The report's general form is this same text.
std::string PlainForm(int value);
std::string PlainForm(float value);

// The plain form with a space in front of a value that is not negative (" 25.5", "-3"),
// the way the report has always printed counts and times.
std::string StrForm(int value);
std::string StrForm(float value);

// A digital squelch code: its sign, then its magnitude in octal digits (19 gives "+23").
// The channel report marks 0 with "+", the KM2 channel table with "-" (it reserves "+" for
// values greater than 0); `zeroIsPositive` chooses.
std::string OctalCode(std::int32_t value, bool zeroIsPositive);

// A frequency in Hz as MHz with six decimals and at least three integer digits:
// "150.012500". The grouped form splits the decimals into kHz and Hz: "150.012 500".
std::string MegahertzText(double hz);
std::string MegahertzGroupedText(double hz);

// `text` right-aligned in a field of `width` columns; a longer text keeps its first
// `width` characters.
std::string RightAligned(std::string_view text, std::size_t width);

}  // namespace tallisk::report_text
