// The channel page on Qt at the keyboard, and the channel sheet's grid with its spreadsheet
// keys. That every page's fields have their widgets is in MainWindow_test.cpp.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "QtTestSupport.h"
#include "RadioBench.h"
#include "ui/qt/ChannelSheetWindow.h"

namespace tallisk::testing {
namespace {

using QtChannelPages = QtWindowTest;

TEST_F(QtChannelPages, PageDownAndPageUpStepChannelsAndEnterTakesTheFrequency) {
  NewProgramming(0, 5);
  Activate();
  auto* receive = W<QLineEdit>("ReceiveChannelFreq");
  auto* channel = W<QComboBox>("cmbChannelNumber");
  receive->setFocus();
  receive->selectAll();
  QTest::keyClicks(receive, "150.0125");
  QTest::keyClick(receive, Qt::Key_Return);
  EXPECT_EQ(receive->text(), "150.012 500");

  QTest::keyClick(receive, Qt::Key_PageDown);
  EXPECT_EQ(form_->CurrentChannel, 2);
  EXPECT_EQ(channel->currentText(), "2");
  EXPECT_EQ(receive->text(), "000.000 000");

  // Stepping away leaves the field first: the frequency is checked before it is stored.
  receive->selectAll();
  QTest::keyClicks(receive, "200");
  SeenMessage warning;
  AnswerMessage(QMessageBox::Ok, &warning);
  QTest::keyClick(receive, Qt::Key_PageUp);
  EXPECT_TRUE(warning.text.contains("outside the bands")) << warning.text.toStdString();
  EXPECT_EQ(form_->CurrentChannel, 1);
  EXPECT_EQ(receive->text(), "150.012 500");
  EXPECT_DOUBLE_EQ(form_->Channels.Item(2).RxFrequency, 200000000);
  channel->setFocus();
  QTest::keyClick(channel, Qt::Key_PageUp);  // no channel below 1
  EXPECT_EQ(form_->CurrentChannel, 1);
  QTest::keyClick(channel, Qt::Key_PageDown);  // one step, from the choice itself
  EXPECT_EQ(form_->CurrentChannel, 2);
}

TEST_F(QtChannelPages, TheSheetsKeysCopyPasteEditAndUndoThroughTheSheet) {
  form_->cmbRadioType.Select(1);
  form_->cmbRadioType.Leave();
  Km2Programming programming(*form_->Operator);
  ASSERT_TRUE(form_->ShowImageKM2(programming.Image()));
  form_->btnNext.Press();
  ASSERT_EQ(form_->CurrentPage, 5);

  bool seen = false;
  WhenModal<QDialog>([&](QDialog& dialog) {
    auto* window = dynamic_cast<qt::ChannelSheetWindow*>(&dialog);
    ASSERT_NE(window, nullptr);
    seen = true;
    QTableView& table = window->Table();
    EXPECT_EQ(table.objectName(), "tblChannelSheet");
    EXPECT_EQ(window->objectName(), "frmChannelSheet");
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
      window->resize(1200, 330);
      table.scrollToTop();
      window->grab().save(QString::fromLocal8Bit(shot));
    }
    QTest::keyClick(&table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 1), "");
    QTest::keyClick(&table, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cell(5, 1), "ZED");
    window->accept();
  });
  W<QPushButton>("btnChannelSheet")->click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(form_->Channels.Item(6).ChannelName, "ZED");
  // Ctrl+Z on the main window undoes the sheet's last step too.
  Activate();
  QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(form_->Channels.Item(6).ChannelName, "");
}

}  // namespace
}  // namespace tallisk::testing
