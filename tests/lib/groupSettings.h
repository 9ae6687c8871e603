#pragma once

#include <tuple>

#include "tallisk/clsGroup.h"

namespace tallisk::testing {

// Every setting of a group, in record order, for comparing two groups at once.
inline auto GroupSettings(const clsGroup& g) {
  return std::tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                    g.TimeOutTimer, g.IntervalA, g.IntervalBDCS, g.IntervalBCTCSS, g.RXScanHold,
                    g.TXScanHold, g.UnKeyDelayTime, g.PriChSamplingRate, g.PriChSamplingRatio,
                    g.ScanHoldingEvents, g.TXOnPriorityChannel, g.DeleteChTableClear,
                    g.EnablePTTANI, g.EnableANITranspond, g.EnableANIOnMONButton,
                    g.MultiDigitDecodeFormat, g.ANIRate, g.ANIRepetitions, g.ANIDelay,
                    g.ANIInterval, g.DTMF2805IDNumber);
}

}  // namespace tallisk::testing
