#pragma once

// The progress bar beside a status text of the main window: how far a KM2 read or write has
// got and, from the line rate, about how long it still takes. It shows only while such a
// transfer runs.

#include <QProgressBar>

#include "ui/frmMain.h"

namespace tallisk::qt {

class TransferProgressBar : public QProgressBar {
 public:
  // `writing` chooses the transfer the bar follows: the write (beside lblWriteToRadioInfo)
  // or the read (beside lblReadRadioInfo).
  TransferProgressBar(frmMain& form, bool writing, QWidget* parent = nullptr);

 private:
  void Follow(const TransferProgress& progress);
  bool writing_;
};

// "about 1 min 40 s left", "about 8 s left", "almost done".
QString TimeLeftText(double seconds);

}  // namespace tallisk::qt
