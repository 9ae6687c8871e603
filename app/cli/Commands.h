#pragma once

// The commands, each over the window's own logic (CommandSession). Each returns the
// program's exit status and says what went wrong on standard error, one line a fault.

#include <optional>
#include <string>

#include "cli/CommandSession.h"

namespace tallisk {

struct CommandOptions {
  bool Quiet = false;
  std::string Port;
  std::string Family;  // "qvr", "km2" or empty
  std::string Output;
  std::string File;
  std::string Other;  // diff's second side; import's base
  std::string Serial;
  bool NoVerify = false;
};

int ReadCommand(CommandContext& context, const CommandOptions& options);
int WriteCommand(CommandContext& context, const CommandOptions& options);
int VerifyCommand(CommandContext& context, const CommandOptions& options);
int PortsCommand(CommandContext& context, const CommandOptions& options);
int DiffCommand(CommandContext& context, const CommandOptions& options);
int ShowCommand(CommandContext& context, const CommandOptions& options);
int ReportCommand(CommandContext& context, const CommandOptions& options);
int ExportCommand(CommandContext& context, const CommandOptions& options);
int ImportCommand(CommandContext& context, const CommandOptions& options);

// The channel table of the programming in the session as CSV, and a CSV's channels put onto
// it; both tell what went wrong and give nothing or false then.
std::optional<std::string> ChannelCsvOf(CommandSession& session);
bool ApplyChannelCsv(CommandSession& session, const std::string& text, const std::string& file);

// The family --family names, if any.
std::optional<RadioFamily> FamilyOption(const CommandOptions& options);
// A port as the user typed it, or the usage error said and nothing.
std::optional<PortChoice> PortOption(CommandContext& context, const std::string& text);
// The programming of a file or, for "port:P", of the radio on P read now; loaded into
// `session`. Nothing when it could not be had (told); `status` says which fault.
// A radio read is taken to be of `family` when one is given.
std::optional<ProgrammingParts> ProgrammingOf(CommandContext& context, CommandSession& session,
                                              const std::string& source, int& status,
                                              std::optional<RadioFamily> family = std::nullopt);

}  // namespace tallisk
