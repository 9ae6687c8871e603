#pragma once

namespace tallisk {

// The library's version, "major.minor.patch".
const char* LibraryVersion() noexcept;

}  // namespace tallisk
