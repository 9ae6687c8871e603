#pragma once

// The pacing, limits, addresses and texts of the conversations with a radio.

#include <chrono>
#include <cstdint>

namespace tallisk::link {

using std::chrono::milliseconds;
using std::chrono::seconds;

inline constexpr char kLineSettings[] = "2400,N,8,1";
inline constexpr char kCrLf[] = "\r\n";

// Pacing: the radio takes characters and records no faster than this.
inline constexpr milliseconds kCharacterPause{5};  // after each character of SendText
inline constexpr milliseconds kRecordPause{15};    // after each record of SendRecord
inline constexpr milliseconds kKM2Pause{17};       // before each KM2 request and write record
// Between polls of CTS or of the receive buffer: keeps a wait from spinning the processor.
inline constexpr milliseconds kPollInterval{1};

// Time limits.
inline constexpr int kAnswerTimeLimitSeconds = 30;  // CollectAnswer, whole seconds
inline constexpr int kSilenceLimitSeconds = 4;      // CollectAnswer, whole seconds
// Once an answer is complete, this much quiet on the line ends it: some ten character times,
// and more than the 16 ms a USB serial adapter may hold received characters back, so that
// the rest of a dump or a late character is not taken for the start of the next answer.
inline constexpr milliseconds kQuietGap{40};
inline constexpr int kLinkCheckSeconds = 4;  // CheckRadioLink, whole seconds
inline constexpr seconds kCtsWaitLimit{10};  // any wait for CTS before sending

// KM2 memory: the read image covers EEPROM 8000h-A09Fh, the written image 8000h-9FFFh.
inline constexpr std::uint32_t kKM2ImageBase = 0x8000;
inline constexpr std::size_t kKM2ReadImageChars = 16704;
inline constexpr std::int32_t kKM2ReadTotal = 8176;  // bytes the progress counts to
inline constexpr std::uint32_t kKM2BlockBytes = 208;
inline constexpr std::uint32_t kKM2ReadBlocks = 40;
inline constexpr std::uint32_t kKM2LastBlockLimit = 0x9FF0;  // requests go while address <= this
inline constexpr std::int32_t kKM2WriteBytes = 8192;
inline constexpr std::int32_t kKM2WriteRecordBytes = 32;
inline constexpr char kKM2StartRecord[] =
    "T023000035322D3132373842FFFCBC100000000000191400169500DA00FBEFFB0174014818";
inline constexpr char kKM2EndRecord[] = "T9030000FC";

// QVR answer lines: "S1", count 0B, address, 8 data bytes, checksum, CR LF.
inline constexpr std::size_t kQVRAnswerLineChars = 28;
inline constexpr std::uint32_t kQVRAnswerLineBytes = 8;
inline constexpr std::size_t kQVRHeaderBytes = 34;
inline constexpr std::size_t kQVRChannelBytes = 10;
// The smallest programming: the header and eight channel records.
inline constexpr std::size_t kQVRMinimumAnswerLines =
    (kQVRHeaderBytes + 8 * kQVRChannelBytes + kQVRAnswerLineBytes - 1) / kQVRAnswerLineBytes;

// Titles and texts.
inline constexpr char kTitleQVR[] = "QVR Radio Programmer";
inline constexpr char kTitleKM2[] = "KM2 Radio Programmer";
inline constexpr char kTitleEither[] = "QVR/KM2 Radio Programmer";
inline constexpr char kNoRadio[] = "Error: Unable to communicate with the radio";
inline constexpr char kNoCts[] =
    "The radio is not ready (no CTS). Check the cable and that the radio is switched on.";
inline constexpr char kNoDataRead[] = "No Data Read";
inline constexpr char kChecksumError[] = "Checksum Error";
inline constexpr char kImageSizeWrong[] = "Internal Error: EEPROM size not correct";
inline constexpr char kImageTextWrong[] = "Internal Error: EEPROM image not correct";
inline constexpr char kReadFailed[] = "Following error has occured while reading the radio:";
inline constexpr char kWriteFailedKM2[] = "Following error has occured while writing to radio:";
inline constexpr char kWriteFailedQVR[] =
    "Unable to program the radio because a following error has occured:";
inline constexpr char kReading[] = "Reading... ";
inline constexpr char kWriting[] = "Writing... ";
inline constexpr char kProgrammingInProgress[] = "Radio Programming In Progress";
inline constexpr char kProgrammingComplete[] = "Radio Programming Complete";

}  // namespace tallisk::link
