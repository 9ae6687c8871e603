// The dialogs the windows see through Dialogs, as real Qt dialogs, and the QVR test window run
// modally: each value with its minus and plus beside it, and the close box asking, as Done
// does, whether the radio keeps the values.

#include <QFileDialog>
#include <QPrintDialog>

#include "QtTestSupport.h"
#include "test/frmQVRTestMode.h"
#include "ui/FormFields.h"

namespace tallisk::testing {
namespace {

class QtDialogsTest : public QtTest {
 protected:
  qt::QtDialogs dialogs;
};

TEST_F(QtDialogsTest, MessageBoxesShowTitleTextIconAndButtonsAndReturnTheAnswer) {
  SeenMessage seen;
  AnswerMessage(QMessageBox::No, &seen);
  EXPECT_EQ(dialogs.Message("QVR Radio Programmer", "Changing?\r\rProceed?", MessageIcon::Question,
                            MessageButtons::YesNo),
            MessageAnswer::No);
  EXPECT_EQ(seen.title, "QVR Radio Programmer");
  EXPECT_EQ(seen.text, "Changing?\n\nProceed?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, 2);

  AnswerMessage(QMessageBox::Cancel, &seen);
  EXPECT_EQ(dialogs.Message("", "Save?", MessageIcon::Exclamation, MessageButtons::YesNoCancel),
            MessageAnswer::Cancel);
  EXPECT_EQ(seen.title, "Tallisk");  // a message without a title carries the program's name
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, 3);

  // Escape gives the cautious answer, never Yes.
  WhenModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.Message("t", "Sure?", MessageIcon::Question, MessageButtons::YesNo),
            MessageAnswer::No);
  WhenModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.Message("t", "Go?", MessageIcon::None, MessageButtons::OKCancel),
            MessageAnswer::Cancel);
}

TEST_F(QtDialogsTest, FileDialogsTakeTheFilterTitleAndTheExtensionAndTellCancelApart) {
  EXPECT_EQ(qt::QtFileFilter("QVR Radio Files|*.qvr"), "QVR Radio Files (*.qvr)");
  EXPECT_EQ(qt::QtFileFilter("Radio Files|*.qvr;*.km2|All Files|*.*"),
            "Radio Files (*.qvr *.km2);;All Files (*.*)");

  const ScratchProgram scratch("tallisk-qt-files-");
  const std::filesystem::path& folder = scratch.root;
  std::ofstream(folder / "old.qvr") << "S1";

  QStringList filters;
  QString title;
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    filters = dialog.nameFilters();
    title = dialog.windowTitle();
    dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.findChild<QLineEdit*>()->setText("radio7");
    static_cast<QDialog&>(dialog).accept();
  });
  const auto saved = dialogs.SaveFile({"Save Radio File", "QVR Radio Files|*.qvr", true, false});
  EXPECT_EQ(filters, QStringList{"QVR Radio Files (*.qvr)"});
  EXPECT_EQ(title, "Save Radio File");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, (folder / "radio7.qvr").string());

  // Choosing an existing file to save over asks first; No keeps the dialog open.
  bool asked = false;
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    dialog.findChild<QLineEdit*>()->setText("old.qvr");
    WhenModal<QMessageBox>([&](QMessageBox& box) {
      asked = true;
      box.button(QMessageBox::No)->click();
      QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_FALSE(dialogs.SaveFile({"Save Radio File", "QVR Radio Files|*.qvr", true, false}));
  EXPECT_TRUE(asked);

  // The open dialog starts where the last file was chosen; cancel is no file at all.
  QString shownFolder;
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    shownFolder = dialog.directory().absolutePath();
    dialog.reject();
  });
  EXPECT_EQ(dialogs.OpenFile({"Open Radio File", "QVR Radio Files|*.qvr", false, true}),
            std::nullopt);
  EXPECT_EQ(shownFolder.toStdString(), folder.string());
}

TEST_F(QtDialogsTest, ThePrintDialogSetsUpTheProgramsPrinterAndTellsConfirmFromCancel) {
  QPrinter* shown = nullptr;
  WhenModal<QPrintDialog>([&](QPrintDialog& dialog) {
    shown = dialog.printer();
    dialog.reject();
  });
  EXPECT_FALSE(dialogs.PrintDialog());
  EXPECT_EQ(shown, &dialogs.Printer());
  WhenModal<QPrintDialog>([](QPrintDialog& dialog) { static_cast<QDialog&>(dialog).accept(); });
  EXPECT_TRUE(dialogs.PrintDialog());
}

TEST_F(QtDialogsTest, AModalWindowEndsWhenItsLogicClosesIt) {
  Form form("frmAsk", "Ask");
  form.AddPage(0, "Ask");
  CommandField ok(form, "cmdOK", "OK");
  form.PageAt(0)->Row({&ok});
  ok.OnClick.Connect([&] { form.Close(); });

  WhenModal<QDialog>([](QDialog& dialog) {
    EXPECT_EQ(dialog.objectName(), "frmAsk");
    EXPECT_EQ(dialog.windowTitle(), "Ask");
    Find<QPushButton>(dialog, "cmdOK")->click();
  });
  dialogs.RunModal(form);
  EXPECT_TRUE(form.IsClosed());
}

// The close box asks the window first, as its logic would.
TEST_F(QtDialogsTest,
       TheQvrTestWindowValuesHaveMinusAndPlusBesideThemAndTheCloseBoxAsksAsDoneDoes) {
  VirtualClock clock;
  sim::VirtualRadioQVR radio;
  VirtualRadioPort port{radio, clock};
  NoEventPump pump;
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
      EXPECT_GT(middle(field).y(), lastRow);
      lastRow = middle(field).y();
    }
    // Cancel keeps the window, and the radio in test mode; No leaves it.
    AnswerMessage(QMessageBox::Cancel);
    dialog.close();
    stayedOpen = dialog.isVisible() && radio.InTestMode();
    AnswerMessage(QMessageBox::No);
    dialog.close();
  });
  dialogs.RunModal(form);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(form.IsClosed());
  EXPECT_FALSE(radio.InTestMode());
}

}  // namespace
}  // namespace tallisk::testing
