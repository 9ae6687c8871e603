#include <benchmark/benchmark.h>

#include "tallisk/clsOperator.h"
#include "tallisk/colCTCSSFrequencies.h"

namespace {

// What the program does at every change of radio family: a new operator and tone table,
// each loaded from the profile database.
void BM_LoadFamilyQvr(benchmark::State& state) {
  for (auto _ : state) {
    tallisk::clsOperator op;
    op.LoadProfiles();
    tallisk::colCTCSSFrequencies tones;
    tones.LoadCodes();
    benchmark::DoNotOptimize(op.RadioData->Count() + tones.Count());
  }
}
BENCHMARK(BM_LoadFamilyQvr)->Unit(benchmark::kMillisecond);

void BM_LoadFamilyKM2(benchmark::State& state) {
  for (auto _ : state) {
    tallisk::clsOperator op;
    op.LoadProfilesKM2();
    tallisk::colCTCSSFrequencies tones;
    tones.LoadCodesKM2();
    benchmark::DoNotOptimize(op.RadioData->Count() + tones.Count());
  }
}
BENCHMARK(BM_LoadFamilyKM2)->Unit(benchmark::kMillisecond);

// The check behind the Next command of the KM2 model page; it opens the database each time.
void BM_CheckKM2ModelNumber(benchmark::State& state) {
  tallisk::clsOperator op;
  op.LoadProfilesKM2();
  std::string def;
  for (auto _ : state) {
    benchmark::DoNotOptimize(op.IsRadioModelExist("52-8992BD", def));
  }
}
BENCHMARK(BM_CheckKM2ModelNumber)->Unit(benchmark::kMicrosecond);

}  // namespace
