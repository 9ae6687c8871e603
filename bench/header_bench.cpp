#include <benchmark/benchmark.h>

#include <string>

#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"

namespace {

using tallisk::clsRadioHeader;
using tallisk::clsStringCreator;

clsRadioHeader Km2Header() {
  clsRadioHeader h;
  h.ModelName = "52-3712A";  // no identification questions on reading
  h.IFRx = 21400;
  h.IFTx = 45000;
  h.PLLReferenceFreq = 12.5f;
  h.DefaultKM2 = "007DC123111122223333FFFF44445555";
  h.SerialNumber = "A1234567";
  h.OneTouchSelection = 1;
  h.SpecialRadio = true;
  h.KM2Tail.reserve(3654);
  for (int i = 0; i < 3654; ++i) h.KM2Tail += "0123456789ABCDEF"[i % 16];
  return h;
}

void BM_Km2HeaderBuildAndRead(benchmark::State& state) {
  clsRadioHeader h = Km2Header();
  for (auto _ : state) {
    h.CreateRadioHeaderKM2();
    clsRadioHeader r;
    r.RadioHeader = h.RadioHeader + std::string(648, 'F');
    r.BreakUpRadioHeaderKM2();
    benchmark::DoNotOptimize(r.KM2Tail);
  }
}
BENCHMARK(BM_Km2HeaderBuildAndRead);

void BM_QvrHeaderBuildAndRead(benchmark::State& state) {
  clsRadioHeader h;
  h.SerialNumber = "12345";
  h.Address0x0D = "0x8A";
  h.Address0x14 = "XX01XX10";
  for (auto _ : state) {
    h.CreateRadioHeader();
    clsRadioHeader r;
    r.RadioHeader = h.RadioHeader;
    r.BreakUpRadioHeader();
    benchmark::DoNotOptimize(r.SerialNumber);
  }
}
BENCHMARK(BM_QvrHeaderBuildAndRead);

// The whole KM2 image from its blocks and back, the blocks being ready-made hex texts.
void BM_Km2ImageAssembleAndSplit(benchmark::State& state) {
  clsRadioHeader h = Km2Header();
  h.CreateRadioHeaderKM2();
  for (auto _ : state) {
    clsStringCreator sc;
    for (int n = 0; n < 320; ++n) sc.colChannelData.Add(std::string(32, 'A'));
    for (int g = 0; g < 16; ++g) sc.colGroupData.Add(std::string(64, 'B'));
    for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add("0204");
    for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add("BF");
    sc.RadioHeader = h.RadioHeader;
    sc.CreateStringKM2();
    clsStringCreator split;
    split.EntireString = sc.ProgrammingStringPart1;
    split.BreakUpStringKM2();
    benchmark::DoNotOptimize(split.RadioHeader);
  }
}
BENCHMARK(BM_Km2ImageAssembleAndSplit);

}  // namespace
