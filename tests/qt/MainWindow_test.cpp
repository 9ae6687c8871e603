// The program's main window and the dialogs it opens, driven through their widgets as a
// technician drives them: the pages, the channel page's keys, the channel sheet's grid, the
// message and file dialogs, the QVR test window, small screens, and a KM2 radio on a real
// pseudo-terminal.

#include <signal.h>

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QListWidget>
#include <QPointer>
#include <QPrintDialog>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "QtTestSupport.h"
#include "test/frmQVRTestMode.h"
#include "ui/qt/ChannelSheetWindow.h"

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

using QtMainWindow = QtWindowTest;

TEST_F(QtMainWindow, EveryFieldIsAWidgetOnItsPageAndKeysAndClicksReachTheFields) {
  EXPECT_EQ(ShownPage(), PageWidget(0));
  EXPECT_TRUE(W("btnNext")->isHidden());
  for (const auto& page : form_->Pages())
    for (const PageRow& row : page->Rows)
      for (const Field* field : row.Fields) {
        QWidget* widget = W(field->Name());
        EXPECT_TRUE(widget && PageWidget(page->Index)->isAncestorOf(widget)) << field->Name();
      }
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
  // A button is never narrower than six letters, whatever its caption.
  auto* next = W<QPushButton>("btnNext");
  EXPECT_GE(next->minimumWidth(), next->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 6);
  next->click();
  W<QCheckBox>("chkPriority2Channel")->click();
  W<QPushButton>("btnFinish")->click();
  EXPECT_EQ(ShownPage(), PageWidget(6));
  EXPECT_EQ(form_->RadioHeader.SerialNumber, "12E 3ABC");
  EXPECT_FALSE(form_->RadioHeader.Priority2Channel);
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
  QTest::keyClick(family, Qt::Key_Tab);  // the family is loaded when the user moves on
  W<QPushButton>("btnProgramRadio")->click();
  EXPECT_TRUE(W("lstRadios")->isHidden());
  EXPECT_FALSE(W("txtModelNumber")->isHidden());
}

TEST_F(QtMainWindow, RefusesToCloseDuringATransferWithTheAlertNotice) {
  form_->TransferBusy = true;
  EXPECT_FALSE(window_->close());
  auto* notice = Find<QMessageBox>(*window_, "notice");
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
  form_->btnProgramRadio.Press();
  form_->lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
  while (form_->CurrentPage != 5) form_->btnNext.Press();
  Activate();
  auto* receive = W<QLineEdit>("ReceiveChannelFreq");
  receive->setFocus();
  receive->selectAll();
  QTest::keyClicks(receive, "150.0125");
  QTest::keyClick(receive, Qt::Key_Return);
  EXPECT_EQ(receive->text(), "150.012 500");

  QTest::keyClick(receive, Qt::Key_PageDown);
  EXPECT_EQ(form_->CurrentChannel, 2);
  EXPECT_EQ(W<QComboBox>("cmbChannelNumber")->currentText(), "2");
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

// The dialogs the windows see through Dialogs, as real Qt dialogs.
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
}

TEST_F(QtDialogsTest, FileDialogsTakeTheFilterTitleAndTheExtensionAndTellCancelApart) {
  EXPECT_EQ(qt::QtFileFilter("Radio Files|*.qvr;*.km2|All Files|*.*"),
            "Radio Files (*.qvr *.km2);;All Files (*.*)");

  const ScratchProgram scratch("tallisk-qt-files-");
  const fs::path& folder = scratch.root;
  std::ofstream(folder / "old.qvr") << "S1";

  QStringList filters;
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    filters = dialog.nameFilters();
    dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.findChild<QLineEdit*>()->setText("radio7");
    static_cast<QDialog&>(dialog).accept();
  });
  const auto saved = dialogs.SaveFile({"Save Radio File", "QVR Radio Files|*.qvr", true, false});
  EXPECT_EQ(filters, QStringList{"QVR Radio Files (*.qvr)"});
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

  // The open dialog starts where the last file was chosen and takes only a file that is
  // there; cancel is no file at all.
  QString shownFolder;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  WhenModal<QFileDialog>([&](QFileDialog& dialog) {
    shownFolder = dialog.directory().absolutePath();
    mode = dialog.fileMode();
    dialog.reject();
  });
  EXPECT_EQ(dialogs.OpenFile({"Open Radio File", "QVR Radio Files|*.qvr", false, true}),
            std::nullopt);
  EXPECT_EQ(shownFolder.toStdString(), folder.string());
  EXPECT_EQ(mode, QFileDialog::ExistingFile);
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

// The close box asks the window first, as Done does; Done ends the window from its logic.
TEST_F(QtDialogsTest, TheQvrTestWindowsCloseBoxAsksAsDoneDoesAndItsLogicEndsIt) {
  VirtualClock clock;
  sim::VirtualRadioQVR radio;
  VirtualRadioPort port{radio, clock};
  NoEventPump pump;
  clsRadioHeader header;
  frmQVRTestMode form(header, port, clock, pump, 1, dialogs);
  form.Load();
  bool stayedOpen = false;
  WhenModal<QDialog>([&](QDialog& dialog) {
    // Cancel keeps the window, and the radio in test mode; No leaves it.
    AnswerMessage(QMessageBox::Cancel);
    dialog.close();
    stayedOpen = dialog.isVisible() && radio.InTestMode();
    AnswerMessage(QMessageBox::No);
    Find<QPushButton>(dialog, "btnDone")->click();
  });
  dialogs.RunModal(form);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(form.IsClosed());
  EXPECT_FALSE(radio.InTestMode());
}

// The windows on a technician's laptop: 1920 x 1080 at 200% scaling leaves 960 x 540 logical
// pixels, and a 16-point desktop font must still do with 800 x 600. Every page of both
// families and every window the pages open, at the keyboard and with the wheel.
QRect RectIn(const QWidget* w, const QWidget* within) {
  return {w->mapTo(within, QPoint(0, 0)), w->size()};
}

bool FitsScreen(const QWidget& window) {
  const QSize room = window.screen()->availableGeometry().size();
  return room.expandedTo(window.frameGeometry().size()) == room;
}

// Each field of the page that can take the focus gets it and must lie whole in what shows of
// the page.
void ExpectFieldsShownWhole(QWidget* page) {
  const QWidget* shown = page->parentWidget();
  for (QWidget* field : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!field->isVisible() || !field->isEnabled() || field->focusPolicy() == Qt::NoFocus) continue;
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(field->hasFocus()) << field->objectName().toStdString();
    // A choice that got new entries takes its new width a moment later; what counts is where
    // the field lies once the window has settled.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->rect().contains(RectIn(field, shown)); }, 1000))
        << field->objectName().toStdString();
  }
}

// Scrolling the page with the wheel past a choice must not turn it.
void ExpectWheelPassesChoices(QWidget* page) {
  for (QComboBox* choice : page->findChildren<QComboBox*>(Qt::FindDirectChildrenOnly)) {
    if (!choice->isVisible() || !choice->isEnabled() || choice->hasFocus() || choice->count() < 2)
      continue;
    const int index = choice->currentIndex();
    const QPointF at = choice->rect().center();
    QWheelEvent turn(at, choice->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(choice, &turn);
    EXPECT_EQ(choice->currentIndex(), index) << choice->objectName().toStdString();
  }
}

class QtWindowFit : public QtWindowTest {
 protected:
  QtWindowFit() { cable_.Attach(*form_); }
  ~QtWindowFit() override {
    window_.reset();
    form_.reset();
  }

  // The main window made anew in the case's font, as it opens, then at the case's size.
  void Reopen(QSize size) {
    window_.reset();
    window_ = std::make_unique<qt::MainWindow>(*form_);
    window_->show();
    EXPECT_EQ(W("btnNext")->font(), QApplication::font());
    EXPECT_TRUE(FitsScreen(*window_)) << window_->width() << " x " << window_->height();
    size_ = size;
    window_->resize(size_);
    Activate();
    QCoreApplication::processEvents();
  }

  void ExpectPageFits() {
    // A window that the page opened has gone; the keys are the main window's again.
    Activate();
    QCoreApplication::processEvents();
    SCOPED_TRACE("page " + std::to_string(form_->CurrentPage));
    QWidget* page = ShownPage();
    ASSERT_EQ(page, PageWidget(form_->CurrentPage));
    // No page widens or heightens the window past the screen.
    EXPECT_EQ(window_->size(), size_);
    const QRect inside = window_->rect();
    for (const char* name : {"pageTitle", "btnBack", "btnNext", "btnFinish", "btnOptions"}) {
      const QWidget* w = W(name);
      EXPECT_TRUE(w->isHidden() || inside.contains(RectIn(w, window_.get()))) << name;
    }
    EXPECT_TRUE(inside.contains(RectIn(page->parentWidget(), window_.get())));
    ExpectWheelPassesChoices(page);
    ExpectFieldsShownWhole(page);
  }

  // A window that `open` runs modally: no larger than its screen, its fields reachable.
  void ExpectWindowFits(const QString& name, const std::function<void()>& open,
                        bool asksOnClose = false) {
    SCOPED_TRACE(name.toStdString());
    bool seen = false;
    WhenModal<QDialog>([&](QDialog& dialog) {
      seen = dialog.objectName() == name;
      EXPECT_TRUE(seen) << dialog.objectName().toStdString();
      EXPECT_TRUE(FitsScreen(dialog)) << dialog.width() << " x " << dialog.height();
      auto* area = dialog.findChild<QScrollArea*>();
      EXPECT_NE(area, nullptr);
      if (area != nullptr) ExpectFieldsShownWhole(area->widget());
      if (asksOnClose) AnswerMessage(QMessageBox::No);
      dialog.reject();
    });
    open();
    EXPECT_TRUE(seen);
  }

  void WalkFamily(int family) {
    form_->cmbRadioType.Select(family);
    form_->cmbRadioType.Leave();
    ExpectPageFits();
    if (family == 0)
      ExpectWindowFits(
          "frmQVRTestMode", [this] { form_->btnTestMode.Press(); }, true);
    form_->btnProgramRadio.Press();
    if (family == 0) form_->lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
    if (family == 1) form_->txtModelNumber.SetText("52-8991A");
    for (;;) {
      ExpectPageFits();
      if (form_->CurrentPage == 7) {
        form_->cmbOneTouchSelection.Select(1);
        ExpectWindowFits("frmCTCSSKeyForm", [this] { form_->btnCTCSSKeyForm.Press(); });
      }
      if (form_->CurrentPage == 12)
        ExpectWindowFits("frmChannelList", [this] { form_->btnChannelList.Press(); });
      if (form_->CurrentPage == 6) break;
      form_->btnNext.Press();
    }
    if (family == 1) ExpectWindowFits("frmManualEdit", [this] { form_->cmbManual.Press(); });
    // Back to the start page, leaving the programming.
    while (form_->CurrentPage != 1) form_->btnBack.Press();
    AnswerMessage(QMessageBox::Yes);
    form_->btnBack.Press();
  }

  RadioOnCable<sim::VirtualRadioQVR> cable_;
  QSize size_;
};

TEST_F(QtWindowFit, EveryPageAndWindowFitsASmallScreenWithEveryFieldInViewWhenFocused) {
  // The laptop at 200% in the desktop's usual font (0 points), then the 16-point font.
  const std::pair<QSize, qreal> screens[] = {{{960, 540}, 0}, {{800, 600}, 16}};
  // Widgets take their font when they are made; the usual one comes back for the other tests.
  const QFont usual = QApplication::font();
  for (const auto& [size, points] : screens) {
    SCOPED_TRACE(points);
    QFont font = usual;
    if (points > 0) font.setPointSizeF(points);
    QApplication::setFont(font);
    Reopen(size);
    ExpectWindowFits("frmOptions", [this] { W<QPushButton>("btnOptions")->click(); });
    WalkFamily(0);
    WalkFamily(1);
  }
  QApplication::setFont(usual);
}

// tallisk-radiosim serving a KM2 radio with the given EEPROM on a real pseudo-terminal; on
// Stop it saves the EEPROM and ends.
struct RadioSim {
  RadioSim(const fs::path& folder, const std::string& eeprom) : saved(folder / "saved.hex") {
    const fs::path load = folder / "radio.hex";
    std::ofstream(load) << eeprom;
    // The shell tells its process id, which the simulator keeps, then the simulator its
    // device.
    pipe = popen(("echo $$; exec '" TALLISK_RADIOSIM "' km2 --eeprom '" + load.string() +
                  "' --save '" + saved.string() + "'")
                     .c_str(),
                 "r");
    char name[256] = "";
    if (pipe == nullptr || std::fscanf(pipe, "%d %255s", &pid, name) != 2) pid = 0;
    device = name;
  }
  ~RadioSim() { Stop(); }

  // Ends the simulator; the EEPROM it saved, empty when it did not end cleanly.
  std::string Stop() {
    if (pipe == nullptr) return {};
    if (pid > 0) kill(pid, SIGTERM);
    const int status = pclose(std::exchange(pipe, nullptr));
    std::ifstream in(saved);
    std::string hex, line;
    while (status == 0 && std::getline(in, line)) hex += line;
    return hex;
  }

  fs::path saved;
  FILE* pipe = nullptr;
  int pid = 0;
  std::string device;
};

class QtTransfer : public QtWindowTest {
 protected:
  QtTransfer() : QtWindowTest(false) {}
};

// The whole program against the radio: read, a stopped write, a whole write, and the EEPROM
// the radio keeps.
TEST_F(QtTransfer, Km2RadioReadAndWrittenBackThroughTheWindowOverAPseudoTerminal) {
  clsOperator profiles;
  profiles.LoadProfilesKM2();
  Km2Programming programming(profiles);
  RadioSim sim(program_.root, programming.Image());
  ASSERT_EQ(sim.device.rfind("/dev/", 0), 0u) << sim.device;
  fs::create_directories(folders_.Configuration);
  std::ofstream(folders_.Configuration / "ports.txt") << "COM1 = " << sim.device << "\n";
  Open();
  Activate();
  form_->cmbRadioType.Select(1);
  form_->cmbRadioType.Leave();

  W<QPushButton>("btnReadRadio")->click();
  EXPECT_TRUE(W("prgReadRadio")->isHidden());
  auto* serial = W<QLineEdit>("txtSerialNumber");
  EXPECT_EQ(serial->text(), "KM0042");
  serial->setFocus();
  serial->end(false);
  QTest::keyClicks(serial, "7");
  W<QPushButton>("btnFinish")->click();
  ASSERT_EQ(form_->CurrentPage, 6);

  // Stopped once a tenth has gone: the Stop button works because the write pumps the
  // window's events. The radio then holds a part, and the window says so.
  auto* writeBar = W<QProgressBar>("prgWriteToRadio");
  SeenMessage told;
  When([&] { return writeBar->isVisible() && writeBar->value() >= 10; },
       [&] {
         W<QPushButton>("btnCancelWriting")->click();
         AnswerMessage(QMessageBox::Ok, &told);
       },
       60000);
  AnswerMessage(QMessageBox::Yes);
  W<QPushButton>("btnWriteToRadio")->click();
  EXPECT_TRUE(told.text.startsWith("The radio programming did not finish"))
      << told.text.toStdString();
  EXPECT_EQ(W<QLabel>("lblWriteToRadioInfo")->text(), "");

  int writeMost = -1;
  QObject::connect(writeBar, &QProgressBar::valueChanged,
                   [&](int value) { writeMost = std::max(writeMost, value); });
  AnswerMessage(QMessageBox::Yes);
  W<QPushButton>("btnWriteToRadio")->click();
  EXPECT_EQ(writeMost, 100);
  EXPECT_EQ(W<QLabel>("lblWriteToRadioInfo")->text(),
            "Radio Programming Complete, verified by reading the radio back");

  programming.Header.SerialNumber = "KM00427";
  EXPECT_EQ(ImageDifference(sim.Stop(), programming.Image()), "");
}

}  // namespace
}  // namespace tallisk::testing
