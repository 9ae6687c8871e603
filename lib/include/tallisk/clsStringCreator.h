#pragma once

#include <cstdint>
#include <string>

#include "tallisk/collection.h"

namespace tallisk {

// Joins the blocks the record codecs produce into a programming image, and cuts an image
// back into those blocks. It knows where each block lies in the image of each family but
// never looks inside one.
//
// An object serves one assembly or one split: neither operation clears what the object
// already holds, so a split appends to the collections.
class clsStringCreator {
 public:
  // QVR: 20 hex characters per channel; KM2: 32 per channel, in channel order.
  Collection<std::string> colChannelData;
  // KM2: 64 hex characters per group, in group order.
  Collection<std::string> colGroupData;
  // KM2: one byte (2 hex characters) of synthesiser checksum per channel.
  Collection<std::string> colChannelCheckSum;
  // KM2: one channel-group table entry (4 hex characters) per channel.
  Collection<std::string> colChannelGroup;

  // QVR: the 34-byte settings block. KM2: the image from address 1880 on (up to the end
  // of the settings block when assembling, up to the end of the image after a split).
  std::string RadioHeader;
  // Carried for the application; the assembly does not read it (the header block already
  // holds the tail).
  std::string KM2Tail;
  // Input of the splits: QVR the received S-record lines, KM2 the whole image text.
  std::string EntireString;
  // QVR: the lines below address 0100. KM2: the whole image.
  std::string ProgrammingStringPart1;
  // QVR: the lines from address 0100 on.
  std::string ProgrammingStringPart2;

  // QVR: RadioHeader and the channel records as S1 lines of eight bytes, cut at 0100.
  bool CreateString();
  // QVR: the data digits of the S1 lines back into RadioHeader and colChannelData.
  bool BreakUpString();
  // KM2: the 8192-byte image in ProgrammingStringPart1. An image of any other size is
  // reported to the user and the result is false; the text is kept for inspection.
  bool CreateStringKM2();
  // KM2: EntireString into channel records, group records, table entries and RadioHeader.
  bool BreakUpStringKM2();

  // intLen hex characters of RadioHeader starting at image address lngHexAddress.
  std::string Address(std::int32_t lngHexAddress, std::int16_t intLen) const;
};

}  // namespace tallisk
