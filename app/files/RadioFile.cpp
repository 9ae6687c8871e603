#include "files/RadioFile.h"

namespace tallisk {}  // namespace tallisk
