#include "files/clsAppBehavior.h"

namespace tallisk {}  // namespace tallisk
