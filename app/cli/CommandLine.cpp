// The program's command line: the commands, their options and their help, and the few
// answers that need no programming (the version, where the files live, a default image).

#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/Commands.h"
#include "files/ProgramPaths.h"
#include "files/StartupFiles.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/errors.h"
#include "tallisk/version.h"

namespace tallisk {

namespace {

namespace fs = std::filesystem;

void Row(std::ostream& out, const std::string& name, const std::string& what) {
  out << "  " << std::left << std::setw(18) << name << what << "\n";
}

std::string UserFile(const fs::path& file) {
  std::error_code error;
  return fs::exists(file, error) ? "present" : "not written yet";
}

// What the program reads from each installation file, or that it is missing. Returns
// false when one is missing or unusable.
bool ShowInstallationFiles(std::ostream& out) {
  bool complete = true;
  auto present = [&](const fs::path& file) {
    std::error_code error;
    if (fs::is_regular_file(file, error)) return true;
    Row(out, file.filename().string(), "MISSING");
    complete = false;
    return false;
  };
  if (present(ControlFile())) {
    const FamilyConfiguration families = ReadFamilyConfiguration(ControlFile());
    std::string offered = families.QvrEnabled && families.Km2Enabled ? "QVR and KM2"
                          : families.QvrEnabled                      ? "QVR only"
                                                                     : "KM2 only";
    Row(out, kControlFileName, "offers " + offered);
  }
  if (present(KM2TailFile())) {
    const std::string tail = ReadKM2Tail(KM2TailFile());
    if (tail.empty()) complete = false;
    Row(out, kKM2TailFileName,
        tail.empty() ? "UNUSABLE (not a KM2 image)"
                     : "KM2 image tail of " + std::to_string(tail.size()) + " hex digits");
  }
  if (present(ModelHelpFile())) {
    Row(out, kModelHelpFileName,
        std::to_string(ReadModelHelp(ModelHelpFile()).size()) + " characters of KM2 model help");
  }
  // The database the window loads its profiles from, wherever that is.
  try {
    const fs::path database = clsOperator::DatabaseFile();
    clsOperator qvr, km2;
    qvr.LoadProfiles();
    km2.LoadProfilesKM2();
    std::string where;
    if (database.parent_path() != InstallDataFolder()) where = " from " + database.string();
    Row(out, kProfileDatabaseFileName,
        std::to_string(qvr.RadioData->Count()) + " QVR and " +
            std::to_string(km2.RadioData->Count()) + " KM2 models" + where);
  } catch (const TalliskError& e) {
    Row(out, kProfileDatabaseFileName, "UNUSABLE: " + e.Description());
    complete = false;
  }
  return complete;
}

int ShowPaths(std::ostream& out) {
  out << "Installation files  " << InstallDataFolder().string() << "\n";
  const bool complete = ShowInstallationFiles(out);
  out << "User configuration  " << UserConfigFolder().string() << "\n";
  Row(out, kOptionsFileName, UserFile(OptionsFile()));
  Row(out, kPortsFileName, UserFile(UserConfigFolder() / kPortsFileName));
  out << "User state          " << UserStateFolder().string() << "\n";
  Row(out, kReadLogFileName, UserFile(ReadLogFile()));
  Row(out, kWriteLogFileName, UserFile(WriteLogFile()));
  Row(out, kReadDumpFileName, UserFile(ReadDumpFile()));
  Row(out, "history", UserFile(UserStateFolder() / "history"));
  return complete ? kExitDone : kExitFailed;
}

// The S1 lines of a QVR radio built from default settings, 16 channels unused: nothing but
// the image, so it can go straight into a file.
int ShowDefaultImage(std::ostream& out, std::ostream& err) {
  try {
    clsRadioHeader header;
    header.CreateRadioHeader();
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 0; n < 16; ++n) {
      clsChannel channel;
      channel.CreateChannelData();
      creator.colChannelData.Add(channel.ChannelData);
    }
    creator.CreateString();
    out << creator.ProgrammingStringPart1 << creator.ProgrammingStringPart2;
  } catch (const TalliskError& e) {
    err << "tallisk: " << e.Description() << " #" << e.Number() << "\n";
    return kExitFailed;
  }
  return kExitDone;
}

constexpr char kPortHelp[] =
    "the radio's port: a port number as the options window offers it (COM2 or 2, through the "
    "same port map), a device path (/dev/ttyUSB0), or a virtual radio (sim:qvr, sim:km2)";

struct Definitions {
  CLI::App App{
      "Tallisk programs QVR and KM2 land-mobile radios over a serial cable. Without a "
      "command it opens its window, with FILE loaded when one is named.",
      "tallisk"};
  CommandOptions Options;
  bool Version = false;
  bool Paths = false;
  bool DefaultImage = false;
  bool ManPage = false;
  bool QuitAfterStart = false;
  std::string WindowFile;
  std::vector<std::pair<CLI::App*, int (*)(CommandContext&, const CommandOptions&)>> Commands;

  Definitions() {
    App.add_flag("--version", Version, "print the program's version");
    App.add_flag("--paths", Paths,
                 "where the program's files live, and whether the installation's own files are "
                 "there (exit status 1 when one is missing or unusable)");
    App.add_flag("--default-image", DefaultImage,
                 "print the S1 lines of a QVR programming made from default settings");
    App.add_flag("--quit-after-start", QuitAfterStart,
                 "open the window and end as soon as its start page is drawn");
    App.add_flag("--man-page", ManPage, "print the manual page")->group("");
    App.add_option("FILE", WindowFile, "a .qvr or .km2 file to open in the window");
    App.require_subcommand(0, 1);

    auto* read =
        Command("read", "read the radio on a port and save its programming to a file", ReadCommand);
    read->add_option("--port", Options.Port, kPortHelp)->required();
    read->add_option("--family", Options.Family, "the radio's family (default: the window's)")
        ->check(CLI::IsMember({"qvr", "km2"}));
    read->add_option("-o,--output", Options.Output, "the .qvr or .km2 file to save")->required();

    auto* write = Command("write",
                          "write a radio file into the radio on a port, then read the radio "
                          "back and compare",
                          WriteCommand);
    write->add_option("FILE", Options.File, "the .qvr or .km2 file to write")->required();
    write->add_option("--port", Options.Port, kPortHelp)->required();
    write->add_flag("--no-verify", Options.NoVerify, "do not read the radio back after writing");
    write->add_option("--serial", Options.Serial, "the serial number to write into the radio");

    auto* verify =
        Command("verify", "read the radio on a port and compare it with a file", VerifyCommand);
    verify->add_option("FILE", Options.File, "the .qvr or .km2 file")->required();
    verify->add_option("--port", Options.Port, kPortHelp)->required();

    auto* diff = Command("diff",
                         "tell two programmings apart, field by field, then by the bytes no "
                         "field covers (exit status 1 when they differ)",
                         DiffCommand);
    diff->add_option("A", Options.File, "a radio file, or port:P for the radio on P read now")
        ->required();
    diff->add_option("B", Options.Other, "the same")->required();
    diff->add_option("--family", Options.Family,
                     "the family of a radio read (default: the file's, else the window's)")
        ->check(CLI::IsMember({"qvr", "km2"}));

    auto* show = Command("show",
                         "model, serial and customer number, date, and the channels and groups "
                         "in use",
                         ShowCommand);
    show->add_option("FILE", Options.File, "a radio file, or port:P")->required();
    show->add_option("--family", Options.Family,
                     "the family of a radio read (default: the window's)")
        ->check(CLI::IsMember({"qvr", "km2"}));

    auto* report = Command("report", "the printed report: a PDF, or its text on standard output",
                           ReportCommand);
    report->add_option("FILE", Options.File, "the .qvr or .km2 file")->required();
    report->add_option("-o,--output", Options.Output, "the .pdf file to write");

    auto* exportCommand =
        Command("export", "a radio file as JSON (the whole programming) or CSV (the channel table)",
                ExportCommand);
    exportCommand->add_option("FILE", Options.File, "the .qvr or .km2 file")->required();
    exportCommand->add_option("-o,--output", Options.Output, "the .json or .csv file to write")
        ->required();

    auto* import = Command("import",
                           "a JSON programming, or a CSV channel table onto a base "
                           "programming, as a radio file",
                           ImportCommand);
    import->add_option("IN", Options.File, "the .json or .csv file")->required();
    import->add_option("--onto", Options.Other,
                       "the radio file whose programming a CSV's channels go onto");
    import->add_option("-o,--output", Options.Output, "the .qvr or .km2 file to write")->required();

    Command("ports",
            "the serial devices: path, description, maker, serial number, USB vendor:product, "
            "and the port numbers that reach each",
            PortsCommand);
  }

  CLI::App* Command(const std::string& name, const std::string& description,
                    int (*run)(CommandContext&, const CommandOptions&)) {
    CLI::App* command = App.add_subcommand(name, description);
    if (name != "ports" && name != "show" && name != "diff" && name != "export")
      command->add_flag("-q,--quiet", Options.Quiet, "no progress and no notes on standard error");
    Commands.emplace_back(command, run);
    return command;
  }
};

std::string Roff(std::string text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\')
      escaped += "\\e";
    else if (c == '-')
      escaped += "\\-";
    else
      escaped += c;
  }
  return escaped;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, const char* const argv[], CommandContext& context) {
  if (argc < 2) return std::nullopt;
  // Qt's own options (-platform offscreen, -style fusion, -reverse) are the window's toolkit's
  // to take; they are no command's.
  static const std::vector<std::string> qtWithValue = {"-platform",
                                                       "-style",
                                                       "-stylesheet",
                                                       "-geometry",
                                                       "-qwindowgeometry",
                                                       "-display",
                                                       "-session",
                                                       "-name",
                                                       "-title",
                                                       "-qwindowtitle",
                                                       "-qwindowicon",
                                                       "-plugin",
                                                       "-platformpluginpath",
                                                       "-platformtheme"};
  static const std::vector<std::string> qtFlags = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                                   "-sync"};
  std::vector<std::string> arguments;
  for (int i = argc - 1; i >= 1; --i) arguments.emplace_back(argv[i]);
  std::vector<std::string> ours;
  for (std::size_t i = arguments.size(); i-- > 0;) {
    const std::string& argument = arguments[i];
    const auto named = [&](const std::vector<std::string>& list) {
      return std::find(list.begin(), list.end(), argument) != list.end();
    };
    if (named(qtWithValue)) {
      if (i > 0) --i;
      continue;
    }
    if (!named(qtFlags)) ours.push_back(argument);
  }
  if (ours.empty()) return std::nullopt;
  std::reverse(ours.begin(), ours.end());
  Definitions d;
  try {
    // CLI11 takes the arguments last first.
    d.App.parse(ours);
  } catch (const CLI::CallForHelp&) {
    context.Out << d.App.help();
    return kExitDone;
  } catch (const CLI::ParseError& e) {
    context.Err << "tallisk: " << e.what() << " (tallisk --help lists the commands)\n";
    return kExitUsage;
  }
  if (d.ManPage) {
    context.Out << ManualPage();
    return kExitDone;
  }
  for (const auto& [command, run] : d.Commands)
    if (command->parsed()) return run(context, d.Options);
  if (d.Version || d.Paths || d.DefaultImage) {
    int status = kExitDone;
    if (d.Version) context.Out << "Tallisk " << LibraryVersion() << "\n";
    if (d.Paths) status = std::max(status, ShowPaths(context.Out));
    if (d.DefaultImage) status = std::max(status, ShowDefaultImage(context.Out, context.Err));
    return status;
  }
  if (!d.WindowFile.empty()) context.FileToOpen = d.WindowFile;
  return std::nullopt;
}

std::string ManualPage() {
  Definitions d;
  std::ostringstream man;
  man << ".TH TALLISK 1 \"\" \"Tallisk " << LibraryVersion() << "\" \"User Commands\"\n"
      << ".SH NAME\ntallisk \\- program QVR and KM2 land\\-mobile radios\n"
      << ".SH SYNOPSIS\n.B tallisk\n[\\fIFILE\\fR]\n.br\n.B tallisk\n\\fICOMMAND\\fR "
         "[\\fIOPTIONS\\fR]\n"
      << ".SH DESCRIPTION\n"
      << Roff(d.App.get_description()) << "\n";
  auto options = [&](const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
      if (option->get_group().empty() || option->get_name() == "--help") continue;
      man << ".TP\n.B " << Roff(option->get_name(false, true)) << "\n"
          << Roff(option->get_description()) << "\n";
    }
  };
  man << ".SH OPTIONS\n";
  options(d.App);
  man << ".SH COMMANDS\n";
  for (const auto& [command, run] : d.Commands) {
    man << ".SS " << command->get_name() << "\n" << Roff(command->get_description()) << "\n";
    options(*command);
  }
  man << ".SH EXIT STATUS\n"
         ".TP\n.B 0\ndone\n"
         ".TP\n.B 1\nthe radio or the verification failed, or diff found a difference\n"
         ".TP\n.B 2\na usage error\n"
         ".TP\n.B 3\na file that could not be read, understood or written\n"
         ".SH FILES\n"
         "The formats of the JSON and CSV files are described in json.md and csv.md of the "
         "program's documentation. \\fBtallisk \\-\\-paths\\fR tells where the program's own "
         "files live.\n"
         ".SH EXAMPLES\n"
         ".nf\ntallisk read \\-\\-port COM1 \\-o radio.km2\n"
         "tallisk write radio.km2 \\-\\-port /dev/ttyUSB0 \\-\\-serial KM0043\n"
         "tallisk diff old.km2 port:COM1\n"
         "tallisk export radio.km2 \\-o radio.json\n.fi\n";
  return man.str();
}

}  // namespace tallisk
