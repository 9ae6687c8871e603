#pragma once

// Whole-file writes that cannot leave a half-written file behind. The content goes to a new
// temporary file in the target's folder, is flushed to the disk, and the temporary file is
// renamed over the target (then the folder is flushed too, so the rename survives a power
// cut). Until the rename the old file is untouched; after a failure at any step there is
// still the old file, byte for byte, and no temporary file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tallisk {

// Writes `content` as the whole of `target`, exactly as given (no line-end translation).
// With createFolder the target's folder is created first when missing (the configuration
// and state folders appear on first write); a radio file goes into a folder the user chose.
// A new file gets the usual mode (0666 less the umask); a replaced file keeps its mode.
// Throws FileError with the system's reason.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view content,
                         bool createFolder = false);

// The whole file as bytes; nullopt when it cannot be opened or read (with the reason in
// *reason when given).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file,
                                         std::error_code* reason = nullptr);

// Writes all of `content` to the open descriptor, through short writes and interruptions.
// False with errno set when the system refuses; a write of nothing at all counts as EIO.
bool WriteAll(int fd, std::string_view content);

}  // namespace tallisk
