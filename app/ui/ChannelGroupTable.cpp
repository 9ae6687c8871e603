#include "ui/ChannelGroupTable.h"

namespace tallisk {

std::int32_t LastProgrammedEntry(const Collection<clsChannelGroup>& table) {
  for (std::int32_t i = table.Count(); i >= 1; --i)
    if (table.Item(i).Programmed) return i;
  return 0;
}

std::int32_t ProgrammedEntryCount(const Collection<clsChannelGroup>& table) {
  std::int32_t count = 0;
  while (count < table.Count() && table.Item(count + 1).Programmed) ++count;
  return count;
}

void CloseChannelGroupGaps(Collection<clsChannelGroup>& table) {
  std::int32_t last = LastProgrammedEntry(table);
  for (std::int32_t i = 1; i < last; ++i) {
    clsChannelGroup& entry = table.Item(i);
    if (entry.Programmed) continue;
    clsChannelGroup& moved = table.Item(last);
    entry.ChannelNumber = moved.ChannelNumber;
    entry.GroupNumber = moved.GroupNumber;
    entry.Programmed = true;
    moved.Programmed = false;
    last = LastProgrammedEntry(table);
  }
}

}  // namespace tallisk
