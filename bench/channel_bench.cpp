#include <benchmark/benchmark.h>

#include <vector>

#include "tallisk/clsChannel.h"

namespace {

// A full QVR radio: 16 channels on a 6.25 kHz grid with mixed signalling.
std::vector<tallisk::clsChannel> QvrChannels() {
  std::vector<tallisk::clsChannel> channels(16);
  for (int i = 0; i < 16; ++i) {
    auto& ch = channels[static_cast<std::size_t>(i)];
    ch.ModelName = "VHF High A";
    ch.PLLReferenceFreq = 6.25f;
    ch.RxIF = 21400;
    ch.TxIF = 21400;
    ch.Prescaler = i % 2 ? "64/65" : "128/129";
    ch.RxFrequency = 150012500 + 12500.0 * i;
    ch.TxFrequency = 155012500 + 12500.0 * i;
    ch.RxSignalling = i % 3 == 2 ? 3 : i % 3;
    ch.TxSignalling = (i + 1) % 3 == 2 ? 3 : (i + 1) % 3;
    ch.RxCTCSSCode = static_cast<std::uint8_t>(i);
    ch.TxSignalData = static_cast<std::int16_t>(-19 - i);
    ch.TxPowerControl = 1;
    ch.AuxData = "11111111";
  }
  return channels;
}

// A full KM2 radio: 320 named channels with bursts and a 12.5 kHz reference.
std::vector<tallisk::clsChannel> Km2Channels() {
  std::vector<tallisk::clsChannel> channels(320);
  for (int i = 0; i < 320; ++i) {
    auto& ch = channels[static_cast<std::size_t>(i)];
    ch.ModelName = "52-8994";
    ch.PLLReferenceFreq = 12.5f;
    ch.RxIF = 214000;
    ch.TxIF = 214000;
    ch.prsclKM2 = 1;
    ch.ChannelName = "CH" + std::to_string(i);
    ch.SubsignalingType = i % 4;
    ch.RxFrequency = 155012500 + 12500.0 * i;
    ch.TxFrequency = i % 5 ? 160012500 + 12500.0 * i : 0;
    ch.RxSignalling = i % 3 == 2 ? 3 : i % 3;
    ch.TxSignalling = (i + 1) % 3 == 2 ? 3 : (i + 1) % 3;
    ch.RxCTCSSCode = static_cast<std::uint8_t>(i % 40);
    ch.TxSignalData = static_cast<std::int16_t>(-19 - i % 100);
    ch.PTTBurstToneEnable = i % 2;
    ch.BurstDuration = 3200;
    ch.BurstFrequency = 694.4f + i;
  }
  return channels;
}

void BM_QvrChannelsEncodeDecode(benchmark::State& state) {
  auto channels = QvrChannels();
  for (auto _ : state) {
    for (auto& ch : channels) {
      ch.CreateChannelData();
      ch.BreakChannelData();
    }
    benchmark::DoNotOptimize(channels.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(channels.size()));
}
BENCHMARK(BM_QvrChannelsEncodeDecode);

void BM_Km2ChannelsEncodeDecode(benchmark::State& state) {
  auto channels = Km2Channels();
  for (auto _ : state) {
    for (auto& ch : channels) {
      ch.CreateChannelDataKM2();
      ch.BreakChannelDataKM2();
    }
    benchmark::DoNotOptimize(channels.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(channels.size()));
}
BENCHMARK(BM_Km2ChannelsEncodeDecode);

}  // namespace
