#include "ui/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QVBoxLayout>

#include "ui/ChannelSheet.h"
#include "ui/FormFields.h"
#include "ui/UserAction.h"
#include "ui/qt/ChannelSheetWindow.h"
#include "ui/qt/FormView.h"
#include "ui/qt/QtText.h"
#include "ui/qt/ScreenFit.h"

namespace tallisk::qt {

namespace {

// The windows' messages break their lines with carriage returns.
QString MessageText(const std::string& text) {
  QString out = ToQt(text);
  out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

// A message without a title carries the program's name, as a message box always has.
QString MessageTitle(const std::string& title) {
  return title.empty() ? QStringLiteral("Tallisk") : ToQt(title);
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// A modal window: the form's mirror in a dialog that ends when the form's logic closes it.
// The close box and Escape ask the form first.
class FormDialog : public QDialog {
 public:
  FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* view = new FormView(form, this);
    layout->addWidget(view);
    view->BindWindow(this);
    QPointer<FormDialog> self(this);
    form.CloseRequested.Connect([self] {
      if (self) self->accept();
    });
  }

  void reject() override {
    // Asking may run the window's logic (the test window leaves test mode on the radio).
    FieldMirror::Run(ClosingWindow(form_), [this] {
      if (form_.QueryClose()) form_.Close();
    });
  }

 private:
  Form& form_;
};

// The extension of the filter's first pattern when it is a plain "*.ext".
QString DefaultSuffix(const std::string& filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  if (parts.size() < 2) return {};
  static const QRegularExpression plain(QStringLiteral("^\\*\\.(\\w+)$"));
  const QRegularExpressionMatch match = plain.match(parts[1].trimmed());
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(top) != nullptr && top->isVisible()) return top;
  return nullptr;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.trimmed());
  }
  // A lone pattern without a description still filters.
  if (parts.size() % 2 == 1 && !parts.back().isEmpty()) filters << parts.back();
  return filters.join(QLatin1String(";;"));
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

MessageAnswer QtDialogs::Message(const std::string& title, const std::string& text,
                                 MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(BoxIcon(icon), MessageTitle(title), MessageText(text), QMessageBox::NoButton,
                  DialogParent());
  box.setObjectName(QStringLiteral("message"));
  box.setTextFormat(Qt::PlainText);
  struct Choice {
    QMessageBox::StandardButton button;
    MessageAnswer answer;
  };
  std::vector<Choice> choices;
  switch (buttons) {
    case MessageButtons::OK:
      choices = {{QMessageBox::Ok, MessageAnswer::OK}};
      break;
    case MessageButtons::OKCancel:
      choices = {{QMessageBox::Ok, MessageAnswer::OK},
                 {QMessageBox::Cancel, MessageAnswer::Cancel}};
      break;
    case MessageButtons::YesNo:
      choices = {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}};
      break;
    case MessageButtons::YesNoCancel:
      choices = {{QMessageBox::Yes, MessageAnswer::Yes},
                 {QMessageBox::No, MessageAnswer::No},
                 {QMessageBox::Cancel, MessageAnswer::Cancel}};
      break;
  }
  for (const Choice& c : choices) box.addButton(c.button);
  box.setDefaultButton(choices.front().button);
  // Escape (or the close box) is the cautious answer: Cancel, else No, else OK.
  box.setEscapeButton(choices.back().button);
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  for (const Choice& c : choices)
    if (clicked == box.button(c.button)) return c.answer;
  return choices.back().answer;
}

std::optional<std::string> QtDialogs::FileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(DialogParent(), ToQt(request.Title), folder_, QtFileFilter(request.Filter));
  dialog.setObjectName(QStringLiteral("fileDialog"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!save && request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.ConfirmOverwrite));
  // "radio7" typed under the "*.qvr" filter is saved as radio7.qvr.
  if (save) dialog.setDefaultSuffix(DefaultSuffix(request.Filter));
  if (save && !request.ProposedName.empty()) dialog.selectFile(ToQt(request.ProposedName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().front();
  folder_ = QFileInfo(chosen).absolutePath();
  return FromQt(chosen);
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogRequest& request) {
  return FileDialog(request, false);
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogRequest& request) {
  return FileDialog(request, true);
}

QPrinter& QtDialogs::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool QtDialogs::PrintDialog() {
  QPrintDialog dialog(&Printer(), DialogParent());
  dialog.setObjectName(QStringLiteral("printDialog"));
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::RunModal(Form& window) {
  window.Reopen();
  // The channel sheet is a grid, not a form of fields.
  if (auto* sheet = dynamic_cast<ChannelSheet*>(&window)) {
    ChannelSheetWindow grid(*sheet, DialogParent());
    FitToScreen(grid);
    grid.exec();
    return;
  }
  FormDialog dialog(window, DialogParent());
  FitToScreen(dialog);
  dialog.exec();
}

void QtDialogs::Notice(const std::string& title, const std::string& text) {
  auto* box = new QMessageBox(QMessageBox::Information, MessageTitle(title), MessageText(text),
                              QMessageBox::Ok, DialogParent());
  box->setObjectName(QStringLiteral("notice"));
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

}  // namespace tallisk::qt
