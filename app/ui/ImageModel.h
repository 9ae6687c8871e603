#pragma once

// The one way from the main window's data model to a programming image, and the one way
// back. A read, a loaded file and the byte editor all come in through DecodeImage; a write,
// a save and the byte editor all go out through BuildImage, so the three can never disagree
// about which band values reach the channels.
//
// Decoding works on new objects only: the window takes the result when the whole image has
// been turned into it, and keeps what it had when a step fails.

#include <cstdint>
#include <memory>
#include <string>

#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsNonPersistentInfo.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsPersistentInfo.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/collection.h"
#include "ui/ImageKeep.h"

namespace tallisk {

inline constexpr int kKM2Groups = 16;
inline constexpr int kKM2TableEntries = 320;

// What the builder reads and, as the codecs leave them, writes back: the window's objects.
struct ImageSource {
  std::int32_t RadioType;  // 0 QVR, 1 KM2
  clsRadioHeader& RadioHeader;
  Collection<clsChannel>& Channels;
  std::int16_t ChannelCount;
  Collection<clsGroup>& Groups;
  Collection<clsChannelGroup>& ChannelGroupTable;
  const std::string& KM2Tail;
  // The model's name as the profiles give it; empty keeps each channel's own.
  std::string ModelName;
  // Where the programming came from: channels it still holds as decoded go as read.
  const ImageOrigin* Origin = nullptr;
};

struct BuiltImage {
  // False when the library found the KM2 image of the wrong size (and has told the user).
  bool Whole = false;
  // QVR: the S1 lines below address 0100 and those from 0100 on. KM2: the 16384-digit image
  // in Part1, Part2 empty.
  std::string Part1;
  std::string Part2;
  // The records in image order, as hex: QVR the settings block and the model's channel
  // records (no filler), KM2 the whole image. Part1 and Part2 are made from it.
  std::string Records;
};

// Part1 and Part2 from Records.
void AssembleImage(std::int32_t radioType, BuiltImage& built);

// Every channel takes the header's band values (reference frequency, prescaler, the IFs)
// and, for KM2, its prescaler code and flags and the special-radio flag: the image then
// decodes to the same frequencies it was built from.
void TuneChannels(std::int32_t radioType, const clsRadioHeader& header,
                  Collection<clsChannel>& channels, std::int16_t channelCount,
                  const std::string& modelName);

// Encodes the header, channels and (KM2) groups and table, and joins them into the image.
// Codec failures propagate as TalliskError; the objects keep the records they had.
BuiltImage BuildImage(const ImageSource& source);

// A programming decoded from an image, not yet the window's.
struct DecodedImage {
  clsRadioHeader RadioHeader;
  std::shared_ptr<clsPersistentInfo> ModelProfile;
  // QVR: the band identified by the header's band bytes, an empty band when none matches.
  // KM2: the model's band with the block's reference frequency (and IF), null when none.
  std::shared_ptr<clsNonPersistentInfo> BandProfile;
  Collection<clsChannel> Channels;                // 1..NumberOfChannels of the model
  Collection<clsGroup> Groups;                    // KM2: 1..16
  Collection<clsChannelGroup> ChannelGroupTable;  // KM2: 1..320
  std::string KM2Tail;                            // KM2: the tail the next write carries
  // The image it came from, for KeepUnchanged.
  ImageOrigin Origin;
  // QVR: whether the profiles know the band the header's band bytes name.
  bool BandKnown = true;
};

// Turns a QVR image (the radio's S1 lines) or a KM2 image (16384 or 16704 hex digits) into
// a new programming, identifying model and band through `profiles`. Channel records missing
// from a short image decode as unused channels. Raises TalliskError when a step fails,
// including a model the profiles do not know. May ask the KM2 identification questions.
DecodedImage DecodeImage(std::int32_t radioType, const std::string& image,
                         const clsOperator& profiles);

}  // namespace tallisk
