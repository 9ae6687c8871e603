// The commands on radio files: show, diff, report, export and import.

#include <iostream>

#include "cli/Commands.h"
#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "ui/PageText.h"
#include "ui/ProgrammingDiff.h"

namespace tallisk {

namespace {

std::string Extension(const std::string& file) {
  std::string extension = std::filesystem::path(file).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::string Megahertz(double hertz) {
  char text[32];
  std::snprintf(text, sizeof text, "%11.6f", hertz / 1e6);
  return text;
}

}  // namespace

int DiffCommand(CommandContext& context, const CommandOptions& options) {
  CommandSession session(context, options.Quiet);
  int status = kExitDone;
  // A radio is compared with a file of its own family.
  std::optional<RadioFamily> family = FamilyOption(options);
  if (!family && !options.Other.starts_with("port:")) family = RadioFileFamily(options.Other);
  const auto from = ProgrammingOf(context, session, options.File, status, family);
  if (!from) return status;
  const auto to = ProgrammingOf(context, session, options.Other, status, from->Family);
  if (!to) return status;
  const auto lines = DescribeDifferences(*from, *to);
  for (const auto& line : lines) context.Out << line << "\n";
  return lines.empty() ? kExitDone : kExitFailed;
}

int ShowCommand(CommandContext& context, const CommandOptions& options) {
  CommandSession session(context, options.Quiet);
  int status = kExitDone;
  const auto p = ProgrammingOf(context, session, options.File, status, FamilyOption(options));
  if (!p) return status;
  const bool km2 = p->Family == RadioFamily::KM2;
  std::ostream& out = context.Out;
  out << (km2 ? "KM2" : "QVR") << " programming\n"
      << "model            " << p->Model << "\n"
      << "serial number    " << Trim(p->Settings.SerialNumber) << "\n"
      << "customer number  " << Trim(p->Settings.CustomerNumber) << "\n"
      << "date             " << p->Settings.DateRadio.ToIsoString() << "\n";
  std::vector<std::size_t> used;
  for (std::size_t i = 0; i < p->Channels.size(); ++i)
    if (p->Channels[i].RxFrequency > 0 || p->Channels[i].TxFrequency > 0) used.push_back(i);
  out << "channels in use  " << used.size() << " of " << p->Channels.size() << "\n";
  for (const std::size_t i : used) {
    const clsChannel& c = p->Channels[i];
    char number[8];
    std::snprintf(number, sizeof number, "%4zu", i + 1);
    out << "  " << number << "  ";
    if (km2) out << (c.ChannelName + "      ").substr(0, 6) << "  ";
    out << "receive " << Megahertz(c.RxFrequency) << "  transmit "
        << (c.TxFrequency > 0 ? Megahertz(c.TxFrequency) : std::string("       none")) << " MHz\n";
  }
  if (km2) {
    std::size_t inUse = 0;
    std::string lines;
    for (std::size_t g = 0; g < p->Groups.size(); ++g) {
      std::string members;
      for (const auto& entry : p->ChannelGroups)
        if (entry.Programmed && entry.GroupNumber == static_cast<std::int16_t>(g + 1))
          members += (members.empty() ? "" : ", ") + std::to_string(entry.ChannelNumber);
      if (members.empty()) continue;
      ++inUse;
      lines += "  " + std::to_string(g + 1) + " " + p->Groups[g].GroupName + ": channels " +
               members + "\n";
    }
    out << "groups in use    " << inUse << " of " << p->Groups.size() << "\n" << lines;
  }
  return kExitDone;
}

int ReportCommand(CommandContext& context, const CommandOptions& options) {
  CommandSession session(context, options.Quiet);
  if (!session.Load(options.File)) return kExitFile;
  const ReportDocument report = session.Window().BuildReport();
  if (options.Output.empty()) {
    for (const ReportBlock& block : report)
      for (const std::string& line : block.Lines) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
        context.Out << text << "\n";
      }
    return kExitDone;
  }
  if (Extension(options.Output) != ".pdf") {
    context.Err << "tallisk: " << options.Output << ": the report is written as a .pdf file\n";
    return kExitUsage;
  }
  if (!context.WritePdf) {
    context.Err << "tallisk: " << options.Output << ": this program has no PDF writer\n";
    return kExitFile;
  }
  try {
    context.WritePdf(report, options.Output);
  } catch (const TalliskError& e) {
    context.Err << "tallisk: " << options.Output << ": " << e.Description() << "\n";
    return kExitFile;
  }
  if (!options.Quiet) context.Err << "tallisk: " << options.Output << ": saved\n";
  return kExitDone;
}

int ExportCommand(CommandContext& context, const CommandOptions& options) {
  const std::string format = Extension(options.Output);
  if (format != ".json" && format != ".csv") {
    context.Err << "tallisk: " << options.Output << ": a .json or .csv file is wanted\n";
    return kExitUsage;
  }
  CommandSession session(context, options.Quiet);
  if (!session.Load(options.File)) return kExitFile;
  std::string text;
  if (format == ".json") {
    const auto parts = session.Programming();
    if (!parts) return kExitFile;
    text = ProgrammingJson(*parts);
  } else {
    const auto csv = ChannelCsvOf(session);
    if (!csv) return kExitFile;
    text = *csv;
  }
  try {
    WriteFileAtomically(options.Output, text);
  } catch (const TalliskError& e) {
    context.Err << "tallisk: " << options.Output << ": " << e.Description() << "\n";
    return kExitFile;
  }
  return kExitDone;
}

int ImportCommand(CommandContext& context, const CommandOptions& options) {
  const std::string format = Extension(options.File);
  if (format != ".json" && format != ".csv") {
    context.Err << "tallisk: " << options.File << ": a .json or .csv file is wanted\n";
    return kExitUsage;
  }
  if (format == ".csv" && options.Other.empty()) {
    context.Err << "tallisk: " << options.File
                << ": a CSV holds channels only: name the programming they go onto with --onto\n";
    return kExitUsage;
  }
  const auto text = ReadWholeFile(options.File);
  if (!text) {
    context.Err << "tallisk: " << options.File << ": cannot be read\n";
    return kExitFile;
  }
  CommandSession session(context, options.Quiet);
  frmMain& w = session.Window();
  if (format == ".json") {
    try {
      const ProgrammingJsonText json = ProgrammingJsonText::Parse(*text, options.File);
      session.About(options.File);
      session.ChooseFamily(json.Family());
      const bool shown = json.Family() == RadioFamily::KM2 ? w.ShowImageKM2(json.Image())
                                                           : w.ShowImageQVR(json.Image());
      if (!shown) return kExitFile;
      const auto before = session.Programming();
      if (!before) return kExitFile;
      ProgrammingParts wanted = *before;
      json.ApplyTo(wanted.Model, wanted.Settings, wanted.Channels, wanted.Groups,
                   wanted.ChannelGroups);
      w.TakeFields(wanted);
      // What the radio would hold: the image built, then read back as a radio would be.
      const auto built = session.Programming();
      if (!built) return kExitFile;
      const bool again = json.Family() == RadioFamily::KM2 ? w.ShowImageKM2(built->Image)
                                                           : w.ShowImageQVR(built->Image);
      const auto held = again ? session.Programming() : std::nullopt;
      if (!held) return kExitFile;
      json.CheckHeld(*before, wanted, *held);
    } catch (const TalliskError& e) {
      context.Err << "tallisk: " << e.Description() << "\n";
      return kExitFile;
    }
  } else {
    if (!session.Load(options.Other)) return kExitFile;
    session.About(options.File);
    if (!ApplyChannelCsv(session, *text, options.File)) return kExitFile;
  }
  const RadioFamily family = static_cast<RadioFamily>(w.RadioType);
  const std::string wanted = family == RadioFamily::KM2 ? ".km2" : ".qvr";
  if (Extension(options.Output) != wanted) {
    context.Err << "tallisk: " << options.Output << ": this programming is saved as a " << wanted
                << " file\n";
    return kExitUsage;
  }
  session.About(options.Output);
  if (!w.SaveRadioFile(options.Output)) return kExitFile;
  return kExitDone;
}

}  // namespace tallisk
