// The real windows on Qt: frmMain in the program's main window and frmOptions run modally,
// driven through their widgets as a technician drives them.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <stdexcept>

#include "QtTestSupport.h"

namespace tallisk::testing {
namespace {

class QtMainWindow : public QtWindowTest {
 protected:
  QWidget* ShownPage() const { return window_->View().CurrentPageWidget(); }
  QWidget* PageWidget(int index) const { return window_->View().PageWidget(index); }
};

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

  // Keys the field cannot store are refused as they are typed, and a change by code shows.
  QTest::keyClicks(W<QLineEdit>("txtSerialNumber"), "12ef-g 3abcd999");
  form_->txtCustomer.SetText("C1");
  EXPECT_EQ(W<QLineEdit>("txtCustomer")->text(), "C1");
  W<QPushButton>("btnNext")->click();
  W<QCheckBox>("chkPriority2Channel")->click();
  W<QPushButton>("btnFinish")->click();
  EXPECT_EQ(ShownPage(), PageWidget(6));
  EXPECT_EQ(form_->RadioHeader.SerialNumber, "12E 3ABC");
  EXPECT_EQ(form_->RadioHeader.CustomerNumber, "C1");
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

}  // namespace
}  // namespace tallisk::testing
