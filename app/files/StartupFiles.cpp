#include "files/StartupFiles.h"

namespace tallisk {}  // namespace tallisk
