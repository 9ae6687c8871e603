// The printed report and its PDF from the Finish page, and the QVR test window from the
// start and Finish pages, through the window's commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "RadioBench.h"
#include "files/FileError.h"
#include "test/frmQVRTestMode.h"

namespace tallisk::testing {
namespace {

// Takes what the window would print, or fails as a printer or a disk would.
class RecordingOutput : public ReportOutput {
 public:
  std::vector<ReportDocument> Printed;
  std::vector<std::pair<ReportDocument, std::string>> Saved;
  std::string PrintFailure;
  bool DiskFull = false;

  void Print(const ReportDocument& document) override {
    if (!PrintFailure.empty()) throw std::runtime_error(PrintFailure);
    Printed.push_back(document);
  }
  void SavePdf(const ReportDocument& document, const std::string& path) override {
    if (DiskFull)
      throw FileError(path, std::make_error_code(std::errc::no_space_on_device), "SavePdf");
    Saved.emplace_back(document, path);
  }
};

std::vector<std::string> BodyLines(const ReportDocument& document) {
  std::vector<std::string> lines;
  for (const auto& block : document)
    if (block.Style == ReportStyle::Body)
      lines.insert(lines.end(), block.Lines.begin(), block.Lines.end());
  return lines;
}

class Reports : public MainWindowTest {
 protected:
  RecordingOutput output_;
};

TEST_F(Reports, ThePrintoutAndThePdfAreTheProgrammingReadAndACancelledDialogMakesNeither) {
  clsOperator profiles;
  profiles.LoadProfilesKM2();
  frmMain& w = StartKM2();
  w.UseReportOutput(output_);
  ASSERT_TRUE(w.ShowImageKM2(Km2Programming(profiles).Image()));

  dialogs_.PrintAnswers = {false};
  w.btnPrint.Press();
  EXPECT_EQ(dialogs_.PrintDialogs, 1);
  EXPECT_TRUE(output_.Printed.empty());

  dialogs_.PrintAnswers = {true};
  w.btnPrint.Press();
  ASSERT_EQ(output_.Printed.size(), 1u);
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();
  // The three channels read, one row each, and the groups with their channels.
  const auto lines = BodyLines(output_.Printed[0]);
  const auto heading = std::find(lines.begin(), lines.end(), kReportKM2ColumnHeading);
  ASSERT_GT(lines.end() - heading, 4);
  EXPECT_EQ(std::vector<std::string>(heading + 1, heading + 5),
            (std::vector<std::string>{"   1 ALPHA   480.012500   97.4T   480.012500   97.4T",
                                      "   2 BRAVO   485.000000   None    485.000000   None ",
                                      "   3         489.000000    +23D   489.500000    +23D", ""}));
  EXPECT_EQ(*(std::find(lines.begin(), lines.end(), kReportProgrammedChannels) + 1), " 1  2 ");

  // A printer that fails says what failed instead of ending the program.
  output_.PrintFailure = "the printer \"Office\" could not be opened";
  dialogs_.PrintAnswers = {true};
  w.btnPrint.Press();
  EXPECT_EQ(dialogs_.LastText(),
            "Unable to print the report: \rthe printer \"Office\" could not be opened");

  // Save as PDF: the report of the programming in memory.
  dialogs_.Files = {std::nullopt, "/media/usb/KM0042B.pdf"};
  w.RadioHeader.SerialNumber = "";
  w.btnSaveAsPdf.Press();
  w.RadioHeader.SerialNumber = "KM 0042/B ";
  w.btnSaveAsPdf.Press();
  // Named after the radio's serial number, as technicians file them; without one, "report".
  ASSERT_EQ(dialogs_.FileRequests.size(), 2u);
  EXPECT_EQ(dialogs_.FileRequests[0].ProposedName, "report.pdf");
  EXPECT_EQ(dialogs_.FileRequests[1].ProposedName, "KM0042B.pdf");
  ASSERT_EQ(output_.Saved.size(), 1u);
  EXPECT_EQ(output_.Saved[0].second, "/media/usb/KM0042B.pdf");
  EXPECT_EQ(output_.Saved[0].first, w.BuildReport());
  EXPECT_EQ(dialogs_.LastText(), "File Saved");

  // A full disk says why, and nothing is called saved.
  output_.DiskFull = true;
  dialogs_.Files = {"/media/usb/KM0042B.pdf"};
  w.btnSaveAsPdf.Press();
  EXPECT_EQ(dialogs_.LastText(),
            "Unable to save file because a following error has occured: \rNo space left on "
            "device: /media/usb/KM0042B.pdf #61");
}

TEST_F(Reports, TheTestWindowOpensForQvrOverTheWindowsLinkAndAQvrReadPrintsItsTones) {
  RadioOnCable<sim::VirtualRadioQVR> bench;
  frmMain& w = Start();
  bench.Attach(w);
  const std::uint8_t calibration[] = {0xD5, 0x07, 0x3F, 0x80};
  for (std::size_t i = 0; i < std::size(calibration); ++i)
    bench.radio.Eeprom[sim::VirtualRadioQVR::kCalibrationAddress + i] = calibration[i];
  w.Options->CommPort = 2;

  for (CommandField* command : {&w.btnTestMode, &w.btnTestMode2}) {
    SCOPED_TRACE(command->Name());
    bool quiet = false;
    dialogs_.ModalActions.push_back([&](Form& form) {
      auto& test = dynamic_cast<frmQVRTestMode&>(form);
      EXPECT_EQ(test.txtNorPowAdj.Text(), "21");
      EXPECT_EQ(test.txtLowPowAdj.Text(), "7");
      quiet = w.TransferBusy && !w.btnReadRadio.Enabled() && !w.btnWriteToRadio.Enabled() &&
              !w.QueryClose();
      dialogs_.Answers.push_back(MessageAnswer::Yes);
      test.btnDone.Press();
    });
    command->Press();
    EXPECT_TRUE(quiet);
    EXPECT_EQ(dialogs_.ModalWindows.back(), "frmQVRTestMode");
    EXPECT_EQ(bench.port.Line().PortNumber(), 2);
    EXPECT_FALSE(bench.radio.InTestMode());
    EXPECT_EQ(w.RadioHeader.NormalPower, 21);
    EXPECT_EQ(w.RadioHeader.CrystalCharType, 2);
    EXPECT_TRUE(!w.TransferBusy && w.btnReadRadio.Enabled() && w.btnWriteToRadio.Enabled());
  }

  // Channel 1 of a radio read listens and sends on tone code 11; the report names the tone,
  // though no channel was shown on the channel page.
  bench.radio.SetEepromHex(QvrProgramming().Image());
  dialogs_.Messages.clear();
  w.btnReadRadio.Press();
  ASSERT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();
  const auto lines = BodyLines(w.BuildReport());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Squelch Tone Frequency        : 100"), 2);

  // The KM2 family has no test mode: nothing is opened and nothing is sent.
  w.cmbRadioType.Select(1);
  w.cmbRadioType.Leave();
  bench.radio.RecordsHeard.clear();
  w.btnTestMode.Press();
  w.btnTestMode2.Press();
  EXPECT_EQ(dialogs_.ModalWindows.size(), 2u);
  EXPECT_TRUE(bench.radio.RecordsHeard.empty());
}

}  // namespace
}  // namespace tallisk::testing
