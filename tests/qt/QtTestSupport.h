#pragma once

// The Qt application the front-end tests run in, and a hand for the dialogs that a window
// opens modally while the test waits inside it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace tallisk::testing {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "tallisk_qt_tests";
  static char* argv[] = {name, nullptr};
  // CTest sets the offscreen platform; run by hand on a machine without a display the tests
  // still need one.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
      !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
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

// Acts on the next modal dialog of type T once it is on show (from the dialog's own event
// loop), then lets it go. Fails the test when none appears within two seconds.
template <class T>
void WhenModal(std::function<void(T&)> act) {
  auto* timer = new QTimer;
  auto* tries = new int(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        dialog != nullptr && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      delete tries;
      act(*dialog);
    } else if (++*tries > 200) {
      timer->stop();
      timer->deleteLater();
      delete tries;
      ADD_FAILURE() << "no modal dialog appeared";
    }
  });
  timer->start();
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
    QAbstractButton* b = box.button(button);
    if (b == nullptr) {
      ADD_FAILURE() << "the message box has no such button: " << box.text().toStdString();
      box.reject();
      return;
    }
    b->click();
  });
}

template <class T = QWidget>
T* Find(const QWidget& root, const std::string& name) {
  return root.findChild<T*>(QString::fromStdString(name));
}

}  // namespace tallisk::testing
