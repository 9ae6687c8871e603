#pragma once

#include "tallisk/ProfileCollection.h"
#include "tallisk/clsPersistentInfo.h"

namespace tallisk {

// The model profiles of one radio family, in database order.
class colRadioData : public ProfileCollection<clsPersistentInfo> {};

}  // namespace tallisk
