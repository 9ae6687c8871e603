#include "ui/qt/ChannelSheetWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/QtText.h"

namespace tallisk::qt {

ChannelSheetModel::ChannelSheetModel(ChannelSheet& sheet, QObject* parent)
    : QAbstractTableModel(parent), sheet_(sheet) {}

int ChannelSheetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : sheet_.RowCount();
}

int ChannelSheetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : sheet_.ColumnCount();
}

QVariant ChannelSheetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole)
    return ToQt(sheet_.Cell(index.row(), index.column()));
  return {};
}

QVariant ChannelSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return ToQt(sheet_.Header(section));
}

Qt::ItemFlags ChannelSheetModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && sheet_.Editable(index.column())) flags |= Qt::ItemIsEditable;
  return flags;
}

bool ChannelSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  const SheetResult result = sheet_.SetCell(index.row(), index.column(), FromQt(value.toString()));
  sheet_.Tell(result);
  return result.Applied;
}

void ChannelSheetModel::Refresh() {
  if (rowCount() > 0 && columnCount() > 0)
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ChannelSheetTable::MoveDown() {
  const QModelIndex below = currentIndex().siblingAtRow(currentIndex().row() + 1);
  if (below.isValid()) setCurrentIndex(below);
}

const std::function<void()>* ChannelSheetTable::CommandOf(const QKeyEvent& key) const {
  if (state() == EditingState) return nullptr;
  const QKeyCombination ctrlY(Qt::ControlModifier, Qt::Key_Y);
  const std::pair<bool, const std::function<void()>*> keys[] = {
      {key.matches(QKeySequence::Copy), &Commands.Copy},
      {key.matches(QKeySequence::Paste), &Commands.Paste},
      {key.matches(QKeySequence::Undo), &Commands.Undo},
      {key.matches(QKeySequence::Redo) || key.keyCombination() == ctrlY, &Commands.Redo}};
  for (const auto& [matches, command] : keys)
    if (matches && *command) return command;
  return nullptr;
}

bool ChannelSheetTable::event(QEvent* event) {
  // The view would take Ctrl+C for a copy of one cell; the sheet copies the selection.
  if (event->type() == QEvent::ShortcutOverride &&
      CommandOf(*static_cast<QKeyEvent*>(event)) != nullptr) {
    event->accept();
    return true;
  }
  return QTableView::event(event);
}

void ChannelSheetTable::keyPressEvent(QKeyEvent* event) {
  if (const auto* command = CommandOf(*event)) {
    (*command)();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      state() != EditingState) {
    MoveDown();
    return;
  }
  QTableView::keyPressEvent(event);
}

void ChannelSheetTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  // Enter in an editor submits it.
  if (hint == QAbstractItemDelegate::SubmitModelCache) MoveDown();
}

ChannelSheetWindow::ChannelSheetWindow(ChannelSheet& sheet, QWidget* parent)
    : QDialog(parent),
      sheet_(sheet),
      model_(new ChannelSheetModel(sheet, this)),
      table_(new ChannelSheetTable(this)),
      find_(new QLineEdit(this)) {
  setObjectName(ToQt(sheet.ObjectName()));
  setWindowTitle(ToQt(sheet.Title()));
  table_->setObjectName(QStringLiteral("tblChannelSheet"));
  table_->setModel(model_);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked);
  table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  // Columns as wide as their texts, judged by the first rows: every row of a 320-channel sheet
  // would cost the opening more than it gains.
  table_->horizontalHeader()->setResizeContentsPrecision(24);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setCurrentIndex(model_->index(0, 0));

  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("sheetCommands"));
  const auto command = [this, bar](const char* text, QList<QKeySequence> keys, auto call) {
    QAction* action = bar->addAction(QString::fromUtf8(text));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, call);
    return action;
  };
  command("Undo", {QKeySequence::Undo}, [this] { sheet_.Undo(); });
  command("Redo",
          {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
          [this] { sheet_.Redo(); });
  bar->addSeparator();
  command("Copy", {QKeySequence::Copy}, [this] { CopySelection(); });
  command("Paste", {QKeySequence::Paste}, [this] { PasteAtCurrent(); });
  command("Fill Down", {QKeySequence(Qt::CTRL | Qt::Key_D)}, [this] { FillDown(); });
  command("Clear Rows", {QKeySequence(Qt::CTRL | Qt::Key_Delete)}, [this] { ClearRows(); });
  bar->addSeparator();
  find_->setObjectName(QStringLiteral("txtFind"));
  find_->setPlaceholderText(QStringLiteral("Frequency or name"));
  find_->setMaximumWidth(160);
  bar->addWidget(find_);
  command("Find Next", {QKeySequence::FindNext}, [this] { FindNext(); });
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  command("Find", {QKeySequence::Find}, [this] {
    find_->setFocus();
    find_->selectAll();
  })->setVisible(false);
  bar->addSeparator();
  command("Export CSV...", {}, [this] { sheet_.ExportCsv(); });
  command("Import CSV...", {}, [this] { sheet_.ImportCsv(); });
  command("Close", {}, [this] { accept(); });

  table_->Commands = {[this] { CopySelection(); }, [this] { PasteAtCurrent(); },
                      [this] { sheet_.Undo(); }, [this] { sheet_.Redo(); }};

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar);
  layout->addWidget(table_);
  resize(1100, 600);

  sheet.Changed.Connect([model = QPointer<ChannelSheetModel>(model_)] {
    if (model) model->Refresh();
  });
  sheet.CloseRequested.Connect([window = QPointer<ChannelSheetWindow>(this)] {
    if (window) window->accept();
  });
}

bool ChannelSheetWindow::Bounds(int& top, int& left, int& bottom, int& right) const {
  const QModelIndexList selected = table_->selectionModel()->selectedIndexes();
  const QModelIndex current = table_->currentIndex();
  if (selected.isEmpty()) {
    if (!current.isValid()) return false;
    top = bottom = current.row();
    left = right = current.column();
    return true;
  }
  top = left = INT_MAX;
  bottom = right = -1;
  for (const QModelIndex& index : selected) {
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
    left = std::min(left, index.column());
    right = std::max(right, index.column());
  }
  return true;
}

void ChannelSheetWindow::CopySelection() {
  int top, left, bottom, right;
  if (Bounds(top, left, bottom, right))
    QApplication::clipboard()->setText(ToQt(sheet_.Copy(top, left, bottom, right)));
}

void ChannelSheetWindow::PasteAtCurrent() {
  int top, left, bottom, right;
  if (!Bounds(top, left, bottom, right)) return;
  sheet_.Tell(sheet_.Paste(top, left, FromQt(QApplication::clipboard()->text())));
}

void ChannelSheetWindow::FillDown() {
  int top, left, bottom, right;
  if (Bounds(top, left, bottom, right)) sheet_.Tell(sheet_.FillDown(top, left, bottom, right));
}

void ChannelSheetWindow::ClearRows() {
  int top, left, bottom, right;
  if (Bounds(top, left, bottom, right)) sheet_.Tell(sheet_.ClearRows(top, bottom));
}

void ChannelSheetWindow::FindNext() {
  const QModelIndex current = table_->currentIndex();
  const auto found = sheet_.Find(FromQt(find_->text()), current.isValid() ? current.row() : 0,
                                 current.isValid() ? current.column() : 0);
  if (!found) {
    QApplication::beep();
    return;
  }
  table_->setCurrentIndex(model_->index(found->first, found->second));
  table_->setFocus();
}

}  // namespace tallisk::qt
