// Whole images from settings and back, as a save, a write or a read does them: every record
// encoded, the image assembled, split again and every record decoded.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"

namespace {

using namespace tallisk;

void QvrBand(clsChannel& ch) {
  ch.ModelName = "VHF 148-174 MHz";
  ch.PLLReferenceFreq = 6.25f;
  ch.RxIF = ch.TxIF = 21400;
  ch.Prescaler = "64/65";
}

void BM_QvrImageBuildAndSplit(benchmark::State& state) {
  clsRadioHeader header;
  header.SerialNumber = "12345";
  header.Address0x0D = "0x4A";
  header.Address0x14 = "XX01XX10";
  std::vector<clsChannel> channels(16);
  for (int n = 0; n < 16; ++n) {
    clsChannel& ch = channels[static_cast<std::size_t>(n)];
    QvrBand(ch);
    ch.RxFrequency = 150012500 + 25000.0 * n;
    ch.TxFrequency = 155012500 + 25000.0 * n;
    ch.RxSignalling = n % 2;
    ch.RxCTCSSCode = static_cast<std::uint8_t>(n);
    ch.TxSignalData = static_cast<std::int16_t>(-19 * n);
    ch.TxSignalling = 1;
    ch.AuxData = "11111111";
  }
  for (auto _ : state) {
    header.CreateRadioHeader();
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (clsChannel& ch : channels) {
      ch.CreateChannelData();
      creator.colChannelData.Add(ch.ChannelData);
    }
    creator.CreateString();

    clsStringCreator splitter;
    splitter.EntireString = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
    splitter.BreakUpString();
    clsRadioHeader read;
    read.RadioHeader = splitter.RadioHeader;
    read.BreakUpRadioHeader();
    for (int n = 1; n <= 16; ++n) {
      clsChannel ch;
      QvrBand(ch);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelData();
      benchmark::DoNotOptimize(ch.RxFrequency);
    }
  }
}
BENCHMARK(BM_QvrImageBuildAndSplit)->Unit(benchmark::kMicrosecond);

void Km2Band(clsChannel& ch) {
  ch.ModelName = "52-3712A";
  ch.PLLReferenceFreq = 12.5f;
  ch.RxIF = ch.TxIF = 214000;
  ch.prsclKM2 = 1;
}

void BM_Km2ImageBuildAndSplit(benchmark::State& state) {
  clsRadioHeader header;
  header.ModelName = "52-3712A";  // asks no identification questions when read
  header.IFRx = header.IFTx = 214000;
  header.PLLReferenceFreq = 12.5f;
  header.KM2Tail = std::string(3654, 'F');
  std::vector<clsChannel> channels(320);
  std::vector<clsChannelGroup> table(320);
  for (int n = 0; n < 320; ++n) {
    clsChannel& ch = channels[static_cast<std::size_t>(n)];
    Km2Band(ch);
    ch.ChannelName = "CH" + std::to_string(n + 1);
    ch.RxFrequency = 150012500 + 12500.0 * n;
    ch.TxFrequency = 155012500 + 12500.0 * n;
    ch.TxSignalling = 1;
    ch.TxSignalData = -19;
    clsChannelGroup& entry = table[static_cast<std::size_t>(n)];
    entry.Programmed = true;
    entry.ChannelNumber = static_cast<std::int16_t>(n + 1);
    entry.GroupNumber = static_cast<std::int16_t>(n % 16 + 1);
  }
  std::vector<clsGroup> groups(16);

  for (auto _ : state) {
    header.CreateRadioHeaderKM2();
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (clsChannel& ch : channels) {
      ch.CreateChannelDataKM2();
      creator.colChannelData.Add(ch.ChannelData);
      creator.colChannelCheckSum.Add(ch.CheckSumKM2);
    }
    for (clsGroup& g : groups) {
      g.CreateGroupData();
      creator.colGroupData.Add(g.GroupData);
    }
    for (clsChannelGroup& e : table) {
      e.CreateChannelGroup();
      creator.colChannelGroup.Add(e.ChannelGroupStr);
    }
    creator.CreateStringKM2();

    clsStringCreator splitter;
    splitter.EntireString = creator.ProgrammingStringPart1;
    splitter.BreakUpStringKM2();
    clsRadioHeader read;
    read.RadioHeader = splitter.RadioHeader;
    read.BreakUpRadioHeaderKM2();
    for (int n = 1; n <= 320; ++n) {
      clsChannel ch;
      Km2Band(ch);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelDataKM2();
      clsChannelGroup entry;
      entry.ChannelGroupStr = splitter.colChannelGroup.Item(n);
      entry.BreakChannelGroup();
      benchmark::DoNotOptimize(entry.GroupNumber);
    }
    for (int k = 1; k <= 16; ++k) {
      clsGroup g;
      g.GroupData = splitter.colGroupData.Item(k);
      g.BreakGroupData();
      benchmark::DoNotOptimize(g.GroupName);
    }
  }
}
BENCHMARK(BM_Km2ImageBuildAndSplit)->Unit(benchmark::kMicrosecond);

}  // namespace
