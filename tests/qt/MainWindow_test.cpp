// The real windows on Qt: frmMain in the program's main window and frmOptions run modally,
// driven through their widgets as a technician drives them.

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

#include "QtTestSupport.h"
#include "files/clsAppBehavior.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"

namespace tallisk::testing {
namespace {

class BenchDevices : public SerialDeviceSource {
 public:
  std::vector<SerialDevice> Present() override { return {{"/dev/ttyUSB0", "FT232R USB UART"}}; }
  std::string AutomaticDevice(int portNumber) override {
    return portNumber == 1 ? "/dev/ttyUSB0" : "/dev/ttyS" + std::to_string(portNumber - 1);
  }
};

class QtMainWindow : public QtTest {
 protected:
  QtMainWindow() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("tallisk-qt-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root_);
    folders_ = {root_ / "install", root_ / "config", root_ / "state"};
    std::filesystem::create_directories(folders_.Installation);
    std::ofstream(folders_.Installation / "control.txt") << "QVR=TRUE\r\nKM2=TRUE\r\n";
    std::ofstream(folders_.Installation / "km2.clr") << std::string(16384, 'F');
    std::ofstream(folders_.Installation / "tmphelp.thp") << "Type the model number.";
    form_ = std::make_unique<frmMain>(dialogs_, folders_, &devices_);
    window_ = std::make_unique<qt::MainWindow>(*form_);
    window_->show();
  }
  ~QtMainWindow() override {
    window_.reset();
    form_.reset();
    std::filesystem::remove_all(root_);
  }

  template <class T = QWidget>
  T* W(const std::string& name) const {
    T* widget = Find<T>(*window_, name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QWidget* ShownPage() const { return window_->View().CurrentPageWidget(); }
  QWidget* PageWidget(int index) const { return window_->View().PageWidget(index); }

  std::filesystem::path root_;
  ProgramFolders folders_;
  BenchDevices devices_;
  qt::QtDialogs dialogs_;
  std::unique_ptr<frmMain> form_;
  std::unique_ptr<qt::MainWindow> window_;
};

TEST_F(QtMainWindow, StartsOnTheStartPageWithEverySettingsFieldAsAWidgetOnItsPage) {
  EXPECT_EQ(window_->objectName(), "frmMain");
  EXPECT_EQ(window_->windowTitle(), "Tallisk 0.1");
  EXPECT_EQ(ShownPage(), PageWidget(0));
  EXPECT_EQ(W<QLabel>("pageTitle")->text(), "What Do You Want To Do?");
  EXPECT_EQ(W<QComboBox>("cmbRadioType")->currentText(), "Dorrel QVR");
  EXPECT_TRUE(W("btnNext")->isHidden());

  for (int index : {0, 1, 2, 3, 4, 7, 8, 9}) {
    const Page* page = form_->PageAt(index);
    ASSERT_NE(page, nullptr);
    ASSERT_FALSE(page->Rows.empty()) << index;
    for (const PageRow& row : page->Rows)
      for (const Field* field : row.Fields) {
        QWidget* widget = W(field->Name());
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(PageWidget(index)->isAncestorOf(widget)) << field->Name() << " " << index;
      }
  }
  for (const char* name : {"btnNext", "btnBack", "btnFinish", "btnOptions"})
    EXPECT_EQ(W<QPushButton>(name)->parentWidget()->parentWidget(), &window_->View()) << name;
}

TEST_F(QtMainWindow, TypingReachesTheFieldsAndTheRadioAndChangesByCodeReachTheWidgets) {
  W<QPushButton>("btnProgramRadio")->click();
  EXPECT_EQ(ShownPage(), PageWidget(1));
  auto* models = W<QListWidget>("lstRadios");
  ASSERT_EQ(models->count(), form_->lstRadios.Count());
  ASSERT_GT(models->count(), 1);
  EXPECT_EQ(models->currentRow(), 0);
  models->setCurrentRow(1);
  EXPECT_EQ(form_->lstRadios.SelectedIndex(), 1);
  W<QPushButton>("btnNext")->click();
  EXPECT_EQ(ShownPage(), PageWidget(2));
  EXPECT_EQ(W<QLabel>("pageTitle")->text(), "Identify Radio Features");

  // The QVR serial number takes digits, A to E and blanks, up to eight.
  auto* serial = W<QLineEdit>("txtSerialNumber");
  QTest::keyClicks(serial, "12ef-g 3abcd999");
  EXPECT_EQ(serial->text(), "12E 3ABC");
  form_->txtCustomer.SetText("C1");
  EXPECT_EQ(W<QLineEdit>("txtCustomer")->text(), "C1");
  EXPECT_FALSE(W<QComboBox>("cmbPllReferenceFreq")->currentText().isEmpty());

  W<QPushButton>("btnNext")->click();
  EXPECT_EQ(ShownPage(), PageWidget(3));
  auto* scan = W<QComboBox>("cmbScanType");
  EXPECT_EQ(scan->currentText(), "PS");
  scan->setFocus();
  QTest::keyClick(scan, Qt::Key_Home);
  EXPECT_EQ(form_->cmbScanType.Text(), "Normal");
  W<QCheckBox>("chkPriority2Channel")->click();

  W<QPushButton>("btnFinish")->click();
  EXPECT_EQ(form_->CurrentPage, 6);
  EXPECT_EQ(ShownPage(), PageWidget(6));
  EXPECT_EQ(form_->RadioHeader.SerialNumber, "12E 3ABC");
  EXPECT_EQ(form_->RadioHeader.CustomerNumber, "C1");
  EXPECT_EQ(form_->RadioHeader.ScanMethod, 0);
  EXPECT_FALSE(form_->RadioHeader.Priority2Channel);
  EXPECT_TRUE(W("btnNext")->isHidden());
  EXPECT_TRUE(W("btnFinish")->isHidden());
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
  SeenMessage question;
  AnswerMessage(QMessageBox::No, &question);
  clickRow(5);
  EXPECT_EQ(question.title, "QVR Radio Programmer");
  EXPECT_EQ(form_->lstRadios.SelectedIndex(), 2);
  EXPECT_EQ(models->currentRow(), 2);
  EXPECT_TRUE(models->item(2)->isSelected());
  EXPECT_FALSE(models->item(5)->isSelected());

  AnswerMessage(QMessageBox::Yes);
  clickRow(5);
  EXPECT_EQ(form_->lstRadios.SelectedIndex(), 5);
  EXPECT_EQ(models->currentRow(), 5);
  EXPECT_FALSE(form_->ModelFromRadio);
}

TEST_F(QtMainWindow, LeavingTheFamilyChoiceSwitchesTheModelPageToTheKm2Fields) {
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto* family = W<QComboBox>("cmbRadioType");
  family->setFocus();
  QTest::keyClick(family, Qt::Key_Down);
  EXPECT_EQ(form_->RadioType, 1);
  QTest::keyClick(family, Qt::Key_Tab);  // the family is loaded when the user moves on
  W<QPushButton>("btnProgramRadio")->click();
  EXPECT_TRUE(W("lstRadios")->isHidden());
  EXPECT_FALSE(W("txtModelNumber")->isHidden());

  // A number the profiles do not know is refused where it was typed.
  auto* model = W<QLineEdit>("txtModelNumber");
  QTest::keyClicks(model, "52-1119z");
  EXPECT_EQ(form_->txtModelNumber.Text(), "52-1119Z");
  SeenMessage refusal;
  AnswerMessage(QMessageBox::Ok, &refusal);
  W<QPushButton>("btnNext")->click();
  EXPECT_EQ(refusal.text, "Invalid Raio Model");
  EXPECT_EQ(refusal.title, "QV2 Radio Programmer");
  EXPECT_EQ(ShownPage(), PageWidget(1));

  // A ninth character from "D" on asks whether the 52-6581 is installed.
  model->selectAll();
  QTest::keyClicks(model, "52-8991ad");
  W<QPushButton>("btnNext")->click();
  EXPECT_EQ(ShownPage(), PageWidget(2));
  EXPECT_EQ(W<QLabel>("lblSpecialRadio")->text(), "52-6581 installed?");
  EXPECT_FALSE(W("chkSpecialRadio")->isHidden());
  EXPECT_TRUE(W("chkAlternatePreScaler")->isHidden());
  EXPECT_TRUE(W("lblAlternatePreScaler1")->isHidden());
}

TEST_F(QtMainWindow, BackOnTheModelPageAsksAndOnlyYesGoesBackToTheStart) {
  W<QPushButton>("btnProgramRadio")->click();
  SeenMessage question;
  AnswerMessage(QMessageBox::No, &question);
  W<QPushButton>("btnBack")->click();
  EXPECT_EQ(question.title, "QVR/KM2 Radio Programmer");
  EXPECT_EQ(question.text,
            "Going back to the main screen will erase all the data you entered so far.\n\n"
            "Are you sure you want to do this?");
  EXPECT_EQ(question.icon, QMessageBox::Question);
  EXPECT_EQ(question.buttons, 2);
  EXPECT_EQ(ShownPage(), PageWidget(1));

  AnswerMessage(QMessageBox::Yes);
  W<QPushButton>("btnBack")->click();
  EXPECT_EQ(ShownPage(), PageWidget(0));
  for (const char* name : {"btnNext", "btnBack", "btnFinish"}) EXPECT_TRUE(W(name)->isHidden());
}

TEST_F(QtMainWindow, TheOptionsWindowOpensModallyAndOkKeepsWhatWasChosen) {
  QString device, title, name;
  WhenModal<QDialog>([&](QDialog& dialog) {
    title = dialog.windowTitle();
    name = dialog.objectName();
    device = Find<QLabel>(dialog, "lblPortDevice")->text();
    auto* port = Find<QComboBox>(dialog, "cmbCommport");
    port->setFocus();
    QTest::keyClick(port, Qt::Key_Down);
    QTest::keyClick(port, Qt::Key_Down);
    Find<QCheckBox>(dialog, "chkReadLog")->click();
    Find<QPushButton>(dialog, "cmdOK")->click();
  });
  W<QPushButton>("btnOptions")->click();
  EXPECT_EQ(name, "frmOptions");
  EXPECT_EQ(title, "Options");
  EXPECT_TRUE(device.contains("/dev/ttyUSB0 \u2014 FT232R USB UART")) << device.toStdString();
  EXPECT_EQ(form_->Options->CommPort, 3);
  EXPECT_TRUE(form_->Options->UseReadLog);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // The close box is Cancel: nothing changes.
  WhenModal<QDialog>([](QDialog& dialog) {
    Find<QCheckBox>(dialog, "chkWriteLog")->click();
    dialog.close();
  });
  W<QPushButton>("btnOptions")->click();
  EXPECT_FALSE(form_->Options->UseWriteLog);
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
  notice->button(QMessageBox::Ok)->click();

  form_->TransferBusy = false;
  EXPECT_TRUE(window_->close());
}

}  // namespace
}  // namespace tallisk::testing
