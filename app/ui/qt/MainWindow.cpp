#include "ui/qt/MainWindow.h"

#include <QAction>
#include <QCloseEvent>

#include "ui/qt/ChannelPageKeys.h"
#include "ui/qt/ScreenFit.h"
#include "ui/qt/TransferProgressBar.h"

namespace tallisk::qt {

MainWindow::MainWindow(frmMain& form, QWidget* parent)
    : QMainWindow(parent), form_(form), view_(new FormView(form, this)) {
  setCentralWidget(view_);
  view_->BindWindow(this);
  AddChannelPageKeys(*view_, form_);
  view_->PlaceBeside(form.lblReadRadioInfo, new TransferProgressBar(form, false));
  view_->PlaceBeside(form.lblWriteToRadioInfo, new TransferProgressBar(form, true));
  form_.UseEventPump(&pump_);
  // Undo and redo of the programming, wherever the focus is on the pages (a text field being
  // typed in undoes its own typing first).
  const std::pair<QList<QKeySequence>, void (frmMain::*)()> history[] = {
      {{QKeySequence::Undo}, &frmMain::Undo},
      {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
       &frmMain::Redo}};
  for (const auto& [keys, step] : history) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, [this, step = step] {
      FieldMirror::Run(step == &frmMain::Undo ? "Undo" : "Redo", [this, step] { (form_.*step)(); });
    });
    addAction(action);
  }
  // The main window outlives every other window, so its rescue serves them all.
  FieldMirror::SetActionRunner(
      [&form](const std::string& userAction, const std::function<void()>& call) {
        form.RunUserAction(userAction, call);
      });
  FitToScreen(*this);
}

MainWindow::~MainWindow() {
  FieldMirror::SetActionRunner(nullptr);
  form_.UseEventPump(nullptr);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A transfer in progress keeps the window open (frmMain shows why).
  if (form_.QueryClose())
    event->accept();
  else
    event->ignore();
}

}  // namespace tallisk::qt
