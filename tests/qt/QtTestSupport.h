#pragma once

// The Qt application the front-end tests run in, a hand for the dialogs that a window opens
// modally while the test waits inside it, and the main window on show. The widgets the tests
// reach most and the radio bench come with it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include "RadioBench.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"

namespace tallisk::testing {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "tallisk_qt_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at the end of the process Qt's own globals may already be gone.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A dialog that nobody answers would hang the test inside its event loop; one left on show
// for five seconds fails the test and is closed.
class QtTest : public ::testing::Test {
 protected:
  QtTest() {
    App();
    watchdog_.setInterval(250);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal != lastModal_) {
        lastModal_ = modal;
        ticks_ = 0;
      } else if (++ticks_ > 20) {
        ADD_FAILURE() << "a dialog was left unanswered: " << modal->windowTitle().toStdString();
        modal->close();
        ticks_ = 0;
      }
    });
    watchdog_.start();
  }

 private:
  QTimer watchdog_;
  QWidget* lastModal_ = nullptr;
  int ticks_ = 0;
};

// Calls `act` once, from the event loop, when `ready` first holds; fails the test when it has
// not within `ms` milliseconds.
inline void When(std::function<bool()> ready, std::function<void()> act, int ms = 2000) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, ready, act, left = ms / 5]() mutable {
    const bool now = ready();
    if (!now && --left > 0) return;
    timer->stop();
    timer->deleteLater();
    if (now) act();
    if (!now) ADD_FAILURE() << "what the test waited for never came";
  });
  timer->start();
}

// Acts on the next modal dialog of type T once it is on show (from the dialog's own event
// loop), then lets it go.
template <class T>
void WhenModal(std::function<void(T&)> act) {
  const auto modal = [] { return qobject_cast<T*>(QApplication::activeModalWidget()); };
  When([modal] { return modal() != nullptr && modal()->isVisible(); },
       [modal, act] { act(*modal()); });
}

struct SeenMessage {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
};

// Answers the next message box with `button` and records what it showed.
inline void AnswerMessage(QMessageBox::StandardButton button, SeenMessage* seen = nullptr) {
  WhenModal<QMessageBox>([button, seen](QMessageBox& box) {
    if (seen != nullptr)
      *seen = {box.windowTitle(), box.text(), box.icon(), int(box.buttons().size())};
    if (QAbstractButton* b = box.button(button)) return b->click();
    ADD_FAILURE() << "the message box has no such button: " << box.text().toStdString();
    box.reject();
  });
}

template <class T = QWidget>
T* Find(const QWidget& root, const std::string& name) {
  return root.findChild<T*>(QString::fromStdString(name));
}

// The program's main window on show, over installation and user folders of its own that
// offer both families; a test that needs its own ports list opens the window itself.
class QtWindowTest : public QtTest {
 protected:
  explicit QtWindowTest(bool open = true) {
    program_.Install("control.txt", "QVR=TRUE\r\nKM2=TRUE\r\n");
    if (open) Open();
  }

  void Open() {
    form_ = std::make_unique<frmMain>(dialogs_, folders_);
    window_ = std::make_unique<qt::MainWindow>(*form_);
    window_->show();
  }

  // The keys go to the main window.
  void Activate() {
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  QWidget* ShownPage() const { return window_->View().CurrentPageWidget(); }
  QWidget* PageWidget(int index) const { return window_->View().PageWidget(index); }

  template <class T = QWidget>
  T* W(const std::string& name) const {
    T* widget = Find<T>(*window_, name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  ScratchProgram program_{"tallisk-qt-"};
  ProgramFolders& folders_ = program_.folders;
  qt::QtDialogs dialogs_;
  // Declared after the form, the window goes first.
  std::unique_ptr<frmMain> form_;
  std::unique_ptr<qt::MainWindow> window_;
};

}  // namespace tallisk::testing
