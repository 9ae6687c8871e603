#pragma once

#include "tallisk/ProfileCollection.h"
#include "tallisk/clsNonPersistentInfo.h"

namespace tallisk {

// The band profiles of one radio model, in database order.
class colNonPersistentData : public ProfileCollection<clsNonPersistentInfo> {};

}  // namespace tallisk
