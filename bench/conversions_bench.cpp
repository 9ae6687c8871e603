#include <benchmark/benchmark.h>

#include "tallisk/conversions.h"

namespace {

void BM_HexBitRoundTrip(benchmark::State& state) {
  const std::string hex(16384, 'A');
  for (auto _ : state) {
    benchmark::DoNotOptimize(tallisk::BinStrToHex(tallisk::HexToBinStr(hex)));
  }
}
BENCHMARK(BM_HexBitRoundTrip);

}  // namespace
