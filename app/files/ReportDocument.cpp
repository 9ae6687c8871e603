#include "files/ReportDocument.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

namespace tallisk {
namespace {

// Appends what one print call after another puts on the page. A text's own CR LF breaks
// the line and every print call ends one, so a text ending in CR LF leaves a blank line
// after it, as the report has always looked.
class ReportWriter {
 public:
  void Style(ReportStyle style) { document_.push_back({style, {}}); }

  void Print(std::string_view text = {}) {
    auto& lines = document_.back().Lines;
    for (;;) {
      const auto end = text.find("\r\n");
      lines.emplace_back(text.substr(0, end));
      if (end == std::string_view::npos) return;
      text.remove_prefix(end + 2);
    }
  }

  ReportDocument Take() { return std::move(document_); }

 private:
  ReportDocument document_;
};

// The undefined channels as "3, 4, 9", a new line begun once a line has run past 30
// characters.
std::string UndefinedList(const std::vector<std::int32_t>& numbers) {
  std::string list;
  std::size_t lineLength = 0;
  for (const auto number : numbers) {
    if (lineLength > 30) {
      list += "\r\n";
      lineLength = 0;
    }
    const std::string piece = std::to_string(number) + ", ";
    list += piece;
    lineLength += piece.size();
  }
  list.resize(list.size() - 2);
  return list;
}

// The tone entry of a code as the channel page's tone choice lists it, empty when the list
// holds no tone with that code.
std::string ToneTextOf(const colCTCSSFrequencies& toneTable, std::int32_t code, bool withSpecial) {
  for (const auto& tone : toneTable) {
    if (tone.SpecialRadioKM2 && !withSpecial) continue;
    if (tone.CTCSSCodeKM2 == code) return KM2ToneText(tone);
  }
  return {};
}

void PrintGroupChannels(ReportWriter& out, std::vector<std::int32_t> numbers) {
  std::sort(numbers.begin(), numbers.end());
  std::string line;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    line += " " + std::to_string(numbers[k]) + " ";
    if ((k + 1) % 10 == 0) {
      out.Print(line);
      line.clear();
    }
  }
  out.Print(line);
}

}  // namespace

ReportFont FontOf(ReportStyle style) {
  switch (style) {
    case ReportStyle::Heading:
      return {"Arial", 14};
    case ReportStyle::ChannelHeading:
      return {"Arial", 12};
    case ReportStyle::Body:
      break;
  }
  return {"Courier", 10};
}

std::string KM2ToneText(const clsCTCSSFrequencies& tone) {
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, tone.CTCSSFreq);
  return " " + std::string(buf, result.ptr);
}

ReportDocument PrintReportQVR(const clsRadioHeader& header, std::span<const clsChannel> channels,
                              const colCTCSSFrequencies* tones) {
  // The tone a channel prints is the one its code names, not whatever the channel page last
  // noted beside the code.
  const auto withTones = [tones](clsChannel channel) {
    if (!tones) return channel;
    for (const auto& tone : *tones) {
      if (tone.Index == channel.RxCTCSSCode) channel.RxSquelchToneFrequency = tone.CTCSSFreq;
      if (tone.Index == channel.TxCTCSSCode) channel.TxSquelchToneFrequency = tone.CTCSSFreq;
    }
    return channel;
  };
  ReportWriter out;
  out.Style(ReportStyle::Heading);
  out.Print(kReportGeneral);
  out.Print();
  out.Style(ReportStyle::Body);
  out.Print(header.CreateHumanViewableString());
  out.Print();
  out.Style(ReportStyle::Heading);
  out.Print(kReportChannels);
  out.Print();

  std::vector<std::int32_t> undefined;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const auto number = static_cast<std::int32_t>(i + 1);
    const std::string text = withTones(channels[i]).CreateHumanViewableString();
    if (text == kChannelNotDefined) {
      undefined.push_back(number);
      continue;
    }
    out.Style(ReportStyle::ChannelHeading);
    out.Print(kReportChannel + std::to_string(number));
    out.Style(ReportStyle::Body);
    out.Print(text);
    out.Print();
  }

  // With every channel defined there is nothing to list, and a heading over an empty list
  // would only make the technician look for channels that are not missing.
  if (!undefined.empty()) {
    out.Style(ReportStyle::Body);
    out.Print(std::string(kReportUndefined) + "\r\n" + UndefinedList(undefined));
    out.Print();
  }
  return out.Take();
}

ReportDocument PrintReportKM2(const clsRadioHeader& header, std::span<const clsChannel> channels,
                              std::span<const clsGroup> groups,
                              std::span<const clsChannelGroup> channelGroupTable,
                              const colCTCSSFrequencies& toneTable, bool specialRadio) {
  ReportWriter out;
  out.Style(ReportStyle::Heading);
  out.Print(kReportGeneral);
  out.Print();
  out.Style(ReportStyle::Body);
  out.Print(header.CreateHumanViewableStringKM2());
  out.Print();
  out.Style(ReportStyle::Heading);
  out.Print(kReportChannels);
  out.Style(ReportStyle::Body);
  out.Print();
  out.Print(kReportKM2ColumnHeading);

  for (std::size_t i = 0; i < channels.size(); ++i) {
    const clsChannel& channel = channels[i];
    // The transmit code of a special-bank tone already carries its bank (100 and up), the
    // code the table lists it under, so it is looked up as stored.
    const std::string rxTone =
        channel.RxSignalling == 0 ? ToneTextOf(toneTable, channel.RxCTCSSCode, false) : "";
    const std::string txTone =
        channel.TxSignalling == 0 ? ToneTextOf(toneTable, channel.TxCTCSSCode, specialRadio) : "";
    const std::string row =
        channel.CreateHumanViewableStringKM2(static_cast<std::int16_t>(i + 1), rxTone, txTone);
    if (!row.empty()) out.Print(row);
  }

  out.Print();
  out.Style(ReportStyle::Heading);
  out.Print(kReportGroups);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto groupNumber = static_cast<std::int16_t>(g + 1);
    std::vector<std::int32_t> members;
    for (const auto& entry : channelGroupTable) {
      if (entry.Programmed && entry.GroupNumber == groupNumber)
        members.push_back(entry.ChannelNumber);
    }
    if (members.empty()) continue;
    out.Style(ReportStyle::Body);
    out.Print();
    out.Print(groups[g].CreateHumanViewableString(groupNumber));
    out.Print(kReportProgrammedChannels);
    PrintGroupChannels(out, std::move(members));
  }
  return out.Take();
}

}  // namespace tallisk
