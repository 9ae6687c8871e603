// The channel sheet on screen: "Channel Sheet..." opens the grid over the programming, and the
// spreadsheet keys copy, paste, edit and undo through the sheet.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "QtTestSupport.h"
#include "RadioBench.h"
#include "ui/qt/ChannelSheetWindow.h"

namespace tallisk::testing {
namespace {

using QtChannelSheet = QtWindowTest;

TEST_F(QtChannelSheet, KeysCopyPasteEditAndUndoThroughTheSheet) {
  form_->cmbRadioType.Select(1);
  form_->cmbRadioType.Leave();
  Km2Programming programming(*form_->Operator);
  ASSERT_TRUE(form_->ShowImageKM2(programming.Image()));
  form_->btnNext.Press();
  ASSERT_EQ(form_->CurrentPage, 5);

  bool seen = false;
  WhenModal<QDialog>([&](QDialog& dialog) {
    auto* sheetWindow = dynamic_cast<qt::ChannelSheetWindow*>(&dialog);
    ASSERT_NE(sheetWindow, nullptr);
    qt::ChannelSheetWindow& window = *sheetWindow;
    seen = true;
    QTableView& table = window.Table();
    EXPECT_EQ(table.objectName(), "tblChannelSheet");
    EXPECT_EQ(window.objectName(), "frmChannelSheet");
    const auto cell = [&](int row, int column) {
      return table.model()->index(row, column).data().toString().toStdString();
    };
    ASSERT_EQ(table.model()->rowCount(), 320);
    EXPECT_EQ(cell(0, 1), "ALPHA");
    // Ctrl+C of channel 3's receive frequency, Ctrl+V onto unused channel 6.
    table.setFocus();
    table.setCurrentIndex(table.model()->index(2, 2));
    QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "489.000000\n");
    table.setCurrentIndex(table.model()->index(5, 2));
    QTest::keyClick(&table, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 2), "489.000000");
    // F2 edits, Enter takes the text and moves down.
    table.setCurrentIndex(table.model()->index(5, 1));
    QTest::keyClick(&table, Qt::Key_F2);
    auto* editor = table.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "zed");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the view commits an edit once its key has been handled
    EXPECT_EQ(cell(5, 1), "ZED");
    EXPECT_EQ(table.currentIndex().row(), 6);
    // The README's picture of the sheet, when asked for.
    if (const QByteArray shot = qgetenv("TALLISK_SHEET_SCREENSHOT"); !shot.isEmpty()) {
      window.resize(1200, 330);
      table.scrollToTop();
      window.grab().save(QString::fromLocal8Bit(shot));
    }
    QTest::keyClick(&table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 1), "");
    QTest::keyClick(&table, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 1), "ZED");
    window.accept();
  });
  W<QPushButton>("btnChannelSheet")->click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(form_->Channels.Item(6).ChannelName, "ZED");
  // Ctrl+Z on the main window undoes the sheet's last step too.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(form_->Channels.Item(6).ChannelName, "");
}

}  // namespace
}  // namespace tallisk::testing
