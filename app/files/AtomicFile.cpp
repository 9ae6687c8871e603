#include "files/AtomicFile.h"

namespace tallisk {}  // namespace tallisk
