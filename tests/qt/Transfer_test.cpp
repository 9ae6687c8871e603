// The whole program against a KM2 radio on a real pseudo-terminal (tallisk-radiosim), driven
// through the main window's widgets: read, a stopped write, a whole write, and the EEPROM the
// radio keeps. The close refused during a transfer is in MainWindow_test.cpp.

#include <signal.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "QtTestSupport.h"
#include "RadioBench.h"

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

// tallisk-radiosim serving a KM2 radio with the given EEPROM; on Stop it saves the EEPROM
// and ends.
class RadioSim {
 public:
  RadioSim(const fs::path& folder, const std::string& eeprom)
      : load_(folder / "radio.hex"), saved_(folder / "saved.hex") {
    std::ofstream(load_) << eeprom;
    // The shell tells its process id, which the simulator keeps, then the simulator its
    // device.
    pipe_ = popen(("echo $$; exec '" TALLISK_RADIOSIM "' km2 --eeprom '" + load_.string() +
                   "' --save '" + saved_.string() + "'")
                      .c_str(),
                  "r");
    char device[256] = "";
    if (pipe_ == nullptr || std::fscanf(pipe_, "%d %255s", &pid_, device) != 2) pid_ = 0;
    device_ = device;
  }
  ~RadioSim() { Stop(); }

  const std::string& Device() const { return device_; }
  // Ends the simulator; the EEPROM it saved, empty when it did not end cleanly.
  std::string Stop() {
    if (pipe_ == nullptr) return {};
    if (pid_ > 0) kill(pid_, SIGTERM);
    const int status = pclose(pipe_);
    pipe_ = nullptr;
    if (status != 0) return {};
    std::ifstream in(saved_);
    std::string hex, line;
    while (std::getline(in, line)) hex += line;
    return hex;
  }

 private:
  fs::path load_, saved_;
  FILE* pipe_ = nullptr;
  int pid_ = 0;
  std::string device_;
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
  ASSERT_EQ(sim.Device().rfind("/dev/", 0), 0u) << sim.Device();
  fs::create_directories(folders_.Configuration);
  std::ofstream(folders_.Configuration / "ports.txt") << "COM1 = " << sim.Device() << "\n";
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
