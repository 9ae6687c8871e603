#include "files/RadioFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

namespace fs = std::filesystem;

constexpr char kSource[] = "RadioFile";

// An S1 line without its line end: "S1", count 0B, address, eight data bytes, checksum.
constexpr std::size_t kS1LineLength = 26;
constexpr std::size_t kDataBytesPerLine = 8;
// The 34-byte settings block and eight 10-byte channels fill 15 lines of eight bytes.
constexpr std::size_t kQvrMinimumLines = (34 + 8 * 10 + kDataBytesPerLine - 1) / kDataBytesPerLine;
// Four address digits: the last line a QVR file can hold starts at FFF8.
constexpr std::size_t kQvrMaximumLines = 0x10000 / kDataBytesPerLine;
// Far more than the longest radio file (8192 S1 lines); anything bigger is not read into
// memory at all.
constexpr std::uintmax_t kMaximumFileBytes = 1 << 20;

// ASCII only: the window's toolkit sets the user's locale, and a file must read the same
// under every locale.
bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsHex);
}
std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}
bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

const char* FamilyName(RadioFamily family) {
  return family == RadioFamily::KM2 ? "KM2" : "QVR";
}

// What is wrong with a text, in words; the caller says whose text it is.
struct Refusal {
  std::string why;
};

[[noreturn]] void Refuse(std::string why) {
  throw Refusal{std::move(why)};
}

// The text without one final line end (CR LF, LF or CR).
std::string_view WithoutLineEnd(std::string_view text) {
  if (text.ends_with("\r\n")) return text.substr(0, text.size() - 2);
  if (text.ends_with('\n') || text.ends_with('\r')) return text.substr(0, text.size() - 1);
  return text;
}

bool LooksLikeS1Lines(std::string_view text) {
  return text.size() >= 2 && (text[0] == 'S' || text[0] == 's') && text[1] == '1';
}

std::string CheckKM2(std::string_view text) {
  const std::string_view digits = WithoutLineEnd(text);
  if (LooksLikeS1Lines(digits)) {
    Refuse("it holds S1 record lines, as a QVR radio file does");
  }
  if (const auto bad = std::find_if_not(digits.begin(), digits.end(), IsHex); bad != digits.end()) {
    const auto position = static_cast<std::size_t>(bad - digits.begin()) + 1;
    const unsigned char c = static_cast<unsigned char>(*bad);
    const std::string shown = c == '\r' || c == '\n'  ? std::string("a line end")
                              : c >= 0x20 && c < 0x7F ? "\"" + std::string(1, *bad) + "\""
                                                      : "character code " + std::to_string(c);
    Refuse("character " + std::to_string(position) + " is " + shown + ", not a hex digit");
  }
  if (digits.size() != kKM2ImageDigits && digits.size() != kKM2ReadDumpDigits) {
    Refuse("it holds " + std::to_string(digits.size()) + " hex digits, a KM2 programming has " +
           std::to_string(kKM2ImageDigits));
  }
  return Upper(digits);
}

std::string CheckQVR(std::string_view text) {
  if (IsBlank(text)) Refuse("it is empty");
  const std::string_view oneLine = WithoutLineEnd(text);
  if (!oneLine.empty() && AllHex(oneLine)) {
    Refuse("it holds " + std::to_string(oneLine.size()) +
           " hex digits on one line, as a KM2 radio file does");
  }

  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();

  std::string image;
  image.reserve(lines.size() * (kS1LineLength + 2));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Upper(lines[i]);
    const std::string number = "line " + std::to_string(i + 1);
    if (i == kQvrMaximumLines) Refuse(number + " lies beyond the last S1 address FFF8");
    // The length first: a damaged file has lines of every length, down to none.
    if (line.size() != kS1LineLength || !line.starts_with("S10B") ||
        !AllHex(std::string_view(line).substr(2))) {
      Refuse(IsBlank(line) ? number + " is empty"
                           : number + " is not an S1 line of eight data bytes");
    }
    const std::string_view body = std::string_view(line).substr(2);
    const std::string expectedAddress = ToHex(i * kDataBytesPerLine, 4);
    if (line.substr(4, 4) != expectedAddress) {
      Refuse(number + " has the address " + line.substr(4, 4) + " where " + expectedAddress +
             " belongs");
    }
    const std::string sum = RecordCheckSum(body.substr(0, body.size() - 2));
    if (line.substr(kS1LineLength - 2) != sum) {
      Refuse(number + " has the checksum " + line.substr(kS1LineLength - 2) + ", its bytes give " +
             sum);
    }
    image += line;
    image += "\r\n";
  }
  if (lines.size() < kQvrMinimumLines) {
    Refuse("it holds " + std::to_string(lines.size()) + " lines, a QVR programming has at least " +
           std::to_string(kQvrMinimumLines) + " (the settings block and eight channels)");
  }
  return image;
}

std::string Check(std::string_view text, RadioFamily family) {
  return family == RadioFamily::KM2 ? CheckKM2(text) : CheckQVR(text);
}

FileError NotARadioFile(const fs::path& file, RadioFamily family, const std::string& why) {
  return FileError(
      file,
      "\"" + file.filename().string() + "\" is not a " + FamilyName(family) + " radio file: " + why,
      kSource);
}

}  // namespace

std::string CheckRadioFileText(std::string_view text, RadioFamily family, const fs::path& file) {
  try {
    return Check(text, family);
  } catch (const Refusal& refusal) {
    throw NotARadioFile(file, family, refusal.why);
  }
}

std::string ReadRadioFile(const fs::path& file, RadioFamily family) {
  // A serial device or a pipe picked by mistake would be read until it ends, perhaps never.
  std::error_code unknown;
  const fs::file_status status = fs::status(file, unknown);
  if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
    throw NotARadioFile(file, family, "it is a device or a pipe, not a file");
  }
  if (const std::uintmax_t bytes = fs::file_size(file, unknown);
      !unknown && bytes > kMaximumFileBytes) {
    throw NotARadioFile(file, family,
                        "it is " + std::to_string(bytes) + " bytes long, far more than a " +
                            "programming of the radio holds");
  }
  std::error_code reason;
  const auto text = ReadWholeFile(file, &reason);
  if (!text) throw FileError(file, reason, kSource);
  return CheckRadioFileText(*text, family, file);
}

void WriteRadioFile(const fs::path& file, RadioFamily family, std::string_view part1,
                    std::string_view part2) {
  std::string content;
  content.reserve(part1.size() + part2.size());
  content.append(part1).append(part2);
  // What the program could not load again is not saved: the old file is worth more.
  try {
    (void)Check(content, family);
  } catch (const Refusal& refusal) {
    throw FileError(file,
                    std::string("The programming is not a whole ") + FamilyName(family) +
                        " image (" + refusal.why + "), so \"" + file.filename().string() +
                        "\" was not written",
                    kSource);
  }
  WriteFileAtomically(file, content);
}

std::string WriteReadDump(std::string_view image, const fs::path& file) {
  try {
    WriteFileAtomically(file, image, /*createFolder=*/true);
    return {};
  } catch (const TalliskError& e) {
    return "The read dump was not written: " + e.Description();
  } catch (const std::exception& e) {
    return std::string("The read dump was not written: ") + e.what();
  }
}

}  // namespace tallisk

namespace tallisk {

std::optional<RadioFamily> RadioFileFamily(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".km2") return RadioFamily::KM2;
  if (extension == ".qvr") return RadioFamily::QVR;
  for (const RadioFamily family : {RadioFamily::KM2, RadioFamily::QVR}) {
    try {
      ReadRadioFile(file, family);
      return family;
    } catch (const FileError&) {
    }
  }
  return std::nullopt;
}

}  // namespace tallisk
