#pragma once

// The program's dialogs as real Qt dialogs: message boxes, the file dialogs, the print
// dialog, other windows run modally around a mirror of their form, and the modeless notice.

#include <QPrinter>
#include <QString>
#include <memory>

#include "ui/Dialogs.h"

class QWidget;

namespace tallisk::qt {

// "QVR Radio Files|*.qvr|All Files|*.*" becomes "QVR Radio Files (*.qvr);;All Files (*.*)".
QString QtFileFilter(const std::string& filter);

class QtDialogs : public Dialogs {
 public:
  QtDialogs();
  ~QtDialogs() override;

  MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon icon,
                        MessageButtons buttons) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  bool PrintDialog() override;
  void RunModal(Form& window) override;
  void Notice(const std::string& title, const std::string& text) override;

  // The printer the print dialog set up; printing draws on it. Made on first use: asking
  // the print system for the default printer takes time the start-up should not spend.
  QPrinter& Printer();

 private:
  std::optional<std::string> FileDialog(const FileDialogRequest& request, bool save);
  std::unique_ptr<QPrinter> printer_;
  QString folder_;  // the file dialogs open where the user last chose a file
};

// The window dialogs belong to: the active window, else the program's main window.
QWidget* DialogParent();

}  // namespace tallisk::qt
