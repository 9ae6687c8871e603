// The commands that talk to a radio: read, write, verify, and the list of serial ports.

#include <algorithm>
#include <iostream>
#include <map>

#include "cli/Commands.h"
#include "link/PortMap.h"
#include "ui/ProgrammingDiff.h"

namespace tallisk {

namespace {

RadioFamily FamilyFor(const CommandSession& session, const CommandOptions& options,
                      const PortChoice& port) {
  if (options.Family == "km2") return RadioFamily::KM2;
  if (options.Family == "qvr") return RadioFamily::QVR;
  if (port.Device.starts_with(kSimKM2)) return RadioFamily::KM2;
  if (port.Device.starts_with(kSimQVR)) return RadioFamily::QVR;
  // The family the window would start with.
  return static_cast<RadioFamily>(const_cast<CommandSession&>(session).Window().RadioType);
}

bool OutputOfFamily(CommandContext& context, const std::string& output, RadioFamily family) {
  const std::string wanted = family == RadioFamily::KM2 ? ".km2" : ".qvr";
  if (std::filesystem::path(output).extension() == wanted) return true;
  context.Err << "tallisk: " << output << ": a " << (family == RadioFamily::KM2 ? "KM2" : "QVR")
              << " programming is saved as a " << wanted << " file\n";
  return false;
}

}  // namespace

std::optional<RadioFamily> FamilyOption(const CommandOptions& options) {
  if (options.Family == "km2") return RadioFamily::KM2;
  if (options.Family == "qvr") return RadioFamily::QVR;
  return std::nullopt;
}

std::optional<PortChoice> PortOption(CommandContext& context, const std::string& text) {
  auto port = ChoosePort(text, context.Folders, context.Devices);
  if (!port)
    context.Err << "tallisk: --port " << text
                << ": a port number (COM1 to COM8, or 1 to 8), a device path or a virtual radio "
                   "(sim:qvr, sim:km2) is wanted\n";
  return port;
}

std::optional<ProgrammingParts> ProgrammingOf(CommandContext& context, CommandSession& session,
                                              const std::string& source, int& status,
                                              std::optional<RadioFamily> family) {
  if (source.starts_with("port:")) {
    const auto port = PortOption(context, source.substr(5));
    if (!port) {
      status = kExitUsage;
      return std::nullopt;
    }
    CommandOptions none;
    if (!session.Read(*port, family ? *family : FamilyFor(session, none, *port))) {
      status = kExitFailed;
      return std::nullopt;
    }
  } else if (!session.Load(source)) {
    status = kExitFile;
    return std::nullopt;
  }
  auto parts = session.Programming();
  if (!parts) status = kExitFile;
  return parts;
}

int ReadCommand(CommandContext& context, const CommandOptions& options) {
  const auto port = PortOption(context, options.Port);
  if (!port) return kExitUsage;
  CommandSession session(context, options.Quiet);
  const RadioFamily family = FamilyFor(session, options, *port);
  if (!OutputOfFamily(context, options.Output, family)) return kExitUsage;
  if (!session.Read(*port, family)) return kExitFailed;
  session.About(options.Output);
  if (!session.Window().SaveRadioFile(options.Output)) return kExitFile;
  if (!options.Quiet) context.Err << "tallisk: " << options.Output << ": saved\n";
  return kExitDone;
}

int WriteCommand(CommandContext& context, const CommandOptions& options) {
  const auto port = PortOption(context, options.Port);
  if (!port) return kExitUsage;
  CommandSession session(context, options.Quiet);
  if (!session.Load(options.File)) return kExitFile;
  frmMain& w = session.Window();
  if (!options.Serial.empty()) {
    // The serial number takes what its field takes, as typed or pasted there.
    const TextField& field = w.txtSerialNumber;
    if (field.Filtered(options.Serial) != options.Serial ||
        (field.Accepts && !field.Accepts(options.Serial))) {
      context.Err << "tallisk: --serial " << options.Serial
                  << ": the radio cannot hold this serial number (at most " << field.MaxLength
                  << " characters, as its field takes them)\n";
      return kExitUsage;
    }
    w.txtSerialNumber.SetText(options.Serial);
    w.RadioHeader.SerialNumber = options.Serial;
  }
  session.UsePort(*port);
  session.Verify(!options.NoVerify);
  if (!options.Quiet)
    context.Err << "tallisk: " << port->Text << ": writing " << options.File << "\n";
  const frmMain::WriteOutcome outcome = w.WriteForBatch();
  if (!options.Quiet || outcome == frmMain::WriteOutcome::Failed) {
    const std::string said = w.lblWriteToRadioInfo.Caption();
    if (!said.empty()) context.Err << "tallisk: " << port->Text << ": " << said << "\n";
  }
  switch (outcome) {
    case frmMain::WriteOutcome::Verified:
    case frmMain::WriteOutcome::Written:
      return kExitDone;
    case frmMain::WriteOutcome::Failed:
    case frmMain::WriteOutcome::NotStarted:
      break;
  }
  if (outcome == frmMain::WriteOutcome::Failed)
    context.Err << "tallisk: " << port->Text << ": " << w.LastWriteResult() << "\n";
  return kExitFailed;
}

int VerifyCommand(CommandContext& context, const CommandOptions& options) {
  const auto port = PortOption(context, options.Port);
  if (!port) return kExitUsage;
  CommandSession session(context, options.Quiet);
  if (!session.Load(options.File)) return kExitFile;
  const auto file = session.Programming();
  if (!file) return kExitFile;
  if (!session.Read(*port, file->Family)) return kExitFailed;
  const auto radio = session.Programming();
  if (!radio) return kExitFailed;
  const auto differences = DescribeDifferences(*file, *radio);
  for (const auto& line : differences) context.Out << line << "\n";
  if (!differences.empty()) {
    context.Err << "tallisk: " << port->Text << ": the radio does not hold " << options.File << " ("
                << differences.size() << " difference" << (differences.size() == 1 ? "" : "s")
                << ")\n";
    return kExitFailed;
  }
  if (!options.Quiet)
    context.Err << "tallisk: " << port->Text << ": holds " << options.File << "\n";
  return kExitDone;
}

int PortsCommand(CommandContext& context, const CommandOptions&) {
  const std::vector<SerialDevice> present = context.Devices.Present();
  const PortOverrides named = LoadPortOverrides(context.Folders.Configuration / kPortsFileName);
  // Which port numbers of the options reach each device.
  std::map<std::string, std::string> numbers;
  for (int n = 1; n <= 8; ++n) {
    const auto device = named.find(n);
    const std::string path =
        device != named.end() ? device->second : context.Devices.AutomaticDevice(n);
    std::string& list = numbers[path];
    list += (list.empty() ? "" : ", ") + ("COM" + std::to_string(n));
  }
  auto field = [](const std::string& text) { return text.empty() ? std::string("-") : text; };
  context.Out << "DEVICE\tDESCRIPTION\tMAKER\tSERIAL\tUSB\tPORTS\n";
  for (const SerialDevice& device : present) {
    context.Out << device.Path << "\t" << field(device.Description) << "\t" << field(device.Maker)
                << "\t" << field(device.SerialNumber) << "\t" << field(device.UsbId) << "\t"
                << field(numbers[device.Path]) << "\n";
    numbers.erase(device.Path);
  }
  // Port numbers pointed at devices that are not there now, and the virtual radios.
  for (const auto& [path, list] : numbers) {
    if (path.empty()) continue;
    const bool simulated = path.starts_with(kSimDevicePrefix);
    context.Out << path << "\t" << (simulated ? "virtual radio" : "not present") << "\t-\t-\t-\t"
                << list << "\n";
  }
  return kExitDone;
}

}  // namespace tallisk
