#include "files/FileError.h"

namespace tallisk {}  // namespace tallisk
