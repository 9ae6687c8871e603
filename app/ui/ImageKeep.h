#pragma once

// A radio's programming goes back to the radio as it came, except where the user changed it.
//
// The codecs do not carry every bit a radio holds (bits no field reads, values the properties
// cannot express, fixed patterns written over what the radio had). So a programming that was
// read or loaded remembers two images: the one it came in with, and the one the codecs make of
// it before anything is edited. A later build differs from that second image exactly where
// edits reached; everywhere else the bits as read are put back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/RadioFile.h"
#include "tallisk/clsChannel.h"
#include "tallisk/collection.h"

namespace tallisk {

// Where the records lie, in hex digits of the records' layout (QVR: the settings block, then
// the channels; KM2: the image).
inline constexpr std::size_t kQVRHeaderDigits = 68;
inline constexpr std::size_t kQVRLineDigits = 16;
inline constexpr std::size_t kQVRChannelDigits = 20;
inline constexpr std::size_t kKM2ChannelDigits = 32;
inline constexpr std::size_t kKM2GroupDigits = 64;
inline constexpr std::size_t kKM2EntryDigits = 4;
inline constexpr std::size_t kKM2GroupsAt = 0x1400 * 2;
inline constexpr std::size_t kKM2TableAt = 0x1600 * 2;
inline constexpr std::size_t kKM2SettingsAt = 0x1880 * 2;
inline constexpr std::size_t kKM2CheckSumsAt = 0x1EBC * 2;
inline constexpr std::size_t kKM2ConstantAt = 0x1FFC * 2;

struct ImageSource;
struct BuiltImage;

struct ImageOrigin {
  std::int32_t RadioType = -1;
  // Both in the records' layout (see BuiltImage::Records).
  std::string Read;
  std::string Baseline;
  // The channels as decoded, with the band values they were decoded with.
  Collection<clsChannel> Channels;
  // QVR: the bytes after the last channel that fill its transfer line, as read.
  std::string Filler;

  bool Holds(std::int32_t radioType) const {
    return radioType == RadioType && !Read.empty() && Read.size() == Baseline.size();
  }
  // The record (and, KM2, the checksum) channel n was read with, when `now` still has the
  // settings it was decoded with; with `undecodedOnly`, only for a channel read without a
  // band, whose frequencies were never decoded (a band chosen since does not count).
  bool ChannelAsRead(std::int32_t radioType, std::int32_t n, const clsChannel& now,
                     bool undecodedOnly, std::string& record, std::string& checkSum) const;
};

// The channel's settings without what the codecs derive from its record.
clsChannel SettingsOf(clsChannel channel);

// Rewrites `built` (already encoded from `source`) so that every bit its records share with
// the origin's baseline is the bit as read. Within a record that was edited, bits the edit
// did not reach stay as read only while the record still reads back exactly as the built one
// does; otherwise whole bytes, and failing that the built record, are taken. The checksums
// that cover a record follow it.
void KeepUnchanged(const ImageSource& source, const ImageOrigin& origin, BuiltImage& built);

}  // namespace tallisk
