#pragma once

// The printed report of a programming as a document: blocks of text lines, each block in one
// of the report's three styles, in the order the printer takes them. The printing itself (the
// print dialog, fonts, pages) belongs to whoever hands the document to a printer or a PDF.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/colCTCSSFrequencies.h"

namespace tallisk {

enum class ReportStyle { Heading, ChannelHeading, Body };

struct ReportFont {
  const char* Name;
  int Size;  // points
};

// Headings in a proportional face; the library's texts and the KM2 channel table in a
// fixed-pitch one, so their columns line up.
ReportFont FontOf(ReportStyle style);

// Lines printed in one style at one step of the report. A line holds no line end; an empty
// line is a blank line on the page.
struct ReportBlock {
  ReportStyle Style = ReportStyle::Body;
  std::vector<std::string> Lines;

  bool operator==(const ReportBlock&) const = default;
};

using ReportDocument = std::vector<ReportBlock>;

// Texts of the report.
inline constexpr char kReportGeneral[] = "General Radio Information";
inline constexpr char kReportChannels[] = "Channel Information";
inline constexpr char kReportGroups[] = "Group Information";
inline constexpr char kReportChannel[] = "Channel ";
inline constexpr char kReportUndefined[] = "Following Channels Have Not Been Defined";
inline constexpr char kReportProgrammedChannels[] = "Programmed channel:";
inline constexpr char kReportKM2ColumnHeading[] =
    "CH  NAME      RXF[MHZ]  RX-DEC     TXF[MHZ]  RX-DEC    ";
inline constexpr char kChannelNotDefined[] = "This Channel Has Not Been Defined\r\n";

// The QVR report: the settings, every defined channel under its own heading, and the numbers
// of the channels that are not defined (left out when every channel is).
// With a tone table, each CTCSS half prints the tone its stored code names.
ReportDocument PrintReportQVR(const clsRadioHeader& header, std::span<const clsChannel> channels,
                              const colCTCSSFrequencies* tones = nullptr);

// The KM2 report: the settings, one row per channel that has a receive frequency, and every
// group that has programmed channels with those channel numbers. The tone texts of CTCSS
// halves come from the tone table as the channel page lists it (the special-radio bank only
// on the transmit side of a special radio); a code the table does not hold shows no text.
ReportDocument PrintReportKM2(const clsRadioHeader& header, std::span<const clsChannel> channels,
                              std::span<const clsGroup> groups,
                              std::span<const clsChannelGroup> channelGroupTable,
                              const colCTCSSFrequencies& toneTable, bool specialRadio);

// A KM2 tone as the tone choices of the channel page show it: its frequency in shortest form
// after one blank (" 67", " 71.9").
std::string KM2ToneText(const clsCTCSSFrequencies& tone);

}  // namespace tallisk
