#include "files/ProgramPaths.h"

namespace tallisk {}  // namespace tallisk
