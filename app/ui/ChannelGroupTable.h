#pragma once

// The KM2 table of channel-to-group memberships as the pages keep it: the programmed
// entries sit together from entry 1 up, so the first free entry ends them. Removing
// memberships leaves holes that are filled from the end of the table.

#include <cstdint>

#include "tallisk/clsChannelGroup.h"
#include "tallisk/collection.h"

namespace tallisk {

// The highest programmed entry, 0 when none is.
std::int32_t LastProgrammedEntry(const Collection<clsChannelGroup>& table);

// The programmed entries counted from entry 1 up to the first free one.
std::int32_t ProgrammedEntryCount(const Collection<clsChannelGroup>& table);

// Moves the last programmed entries into the free entries below them until the programmed
// entries are together again. The order of the memberships is not kept.
void CloseChannelGroupGaps(Collection<clsChannelGroup>& table);

}  // namespace tallisk
