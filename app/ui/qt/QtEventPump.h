#pragma once

// The link pumps the window's events inside its waits, so the Stop commands stay live during
// a transfer on the one thread the program has.

#include <QCoreApplication>

#include "link/Clock.h"

namespace tallisk::qt {

class QtEventPump : public EventPump {
 public:
  void Pump() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
};

}  // namespace tallisk::qt
