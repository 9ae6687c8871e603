#include "ui/qt/ScreenFit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <initializer_list>

namespace tallisk::qt {

namespace {

QRect RectOn(const QWidget* page, const QWidget* w) {
  return {w->mapTo(page, QPoint(0, 0)), w->size()};
}

}  // namespace

PageScrollArea::PageScrollArea(QWidget* page, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(page);
  // A wheel turned over the page scrolls it. A choice or a date takes the wheel only once the
  // user is in it: scrolling past a radio's settings must not turn them unseen.
  for (QWidget* field : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QComboBox*>(field) == nullptr &&
        qobject_cast<QAbstractSpinBox*>(field) == nullptr)
      continue;
    field->setFocusPolicy(Qt::StrongFocus);
    field->installEventFilter(this);
  }
  // Tab alone would scroll to the text cursor of a field, a click or the logic's own focus
  // requests not at all.
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !widget()->isAncestorOf(now)) return;
    // A page just put on show (the logic moves the focus as it changes pages) is laid out
    // once the events now waiting are handled; only then is the field's place known.
    QPointer<QWidget> field(now);
    QTimer::singleShot(0, this, [this, field] {
      if (field && field->hasFocus()) ShowWhole(field);
    });
  });
}

QSize PageScrollArea::sizeHint() const {
  const int frame = 2 * frameWidth();
  return widget()->sizeHint() + QSize(frame, frame);
}

QSize PageScrollArea::minimumSizeHint() const {
  QSize largest(0, 0);
  for (const QWidget* w : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->focusPolicy() != Qt::NoFocus)
      largest = largest.expandedTo(w->minimumSize().expandedTo(w->minimumSizeHint()));
  const int gap = fontMetrics().height() / 2;
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const QSize room = largest + QSize(bar + 2 * gap, bar + 2 * gap);
  return QScrollArea::minimumSizeHint().expandedTo(room);
}

bool PageScrollArea::eventFilter(QObject* watched, QEvent* event) {
  // Fields shown, hidden or refilled change what the page needs; the window's layout asks
  // again.
  if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
  // The scroll bars pass this way too; only the page's own fields are watched for the wheel.
  if (event->type() == QEvent::Wheel && watched->parent() == widget() &&
      !static_cast<QWidget*>(watched)->hasFocus()) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QScrollArea::eventFilter(watched, event);
}

void PageScrollArea::ShowWhole(QWidget* field) {
  const QWidget* page = widget();
  // The focus may sit inside a field's widget (a date's text part); the field is the widget
  // the page holds.
  while (field != nullptr && field->parentWidget() != page) field = field->parentWidget();
  if (field == nullptr) return;
  const QRect own = RectOn(page, field);
  QRect withCaption = own;
  for (const QLabel* label : page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    if (label->buddy() == field && label->isVisible()) withCaption |= RectOn(page, label);
  const int gap = fontMetrics().height() / 2;
  // The caption first, then the field itself, which keeps its place when both do not fit.
  for (const QRect& r : {withCaption, own})
    ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + gap, r.height() / 2 + gap);
}

namespace {

// Once the window has been laid out for its first showing, a page that still scrolls gets what
// room the screen has to spare: a window cut narrower than it would be folds its long texts
// into more lines, and a page too wide adds a scroll bar under it.
class FirstShowFit : public QObject {
 public:
  FirstShowFit(QWidget& window, QSize room) : QObject(&window), window_(window), room_(room) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_ || event->type() != QEvent::Show) return false;
    window_.removeEventFilter(this);
    QSize missing(0, 0);
    for (const PageScrollArea* area : window_.findChildren<PageScrollArea*>())
      if (area->isVisible())
        missing = missing.expandedTo(area->widget()->size() - area->viewport()->size());
    if (!missing.isNull())
      window_.resize((window_.size() + missing).boundedTo(room_).expandedTo(window_.size()));
    deleteLater();
    return false;
  }

 private:
  QWidget& window_;
  QSize room_;
};

}  // namespace

void FitToScreen(QWidget& window) {
  const QWidget* parent = window.parentWidget();
  const QScreen* screen = parent != nullptr ? parent->screen() : window.screen();
  if (screen == nullptr) return;
  // The title bar and the border the window manager adds come out of the same room. Before
  // the window is shown their size is not known: the style guesses the title bar, and the
  // widest border there is (Windows' resize border, 8 pixels a side) stands in for the rest.
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  constexpr int kBorder = 8;
  const QSize room =
      screen->availableGeometry().size() - QSize(2 * kBorder, titleBar + 2 * kBorder);
  window.resize(window.sizeHint().boundedTo(room).expandedTo(window.minimumSizeHint()));
  new FirstShowFit(window, room);
}

}  // namespace tallisk::qt
