#include "ui/qt/MainWindow.h"

#include <QCloseEvent>

namespace tallisk::qt {

MainWindow::MainWindow(frmMain& form, QWidget* parent)
    : QMainWindow(parent), form_(form), view_(new FormView(form, this)) {
  setCentralWidget(view_);
  view_->BindWindow(this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A transfer in progress keeps the window open (frmMain shows why).
  if (form_.QueryClose())
    event->accept();
  else
    event->ignore();
}

}  // namespace tallisk::qt
