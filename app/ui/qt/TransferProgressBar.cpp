#include "ui/qt/TransferProgressBar.h"

#include <QPointer>
#include <cmath>

namespace tallisk::qt {

QString TimeLeftText(double seconds) {
  const long whole = std::lround(std::ceil(seconds));
  if (whole <= 0) return QStringLiteral("almost done");
  if (whole < 60) return QStringLiteral("about %1 s left").arg(whole);
  return QStringLiteral("about %1 min %2 s left").arg(whole / 60).arg(whole % 60);
}

TransferProgressBar::TransferProgressBar(frmMain& form, bool writing, QWidget* parent)
    : QProgressBar(parent), writing_(writing) {
  setObjectName(writing ? QStringLiteral("prgWriteToRadio") : QStringLiteral("prgReadRadio"));
  setRange(0, 100);
  setMinimumWidth(260);
  setHidden(true);
  QPointer<TransferProgressBar> self(this);
  form.ProgressChanged.Connect([self, &form] {
    if (self) self->Follow(form.Progress());
  });
}

void TransferProgressBar::Follow(const TransferProgress& progress) {
  const bool mine = progress.Active && progress.Writing == writing_;
  setHidden(!mine);
  if (!mine) return;
  setValue(progress.Percent);
  setFormat(QStringLiteral("%p% - ") + TimeLeftText(progress.SecondsLeft));
}

}  // namespace tallisk::qt
