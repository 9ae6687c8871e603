// The QVR test window on Qt: each value with its minus and plus beside it, and the close box
// asking, as Done does, whether the radio keeps the values, then saying that it did.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "QtTestSupport.h"
#include "link/Clock.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioQVR.h"
#include "test/frmQVRTestMode.h"
#include "ui/qt/QtDialogs.h"

namespace tallisk::testing {
namespace {

class TestModeWindow : public QtTest {};

TEST_F(TestModeWindow, ValuesHaveMinusAndPlusBesideThemAndTheCloseBoxKeepsAsDoneDoes) {
  VirtualClock clock;
  sim::VirtualRadioQVR radio;
  VirtualRadioPort port{radio, clock};
  NoEventPump pump;
  qt::QtDialogs dialogs;
  clsRadioHeader header;
  frmQVRTestMode form(header, port, clock, pump, 1, dialogs);
  form.Load();
  ASSERT_TRUE(radio.InTestMode());

  const std::vector<std::array<const char*, 3>> rows = {
      {"txtMaxModDev", "cmdMaxModDevMinus", "cmdMaxModDevPlus"},
      {"txtNorPowAdj", "cmdNorPowAdjMinus", "cmdNorPowAdjPlus"},
      {"txtLowPowAdj", "cmdLowPowAdjMinus", "cmdLowPowAdjPlus"},
      {"txtFrqRefAdj", "cmdRefFrqAdjMinus", "cmdRefFrqAdjPlus"}};
  bool stayedOpen = false;
  SeenMessage kept;
  WhenModal<QDialog>([&](QDialog& dialog) {
    int lastRow = -1;
    for (const auto& [value, minus, plus] : rows) {
      SCOPED_TRACE(value);
      auto* field = Find<QLineEdit>(dialog, value);
      auto* down = Find<QPushButton>(dialog, minus);
      auto* up = Find<QPushButton>(dialog, plus);
      ASSERT_TRUE(field && down && up);
      const auto middle = [&](QWidget* w) { return w->mapTo(&dialog, w->rect().center()); };
      // One line: minus right of the value, plus right of minus, rows top to bottom.
      EXPECT_NEAR(middle(down).y(), middle(field).y(), field->height() / 2);
      EXPECT_NEAR(middle(up).y(), middle(field).y(), field->height() / 2);
      EXPECT_GT(middle(down).x(), middle(field).x());
      EXPECT_GT(middle(up).x(), middle(down).x());
      EXPECT_EQ(down->text(), "-");
      EXPECT_EQ(up->text(), "+");
      EXPECT_GT(middle(field).y(), lastRow);
      lastRow = middle(field).y();
    }
    // Cancel keeps the window, and the radio in test mode; Yes keeps the values, leaves, and
    // says the radio holds them.
    AnswerMessage(QMessageBox::Cancel);
    dialog.close();
    stayedOpen = dialog.isVisible() && radio.InTestMode();
    WhenModal<QMessageBox>([&kept](QMessageBox& box) {
      box.button(QMessageBox::Yes)->click();
      AnswerMessage(QMessageBox::Ok, &kept);
    });
    dialog.close();
  });
  dialogs.RunModal(form);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(form.IsClosed());
  EXPECT_FALSE(radio.InTestMode());
  EXPECT_EQ(kept.text, "The values were kept in the radio.");
  EXPECT_EQ(kept.title, "QVR Radio Programmer");
}

}  // namespace
}  // namespace tallisk::testing
