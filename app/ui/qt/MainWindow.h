#pragma once

// The program's main window: the mirror of frmMain, closed only when frmMain allows it.

#include <QMainWindow>

#include "ui/frmMain.h"
#include "ui/qt/FormView.h"

namespace tallisk::qt {

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(frmMain& form, QWidget* parent = nullptr);
  FormView& View() const { return *view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  frmMain& form_;
  FormView* view_;
};

}  // namespace tallisk::qt
