// The channel page on Qt at the keyboard, and the channel list window run modally over the
// main window. That every page's fields have their widgets is in MainWindow_test.cpp.

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

#include "QtTestSupport.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"

namespace tallisk::testing {
namespace {

class QtChannelPages : public QtWindowTest {
 protected:
  // A new programming on page 5: QVR VHF High A (136-156 MHz) or KM2 52-8991A.
  void ToChannelPage(int family) {
    form_->cmbRadioType.Select(family);
    form_->cmbRadioType.Leave();
    form_->btnProgramRadio.Press();
    if (family == 0) form_->lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
    if (family == 1) form_->txtModelNumber.SetText("52-8991A");
    while (form_->CurrentPage != 5) form_->btnNext.Press();
  }
};

TEST_F(QtChannelPages, PageDownAndPageUpStepChannelsAndEnterTakesTheFrequency) {
  ToChannelPage(0);
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
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

}  // namespace
}  // namespace tallisk::testing
