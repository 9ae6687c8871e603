#include "tallisk/version.h"

namespace tallisk {

const char* LibraryVersion() noexcept {
  return TALLISK_VERSION;
}

}  // namespace tallisk
