#include "files/clsLogger.h"

namespace tallisk {}  // namespace tallisk
