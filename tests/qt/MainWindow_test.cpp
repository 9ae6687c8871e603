// frmMain in the program's main window, driven through its widgets as a technician drives
// them: the pages, the channel page's keys and the channel sheet's grid.

#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QPointer>
#include <QTableView>
#include <stdexcept>

#include "QtTestSupport.h"
#include "ui/qt/ChannelSheetWindow.h"

namespace tallisk::testing {
namespace {

using QtMainWindow = QtWindowTest;

TEST_F(QtMainWindow, EveryFieldIsAWidgetOnItsPageAndKeysAndClicksReachTheFields) {
  EXPECT_EQ(ShownPage(), PageWidget(0));
  EXPECT_TRUE(W("btnNext")->isHidden());
  for (const auto& page : form_->Pages())
    for (const PageRow& row : page->Rows)
      for (const Field* field : row.Fields) {
        QWidget* widget = W(field->Name());
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(PageWidget(page->Index)->isAncestorOf(widget))
            << field->Name() << " " << page->Index;
      }
  for (const char* name : {"btnNext", "btnBack", "btnFinish", "btnOptions"})
    EXPECT_EQ(W<QPushButton>(name)->parentWidget()->parentWidget(), &window_->View()) << name;
  // Alt and a command's first letter press it: "Program The Radio", then "Next".
  Activate();
  QTest::keyClick(window_.get(), Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->CurrentPage == 1; }, 1000));
  QTest::keyClick(window_.get(), Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->CurrentPage == 2; }, 1000));
  EXPECT_EQ(ShownPage(), PageWidget(2));
  EXPECT_EQ(W<QLabel>("pageTitle")->text(), "Identify Radio Features");

  // Keys the field cannot store are refused as they are typed.
  QTest::keyClicks(W<QLineEdit>("txtSerialNumber"), "12ef-g 3abcd999");
  W<QPushButton>("btnNext")->click();
  W<QCheckBox>("chkPriority2Channel")->click();
  W<QPushButton>("btnFinish")->click();
  EXPECT_EQ(ShownPage(), PageWidget(6));
  EXPECT_EQ(form_->RadioHeader.SerialNumber, "12E 3ABC");
  EXPECT_FALSE(form_->RadioHeader.Priority2Channel);
  EXPECT_TRUE(W("btnNext")->isHidden());
  EXPECT_FALSE(W("btnBack")->isHidden());
}

// The question is asked from inside the list's own selection change; No must put the old
// model back on screen as well as in the field.
TEST_F(QtMainWindow, DecliningAModelChangeOfAReadRadioPutsTheOldModelBackInTheList) {
  W<QPushButton>("btnProgramRadio")->click();
  auto* models = W<QListWidget>("lstRadios");
  ASSERT_GT(models->count(), 5);
  form_->lstRadios.Select(2);
  form_->ModelFromRadio = true;
  form_->ModelProfile = form_->Operator->GetRadioInfo(form_->lstRadios.Text());

  auto clickRow = [models](int row) {
    models->scrollToItem(models->item(row));
    QTest::mouseClick(models->viewport(), Qt::LeftButton, {},
                      models->visualItemRect(models->item(row)).center());
  };
  AnswerMessage(QMessageBox::No);
  clickRow(5);
  EXPECT_EQ(form_->lstRadios.SelectedIndex(), 2);
  EXPECT_EQ(models->currentRow(), 2);
  EXPECT_TRUE(models->item(2)->isSelected());
  EXPECT_FALSE(models->item(5)->isSelected());

  AnswerMessage(QMessageBox::Yes);
  clickRow(5);
  EXPECT_EQ(form_->lstRadios.SelectedIndex(), 5);
  EXPECT_EQ(models->currentRow(), 5);
}

TEST_F(QtMainWindow, LeavingTheFamilyChoiceSwitchesTheModelPage) {
  Activate();
  auto* family = W<QComboBox>("cmbRadioType");
  family->setFocus();
  QTest::keyClick(family, Qt::Key_Down);
  EXPECT_EQ(form_->RadioType, 1);
  QTest::keyClick(family, Qt::Key_Tab);  // the family is loaded when the user moves on
  W<QPushButton>("btnProgramRadio")->click();
  EXPECT_TRUE(W("lstRadios")->isHidden());
  EXPECT_FALSE(W("txtModelNumber")->isHidden());
}

TEST_F(QtMainWindow, RefusesToCloseDuringATransferWithTheAlertNotice) {
  form_->TransferBusy = true;
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  auto* notice = QApplication::activeModalWidget() == nullptr
                     ? Find<QMessageBox>(*window_, "notice")
                     : nullptr;
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->windowTitle(), "Alert");
  EXPECT_FALSE(notice->isModal());
  EXPECT_EQ(notice->text(),
            "The application is busy at the moment.  Please wait until the application completes "
            "its operation.");
  const QPointer<QMessageBox> shown = notice;
  notice->button(QMessageBox::Ok)->click();
  // A notice once closed goes, rather than staying alive under the window.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(shown.isNull());

  form_->TransferBusy = false;
  EXPECT_TRUE(window_->close());
}

TEST_F(QtMainWindow, AFailureNobodyExpectedBehindAButtonEndsInAMessageNotTheProgram) {
  // The command does its work, then one of its reactions fails as nothing in it foresaw.
  form_->btnProgramRadio.OnClick.Connect([] { throw std::out_of_range("basic_string::substr"); });
  SeenMessage seen;
  AnswerMessage(QMessageBox::Ok, &seen);
  W<QPushButton>("btnProgramRadio")->click();
  EXPECT_EQ(seen.title, "QVR Radio Programmer");
  EXPECT_EQ(seen.text,
            "Following error has occured while pressing \"Program The Radio\":\n"
            "basic_string::substr");
}

TEST_F(QtMainWindow, PageDownAndPageUpStepChannelsAndEnterTakesTheFrequency) {
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

TEST_F(QtMainWindow, TheChannelSheetsKeysCopyPasteEditAndUndoThroughTheSheet) {
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
