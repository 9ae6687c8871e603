#pragma once

// The program's main window: the mirror of frmMain, closed only when frmMain allows it, with
// progress bars beside the read and write status texts. While the window lives, frmMain's
// transfers pump its event loop, so Stop can be pressed during them.

#include <QMainWindow>

#include "ui/frmMain.h"
#include "ui/qt/FormView.h"
#include "ui/qt/QtEventPump.h"

namespace tallisk::qt {

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(frmMain& form, QWidget* parent = nullptr);
  ~MainWindow() override;
  FormView& View() const { return *view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  frmMain& form_;
  FormView* view_;
  QtEventPump pump_;
};

}  // namespace tallisk::qt
