#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"

namespace {

// The group block and the channel-group table of one KM2 image: 16 groups and 320 entries,
// as a save or a write encodes them and a read decodes them.
struct GroupBlocks {
  std::array<tallisk::clsGroup, 16> groups;
  std::array<tallisk::clsChannelGroup, 320> table;

  GroupBlocks() {
    for (std::size_t g = 0; g < groups.size(); ++g) {
      groups[g].GroupName = "G" + std::to_string(g + 1);
      groups[g].PriorityChannel1 = static_cast<std::int16_t>(g * 20 + 1);
      groups[g].DTMF2805IDNumber = "12345*#ABC";
    }
    for (std::size_t n = 0; n < table.size(); ++n) {
      table[n].Programmed = n % 5 != 0;
      table[n].ChannelNumber = static_cast<std::int16_t>(n + 1);
      table[n].GroupNumber = static_cast<std::int16_t>(n % 16 + 1);
    }
  }

  void Encode() {
    for (auto& g : groups) g.CreateGroupData();
    for (auto& e : table) e.CreateChannelGroup();
  }

  void Decode() {
    for (auto& g : groups) g.BreakGroupData();
    for (auto& e : table) e.BreakChannelGroup();
  }
};

void BM_GroupBlocksEncode(benchmark::State& state) {
  GroupBlocks blocks;
  for (auto _ : state) {
    blocks.Encode();
    benchmark::DoNotOptimize(blocks.groups[15].GroupData);
    benchmark::DoNotOptimize(blocks.table[319].ChannelGroupStr);
  }
}
BENCHMARK(BM_GroupBlocksEncode);

void BM_GroupBlocksDecode(benchmark::State& state) {
  GroupBlocks blocks;
  blocks.Encode();
  for (auto _ : state) {
    blocks.Decode();
    benchmark::DoNotOptimize(blocks.groups[15].DTMF2805IDNumber);
    benchmark::DoNotOptimize(blocks.table[319].ChannelNumber);
  }
}
BENCHMARK(BM_GroupBlocksDecode);

}  // namespace
