#include "ui/ImageModel.h"

#include <algorithm>

#include "tallisk/UserPrompt.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"
#include "ui/PageText.h"

namespace tallisk {

namespace {

// The KM2 prescaler code sits in the top two bits of this byte of the settings block.
constexpr std::int32_t kKM2PrescalerCodeAddress = 0x1892;

// A record cut short by the end of the image is no record: it reads as erased, never as
// half a channel.
std::string WholeOrErased(const Collection<std::string>& records, std::int32_t index,
                          std::size_t digits) {
  if (index <= records.Count() && records.Item(index).size() == digits) return records.Item(index);
  return std::string(digits, 'F');
}

[[noreturn]] void RaiseUnknownModel(const std::string& model) {
  RaiseInvalidArgument("ShowImage", "The radio profiles know no model " + model +
                                        ", so the programming "
                                        "cannot be shown");
}

// Encodes a channel, except one that goes back as it was read: one read without a band (its
// frequencies were never decoded) and still as it was, and one the codec refuses that the
// user has not touched.
void EncodeChannel(const ImageSource& source, std::int32_t n, clsChannel& channel) {
  std::string record, checkSum;
  const auto asRead = [&](bool undecodedOnly) {
    if (!source.Origin || !source.Origin->ChannelAsRead(source.RadioType, n, channel, undecodedOnly,
                                                        record, checkSum))
      return false;
    channel.ChannelData = std::move(record);
    channel.CheckSumKM2 = std::move(checkSum);
    return true;
  };
  if (asRead(true)) return;
  try {
    source.RadioType == 1 ? channel.CreateChannelDataKM2() : channel.CreateChannelData();
  } catch (const TalliskError&) {
    if (!asRead(false)) throw;
  }
}

// The image as read and the decoded programming encoded again, on copies: encoding tunes
// the channels and fills in records, and the decoded objects go to the window as they are.
void RememberOrigin(std::int32_t radioType, std::string read, DecodedImage& d) {
  d.Origin.RadioType = radioType;
  d.Origin.Read = read;
  d.Origin.Channels = d.Channels;
  clsRadioHeader header = d.RadioHeader;
  Collection<clsChannel> channels = d.Channels;
  Collection<clsGroup> groups = d.Groups;
  Collection<clsChannelGroup> table = d.ChannelGroupTable;
  try {
    // A short image (a KM2 tail cut off) is no whole image, and the library would say so.
    const auto previous = SetUserPrompt(nullptr);
    BuiltImage built;
    try {
      built = BuildImage({radioType, header, channels, static_cast<std::int16_t>(channels.Count()),
                          groups, table, d.KM2Tail, d.ModelProfile->Model, &d.Origin});
    } catch (...) {
      SetUserPrompt(previous);
      throw;
    }
    SetUserPrompt(previous);
    if (!built.Whole || built.Records.size() != read.size()) return;
    d.Origin.Baseline = std::move(built.Records);
  } catch (const TalliskError&) {
    // A programming the codecs cannot encode as it was read has no baseline: every record
    // then goes out as built.
  }
}

}  // namespace

void TuneChannels(std::int32_t radioType, const clsRadioHeader& header,
                  Collection<clsChannel>& channels, std::int16_t channelCount,
                  const std::string& modelName) {
  for (std::int32_t i = 1; i <= channelCount && i <= channels.Count(); ++i) {
    clsChannel& channel = channels.Item(i);
    if (!modelName.empty()) channel.ModelName = modelName;
    channel.PLLReferenceFreq = header.PLLReferenceFreq;
    channel.Prescaler = header.PrescalerSwitch;
    channel.RxIF = header.IFRx;
    channel.TxIF = header.IFTx;
    if (radioType == 1) {
      channel.prsclKM2 = header.PRSCLType;
      channel.SpecialRadio = header.SpecialRadio;
      channel.AlternatePreScaler = header.AlternatePreScaler;
      channel.AlternatePreScaler2 = header.AlternatePreScaler2;
    }
  }
}

BuiltImage BuildImage(const ImageSource& source) {
  clsRadioHeader& header = source.RadioHeader;
  clsStringCreator creator;
  BuiltImage built;

  if (source.RadioType != 1) {
    TuneChannels(0, header, source.Channels, source.ChannelCount, source.ModelName);
    for (std::int32_t i = 1; i <= source.ChannelCount && i <= source.Channels.Count(); ++i) {
      clsChannel& channel = source.Channels.Item(i);
      EncodeChannel(source, i, channel);
      creator.colChannelData.Add(channel.ChannelData);
    }
    header.CreateRadioHeader();
    built.Records = header.RadioHeader;
    for (const auto& record : creator.colChannelData) built.Records += record;
    built.Whole = true;
    AssembleImage(0, built);
    return built;
  }

  // The header first: the channels are encoded with the prescaler code it carries, which is
  // the code a read of this image will decode them with.
  header.KM2Tail = source.KM2Tail;
  header.CreateRadioHeaderKM2();
  header.PRSCLType =
      static_cast<std::int16_t>(ParseHex(header.Address(kKM2PrescalerCodeAddress, 2)) >> 6);
  TuneChannels(1, header, source.Channels, source.ChannelCount, source.ModelName);
  for (std::int32_t i = 1; i <= source.ChannelCount && i <= source.Channels.Count(); ++i) {
    clsChannel& channel = source.Channels.Item(i);
    EncodeChannel(source, i, channel);
    creator.colChannelData.Add(channel.ChannelData);
    creator.colChannelCheckSum.Add(channel.CheckSumKM2);
  }
  for (auto& group : source.Groups) {
    group.CreateGroupData();
    creator.colGroupData.Add(group.GroupData);
  }
  for (auto& entry : source.ChannelGroupTable) {
    entry.CreateChannelGroup();
    creator.colChannelGroup.Add(entry.ChannelGroupStr);
  }
  creator.RadioHeader = header.RadioHeader;
  creator.KM2Tail = source.KM2Tail;
  built.Whole = creator.CreateStringKM2();
  built.Records = std::move(creator.ProgrammingStringPart1);
  AssembleImage(1, built);
  return built;
}

void AssembleImage(std::int32_t radioType, BuiltImage& built) {
  if (radioType == 1) {
    built.Part1 = built.Records;
    built.Part2.clear();
    return;
  }
  clsStringCreator creator;
  creator.RadioHeader = built.Records.substr(0, std::min(built.Records.size(), kQVRHeaderDigits));
  for (std::size_t at = kQVRHeaderDigits; at < built.Records.size(); at += kQVRChannelDigits)
    creator.colChannelData.Add(built.Records.substr(at, kQVRChannelDigits));
  creator.CreateString();
  built.Part1 = std::move(creator.ProgrammingStringPart1);
  built.Part2 = std::move(creator.ProgrammingStringPart2);
}

DecodedImage DecodeImage(std::int32_t radioType, const std::string& image,
                         const clsOperator& profiles) {
  DecodedImage d;
  clsRadioHeader& header = d.RadioHeader;
  clsStringCreator creator;
  creator.EntireString = image;

  if (radioType != 1) {
    creator.BreakUpString();
    header.RadioHeader = creator.RadioHeader;
    header.BreakUpRadioHeader();
    const auto model = static_cast<std::int16_t>(header.Model);
    d.BandProfile = profiles.GetNonPersistentMatchBasedOnAddresses(
        model, header.Address0x0D, header.Address0x0F, header.Address0x10, header.Address0x14,
        header.Address0x15, header.Address0x16, header.Address0x17);
    // No band known: the channels get no synthesiser data rather than another band's.
    d.BandKnown = d.BandProfile != nullptr;
    if (!d.BandProfile) d.BandProfile = std::make_shared<clsNonPersistentInfo>();
    header.PLLReferenceFreq = d.BandProfile->PllReferenceFrequency;
    header.InjectionAspect = d.BandProfile->InjectAspect ? 1 : 0;
    header.IFRx = d.BandProfile->IFRx;
    header.IFTx = d.BandProfile->IFTx;
    d.ModelProfile = profiles.GetRadioInfoByModelNumber(model);
    if (!d.ModelProfile) RaiseUnknownModel("code " + std::to_string(header.Model));

    const std::int16_t count = d.ModelProfile->NumberOfChannels;
    for (std::int32_t i = 1; i <= count; ++i) {
      clsChannel channel;
      channel.ChannelData = WholeOrErased(creator.colChannelData, i, kQVRChannelDigits);
      d.Channels.Add(std::move(channel));
    }
    TuneChannels(0, header, d.Channels, count, d.ModelProfile->Model);
    for (auto& channel : d.Channels) channel.BreakChannelData();
    // A record cut short decodes as unused, but the bytes it has go back as they came.
    std::string read = creator.RadioHeader;
    for (std::int32_t i = 1; i <= count; ++i) {
      std::string record =
          i <= creator.colChannelData.Count() ? creator.colChannelData.Item(i) : "";
      record.resize(kQVRChannelDigits, 'F');
      read += record;
    }
    // What fills the last line after the channels goes back too.
    std::string data = creator.RadioHeader;
    for (const auto& piece : creator.colChannelData) data += piece;
    const std::size_t filler = (kQVRLineDigits - read.size() % kQVRLineDigits) % kQVRLineDigits;
    if (data.size() >= read.size() + filler) d.Origin.Filler = data.substr(read.size(), filler);
    RememberOrigin(0, std::move(read), d);
    return d;
  }

  creator.BreakUpStringKM2();
  header.RadioHeader = creator.RadioHeader;
  header.BreakUpRadioHeaderKM2();
  d.KM2Tail = header.KM2Tail;
  d.ModelProfile = profiles.GetRadioInfoKM2(header.ModelName);
  if (!d.ModelProfile) RaiseUnknownModel("\"" + Trim(header.ModelName) + "\"");
  // The block holds no injection side. Left as it was, the pages would look for a band on
  // the wrong side, find none, and the next store would take the IFs out of every channel;
  // the model's band with the block's reference frequency and IF knows the side.
  for (const auto& band : d.ModelProfile->collectionNonPersistentRadioInfo) {
    if (band->PllReferenceFrequency != header.PLLReferenceFreq) continue;
    if (!d.BandProfile || band->IFRx == header.IFRx) d.BandProfile = band;
    if (band->IFRx == header.IFRx) break;
  }
  if (d.BandProfile) header.InjectionAspect = d.BandProfile->InjectAspect ? 1 : 0;

  const std::int16_t count = d.ModelProfile->NumberOfChannels;
  for (std::int32_t i = 1; i <= count; ++i) {
    clsChannel channel;
    channel.ChannelData = WholeOrErased(creator.colChannelData, i, kKM2ChannelDigits);
    d.Channels.Add(std::move(channel));
  }
  TuneChannels(1, header, d.Channels, count, d.ModelProfile->Model);
  for (auto& channel : d.Channels) channel.BreakChannelDataKM2();

  for (std::int32_t j = 1; j <= kKM2Groups; ++j) {
    clsGroup group;
    group.GroupData = WholeOrErased(creator.colGroupData, j, kKM2GroupDigits);
    group.BreakGroupData();
    d.Groups.Add(std::move(group));
  }
  for (std::int32_t k = 1; k <= kKM2TableEntries; ++k) {
    clsChannelGroup entry;
    entry.ChannelGroupStr = WholeOrErased(creator.colChannelGroup, k, kKM2EntryDigits);
    entry.BreakChannelGroup();
    d.ChannelGroupTable.Add(std::move(entry));
  }
  std::string read = image.substr(0, kKM2ImageDigits);
  read.resize(kKM2ImageDigits, 'F');
  RememberOrigin(1, std::move(read), d);
  return d;
}

}  // namespace tallisk
