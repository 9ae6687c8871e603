#pragma once

// What keeps a window within a small screen (a laptop at 200% scaling offers 960 x 540, a
// large desktop font doubles every field): a page area that scrolls instead of growing the
// window, and a first size no larger than the screen the window opens on.

#include <QScrollArea>

namespace tallisk::qt {

// Holds one page. Its natural size is the whole page, so on a roomy screen nothing scrolls;
// it shrinks to the room of the largest single field of the page, and a field that gets the
// focus, by Tab, click or the window's logic, is scrolled fully into view with its caption.
// The wheel scrolls the page past choices and dates the user is not in.
class PageScrollArea : public QScrollArea {
 public:
  explicit PageScrollArea(QWidget* page, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // Scrolls `field` (a widget on the page) into view, with its caption when there is room.
  void ShowWhole(QWidget* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Gives a window that is about to be shown its natural size, cut down to the room its screen
// (or its parent's, for a dialog) has for it.
void FitToScreen(QWidget& window);

}  // namespace tallisk::qt
