#pragma once

// Radio files: a programming saved to disk and loaded again (*.qvr and *.km2), and the KM2
// read dump.
//
//   QVR  ProgrammingStringPart1 immediately followed by ProgrammingStringPart2: the image's
//        S1 lines, each with its CR LF, nothing before, between or after.
//   KM2  the 8192-byte image as 16384 upper-case hex digits, no line end.
//
// Errors: every failure is a thrown FileError (FileError.h) whose Description() names the
// file and says what is wrong; there are no error returns. A write failure carries the
// system's reason and leaves the old file as it was; a load refusal means the file is not
// a programming of the family, and the caller keeps the programming in memory unchanged.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tallisk {

// The values are those of RadioType.
enum class RadioFamily : std::int32_t { QVR = 0, KM2 = 1 };

inline constexpr std::size_t kKM2ImageDigits = 16384;
inline constexpr std::size_t kKM2ReadDumpDigits = 16704;

// Checks the text of a radio file of the family and returns the image text to hand to
// ShowImageQVR / ShowImageKM2. Accepted:
//   QVR  S1 lines of eight data bytes only, CR LF or LF line ends, trailing blank lines;
//        every checksum right, addresses consecutive from 0000, at least the lines of the
//        settings block and eight channels (15). Returned with a CR LF after every line, as
//        the split expects.
//   KM2  exactly 16384 hex digits, or 16704 (a read dump), optionally followed by one line
//        end. Returned without the line end.
// Hex digits may be of either case; they are returned in upper case.
// Anything else throws FileError (ErrBadFileFormat) naming `fileName`, for example
// "\"x.km2\" is not a KM2 radio file: it holds 15872 hex digits, a KM2 programming has 16384".
std::string CheckRadioFileText(std::string_view text, RadioFamily family,
                               const std::filesystem::path& fileName);

// Reads a radio file and checks it as above. An unreadable file throws FileError with the
// system's reason.
std::string ReadRadioFile(const std::filesystem::path& file, RadioFamily family);

// The family of a radio file: by its extension (.qvr, .km2, in any case), else by what it
// holds; nothing when it is neither family's (or cannot be read).
std::optional<RadioFamily> RadioFileFamily(const std::filesystem::path& file);

// Writes a radio file atomically: part1 then part2, exactly as given (KM2: part2 is empty).
// The content is checked first as a load would check it, so the program never writes a
// file it would refuse to load: such content throws FileError (ErrBadFileFormat, "The
// programming is not a whole KM2 image (it holds 16382 hex digits, ...), so "x.km2" was
// not written") and no file is touched. Every other failure throws FileError with the
// system's reason ("Permission denied: /home/tech/x.qvr", number 70), and the old file
// stays as it was. The window puts its lead-in before Description() and " #" Number()
// after it.
void WriteRadioFile(const std::filesystem::path& file, RadioFamily family, std::string_view part1,
                    std::string_view part2 = {});

// Writes the KM2 read dump (the 16704 image characters of a read) to `file` (normally
// ReadDumpFile()), creating its folder. Never throws: a failure must not stop or spoil the
// read, so it returns the FileError's description for the program's log, or an empty text
// when the dump was written.
std::string WriteReadDump(std::string_view image, const std::filesystem::path& file);

}  // namespace tallisk
