// Builds the installation's km2.clr: the programming a new KM2 radio of the 52-899 VHF line
// (band A, the line's default) gets from this program's own defaults, with every channel
// unused, every group at its default record and the channel-group table free. Its tail
// (18DD to the end) is what the KM2 write and save use until a read or a loaded file
// brings the firmware data of a real radio: the firmware region is erased (FF) apart from
// the bytes the header codec writes there itself.
//
// The file is written with WriteRadioFile, so it is a file the program can load, and the
// build fails if the library had anything to say (a wrong image size, a question).

#include <iostream>
#include <memory>

#include "files/RadioFile.h"
#include "tallisk/UserPrompt.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/errors.h"

namespace {

using namespace tallisk;

constexpr char kModel[] = "52-8991A";
constexpr char kBand[] = "A";
constexpr int kChannels = 320;
constexpr int kGroups = 16;

struct Complaints : UserPrompt {
  int count = 0;
  void ShowMessage(const std::string& text, const std::string& title) override {
    std::cerr << "make_km2_clr: " << title << ": " << text << "\n";
    ++count;
  }
  bool AskYesNo(const std::string& text, const std::string& title, bool) override {
    ShowMessage(text, title);
    return false;
  }
};

std::string BuildImage() {
  clsOperator profiles;
  profiles.LoadProfilesKM2();
  std::string defaultKM2;
  if (!profiles.IsRadioModelExist(kModel, defaultKM2)) {
    throw TalliskError(ErrInvalidArgument, "make_km2_clr", "the profile database lacks 52-899");
  }
  std::shared_ptr<clsNonPersistentInfo> band;
  for (const auto& candidate : profiles.GetRadioInfoKM2(kModel)->collectionNonPersistentRadioInfo) {
    if (candidate->FreqBand == kBand) band = candidate;
  }
  if (!band) throw TalliskError(ErrInvalidArgument, "make_km2_clr", "no band A of 52-899");

  clsRadioHeader header;
  header.ModelName = kModel;
  header.DefaultKM2 = defaultKM2;
  header.PLLReferenceFreq = band->PllReferenceFrequency;
  header.IFRx = band->IFRx;
  header.IFTx = band->IFTx;
  header.KM2Tail = std::string(kKM2ImageDigits - 0x18DD * 2, 'F');
  header.CreateRadioHeaderKM2();

  clsStringCreator creator;
  creator.RadioHeader = header.RadioHeader;
  for (int n = 1; n <= kChannels; ++n) {
    clsChannel channel;
    channel.ModelName = kModel;
    channel.PLLReferenceFreq = band->PllReferenceFrequency;
    channel.RxIF = band->IFRx;
    channel.TxIF = band->IFTx;
    channel.LoadBlankChannel();
    channel.CreateChannelDataKM2();
    creator.colChannelData.Add(channel.ChannelData);
    creator.colChannelCheckSum.Add(channel.CheckSumKM2);
    clsChannelGroup entry;
    entry.CreateChannelGroup();
    creator.colChannelGroup.Add(entry.ChannelGroupStr);
  }
  for (int g = 1; g <= kGroups; ++g) {
    clsGroup group;
    group.CreateGroupData();
    creator.colGroupData.Add(group.GroupData);
  }
  creator.CreateStringKM2();
  return creator.ProgrammingStringPart1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_km2_clr OUTPUT\n";
    return 2;
  }
  auto complaints = std::make_shared<Complaints>();
  SetUserPrompt(complaints);
  try {
    const std::string image = BuildImage();
    if (complaints->count > 0) return 1;
    WriteRadioFile(argv[1], RadioFamily::KM2, image);
  } catch (const TalliskError& e) {
    std::cerr << "make_km2_clr: " << e.Description() << " #" << e.Number() << "\n";
    return 1;
  }
  return 0;
}
