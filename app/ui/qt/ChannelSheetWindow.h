#pragma once

// The channel sheet on screen: a table view over an adapter of the toolkit-free sheet, with
// the keyboard of a spreadsheet (arrows, Enter down, Tab across, F2 or typing to edit,
// Ctrl+C and Ctrl+V as tab-separated text, Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y) and the sheet's
// commands on a tool bar. Everything the commands do is the sheet's; this only binds them.

#include <QAbstractTableModel>
#include <QDialog>
#include <QTableView>
#include <functional>

#include "ui/ChannelSheet.h"

class QLineEdit;

namespace tallisk::qt {

class ChannelSheetModel : public QAbstractTableModel {
 public:
  explicit ChannelSheetModel(ChannelSheet& sheet, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  // Every cell again, after an edit of the sheet.
  void Refresh();

 private:
  ChannelSheet& sheet_;
};

// Enter moves down, as in a spreadsheet, also when it ends an edit; the clipboard and history
// keys are the sheet's, not the view's own single-cell copy.
class ChannelSheetTable : public QTableView {
 public:
  using QTableView::QTableView;
  struct Keys {
    std::function<void()> Copy, Paste, Undo, Redo;
  };
  Keys Commands;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void MoveDown();
  const std::function<void()>* CommandOf(const QKeyEvent& key) const;
};

class ChannelSheetWindow : public QDialog {
 public:
  explicit ChannelSheetWindow(ChannelSheet& sheet, QWidget* parent = nullptr);
  QTableView& Table() const { return *table_; }

  void CopySelection();
  void PasteAtCurrent();
  void FillDown();
  void ClearRows();
  void FindNext();

 private:
  // The selection's bounds; the current cell when nothing is selected.
  bool Bounds(int& top, int& left, int& bottom, int& right) const;

  ChannelSheet& sheet_;
  ChannelSheetModel* model_;
  ChannelSheetTable* table_;
  QLineEdit* find_;
};

}  // namespace tallisk::qt
