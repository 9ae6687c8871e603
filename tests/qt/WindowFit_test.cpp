// The windows on a technician's laptop: 1920 x 1080 at 200% scaling leaves 960 x 540 logical
// pixels, and a 16-point desktop font must still do with 800 x 600. Every page of both
// families and every window the pages open, at the keyboard and with the wheel.

#include <QScreen>
#include <QScrollArea>
#include <QWheelEvent>

#include "QtTestSupport.h"

namespace tallisk::testing {
namespace {

struct SmallScreen {
  const char* name;
  QSize window;
  qreal fontPoints;  // 0: the desktop's usual font
};

QRect RectIn(const QWidget* w, const QWidget* within) {
  return {w->mapTo(within, QPoint(0, 0)), w->size()};
}

bool FitsScreen(const QWidget& window) {
  const QRect room = window.screen()->availableGeometry();
  return window.frameGeometry().width() <= room.width() &&
         window.frameGeometry().height() <= room.height();
}

// Each field of the page that can take the focus gets it and must lie whole in what shows of
// the page.
void ExpectFieldsShownWhole(QWidget* page) {
  const QWidget* shown = page->parentWidget();
  for (QWidget* field : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!field->isVisible() || !field->isEnabled() || field->focusPolicy() == Qt::NoFocus) continue;
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(field->hasFocus()) << field->objectName().toStdString();
    // A choice that got new entries takes its new width a moment later; what counts is where
    // the field lies once the window has settled.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->rect().contains(RectIn(field, shown)); }, 1000))
        << field->objectName().toStdString();
  }
}

// Scrolling the page with the wheel past a choice must not turn it.
void ExpectWheelPassesChoices(QWidget* page) {
  for (QComboBox* choice : page->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly)) {
    if (!choice->isVisible() || !choice->isEnabled() || choice->hasFocus() || choice->count() < 2)
      continue;
    const int index = choice->currentIndex();
    const QPointF at = choice->rect().center();
    QWheelEvent turn(at, choice->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(choice, &turn);
    EXPECT_EQ(choice->currentIndex(), index) << choice->objectName().toStdString();
  }
}

class QtWindowFit : public QtWindowTest {
 protected:
  QtWindowFit() { form_->UseLink(port_, clock_, pump_); }
  ~QtWindowFit() override {
    window_.reset();
    form_.reset();
  }

  // The main window made anew in the case's font, as it opens, then at the case's size.
  void Reopen(const SmallScreen& screen) {
    window_.reset();
    window_ = std::make_unique<qt::MainWindow>(*form_);
    window_->show();
    EXPECT_EQ(W("btnNext")->font(), QApplication::font());
    EXPECT_TRUE(FitsScreen(*window_)) << window_->width() << " x " << window_->height();
    size_ = screen.window;
    window_->resize(size_);
    Activate();
    QCoreApplication::processEvents();
  }

  void ExpectPageFits() {
    // A window that the page opened has gone; the keys are the main window's again.
    Activate();
    QCoreApplication::processEvents();
    SCOPED_TRACE("page " + std::to_string(form_->CurrentPage));
    QWidget* page = ShownPage();
    ASSERT_EQ(page, PageWidget(form_->CurrentPage));
    // No page widens or heightens the window past the screen.
    EXPECT_EQ(window_->size(), size_);
    const QRect inside = window_->rect();
    for (const char* name : {"pageTitle", "btnBack", "btnNext", "btnFinish", "btnOptions"}) {
      const QWidget* w = W(name);
      EXPECT_TRUE(w->isHidden() || inside.contains(RectIn(w, window_.get()))) << name;
    }
    EXPECT_TRUE(inside.contains(RectIn(page->parentWidget(), window_.get())));
    ExpectWheelPassesChoices(page);
    ExpectFieldsShownWhole(page);
  }

  // A window that `open` runs modally: no larger than its screen, its fields reachable.
  void ExpectWindowFits(const QString& name, const std::function<void()>& open,
                        bool asksOnClose = false) {
    SCOPED_TRACE(name.toStdString());
    bool seen = false;
    WhenModal<QDialog>([&](QDialog& dialog) {
      seen = dialog.objectName() == name;
      EXPECT_TRUE(seen) << dialog.objectName().toStdString();
      EXPECT_TRUE(FitsScreen(dialog)) << dialog.width() << " x " << dialog.height();
      auto* area = dialog.findChild<QScrollArea*>();
      EXPECT_NE(area, nullptr);
      if (area != nullptr) ExpectFieldsShownWhole(area->widget());
      if (asksOnClose) AnswerMessage(QMessageBox::No);
      dialog.reject();
    });
    open();
    EXPECT_TRUE(seen);
  }

  void WalkFamily(int family) {
    form_->cmbRadioType.Select(family);
    form_->cmbRadioType.Leave();
    ExpectPageFits();
    if (family == 0)
      ExpectWindowFits(
          "frmQVRTestMode", [this] { form_->btnTestMode.Press(); }, true);
    form_->btnProgramRadio.Press();
    if (family == 0) form_->lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
    if (family == 1) form_->txtModelNumber.SetText("52-8991A");
    for (;;) {
      ExpectPageFits();
      if (form_->CurrentPage == 7) {
        form_->cmbOneTouchSelection.Select(1);
        ExpectWindowFits("frmCTCSSKeyForm", [this] { form_->btnCTCSSKeyForm.Press(); });
      }
      if (form_->CurrentPage == 12)
        ExpectWindowFits("frmChannelList", [this] { form_->btnChannelList.Press(); });
      if (form_->CurrentPage == 6) break;
      form_->btnNext.Press();
    }
    if (family == 1) ExpectWindowFits("frmManualEdit", [this] { form_->cmbManual.Press(); });
    // Back to the start page, leaving the programming.
    while (form_->CurrentPage != 1) form_->btnBack.Press();
    AnswerMessage(QMessageBox::Yes);
    form_->btnBack.Press();
  }

  VirtualClock clock_;
  sim::VirtualRadioQVR radio_;
  VirtualRadioPort port_{radio_, clock_};
  NoEventPump pump_;
  QSize size_;
};

TEST_F(QtWindowFit, EveryPageAndWindowFitsASmallScreenWithEveryFieldInViewWhenFocused) {
  const SmallScreen screens[] = {{"laptop at 200%", {960, 540}, 0},
                                 {"16-point font", {800, 600}, 16}};
  // Widgets take their font when they are made; the usual one comes back for the other tests.
  const QFont usual = QApplication::font();
  for (const SmallScreen& screen : screens) {
    SCOPED_TRACE(screen.name);
    QFont font = usual;
    if (screen.fontPoints > 0) font.setPointSizeF(screen.fontPoints);
    QApplication::setFont(font);
    Reopen(screen);
    ExpectWindowFits("frmOptions", [this] { W<QPushButton>("btnOptions")->click(); });
    WalkFamily(0);
    WalkFamily(1);
  }
  QApplication::setFont(usual);
}

}  // namespace
}  // namespace tallisk::testing
