// The channel table as CSV, in the channel sheet's format.

#include "cli/Commands.h"

namespace tallisk {

std::optional<std::string> ChannelCsvOf(CommandSession& session) {
  session.Window();
  return std::nullopt;
}

bool ApplyChannelCsv(CommandSession&, const std::string&, const std::string&) {
  return false;
}

}  // namespace tallisk
