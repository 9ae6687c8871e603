// The whole program against a KM2 radio on a real pseudo-terminal (tallisk-radiosim), driven
// through the main window's widgets: read, a stopped write, a whole write, and the EEPROM the
// radio keeps. The close refused during a transfer is in MainWindow_test.cpp.

#include <signal.h>

#include <QProgressBar>
#include <algorithm>
#include <utility>

#include "QtTestSupport.h"

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

// tallisk-radiosim serving a KM2 radio with the given EEPROM; on Stop it saves the EEPROM
// and ends.
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

TEST_F(QtTransfer, Km2RadioReadAndWrittenBackThroughTheWindowOverAPseudoTerminal) {
  clsOperator profiles;
  profiles.LoadProfilesKM2();
  Km2Programming programming(profiles);
  RadioSim sim(root_, programming.Image());
  ASSERT_EQ(sim.device.rfind("/dev/", 0), 0u) << sim.device;
  fs::create_directories(folders_.Configuration);
  std::ofstream(folders_.Configuration / "ports.txt") << "COM1 = " << sim.device << "\n";
  Open(nullptr);
  std::vector<std::string> notes;
  form_->ProgramLog = [&notes](const std::string& note) { notes.push_back(note); };
  Activate();
  form_->cmbRadioType.Select(1);
  form_->cmbRadioType.Leave();

  auto* readBar = W<QProgressBar>("prgReadRadio");
  int readMost = -1;
  QObject::connect(readBar, &QProgressBar::valueChanged,
                   [&](int value) { readMost = std::max(readMost, value); });
  W<QPushButton>("btnReadRadio")->click();
  EXPECT_EQ(readMost, 100);
  EXPECT_TRUE(readBar->isHidden());
  EXPECT_EQ(form_->CurrentPage, 2);
  auto* serial = W<QLineEdit>("txtSerialNumber");
  EXPECT_EQ(serial->text(), "KM0042");
  // A pseudo-terminal has no modem-control lines, and the log says so once.
  EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                          [](const std::string& note) {
                            return note.find("has no modem-control lines") != std::string::npos;
                          }),
            1)
      << (notes.empty() ? "" : notes.front());

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
