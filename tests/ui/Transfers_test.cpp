// Reading a radio into the pages and writing it back, through the window's commands only,
// against virtual radios on a virtual clock; the data logs, the read dump and the history.

#include "RadioBench.h"
#include "files/History.h"
#include "files/RadioFile.h"
#include "files/StartupFiles.h"
#include "ui/frmBatch.h"
#include "ui/frmHistory.h"

namespace tallisk::testing {
namespace {

constexpr char kVerified[] = "Radio Programming Complete, verified by reading the radio back";
constexpr char kSilent[] = "The radio did not answer: it may not be programmed";
using Km2Bench = RadioOnCable<sim::VirtualRadioKM2>;

class Transfers : public MainWindowTest {
 protected:
  // Logs on, with a fixed time stamp.
  void LogEverything(frmMain& w) {
    w.Options->UseReadLog = w.Options->UseWriteLog = true;
    w.ReadLog.TimeStamp = w.WriteLog.TimeStamp = [] { return std::string("2026-12-06 21:04:05"); };
  }
  std::string ReadLogText() { return FileText(folders_.State / "ReadDataLog.log"); }

  // The programming the KM2 radios start with.
  Km2Programming Km2() {
    if (!profiles_.RadioData) profiles_.LoadProfilesKM2();
    return Km2Programming(profiles_);
  }
  // A KM2 radio holding that programming read into a new window, which then stands on the
  // Finish page.
  frmMain& ReadOntoFinish(Km2Bench& bench) {
    bench.radio.SetEepromHex(Km2().Image());
    frmMain& w = StartKM2();
    bench.Attach(w);
    w.btnReadRadio.Press();
    w.btnFinish.Press();
    EXPECT_EQ(w.CurrentPage, 6);
    return w;
  }
  // The history's jobs, newest first, by their actions' first letters (and serial numbers).
  std::string JobLetters(bool serials = false) {
    std::string letters;
    for (const JobRecord& job : History(folders_.State / "history").Entries()) {
      letters += JobActionName(job.Action)[0];
      if (serials) letters += job.SerialNumber + " ";
    }
    return letters;
  }

  clsOperator profiles_;
};

TEST_F(Transfers, AQvrReadEditedAndWrittenBackChangesOnlyWhatWasEdited) {
  RadioOnCable<sim::VirtualRadioQVR> bench;
  bench.Pace();
  QvrProgramming programming;
  bench.radio.SetEepromHex(programming.Image());
  const std::string eeprom = bench.radio.EepromHex();

  frmMain& w = Start("QVR=TRUE");
  bench.Attach(w);
  LogEverything(w);
  w.btnReadRadio.Press();

  // The programming is on the pages, page 2 on show; the read log holds the answer as it came.
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();
  EXPECT_EQ(w.CurrentPage, 2);
  EXPECT_TRUE(w.ModelFromRadio);
  EXPECT_EQ(w.lstRadios.Text(), "VHF High A 136-156 MHz 16 Ch");
  EXPECT_EQ(w.txtSerialNumber.Text(), "4711");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "146.025 000");
  EXPECT_EQ(w.Channels.Item(3).RxSignalData, 19);
  EXPECT_EQ(ReadLogText(), LogEntry(DataLines("S1", eeprom, 0, 0, 256, 8)));

  // A setting, a channel, then Finish and write.
  w.btnNext.Press();
  w.cmbScanType.SelectText("Normal");
  Walk(w, w.btnNext, 5);
  w.cmbChannelNumber.SelectText("2");
  w.ReceiveChannelFreq.SetText("150.75");
  w.ReceiveChannelFreq.Leave();
  w.btnFinish.Press();
  ASSERT_EQ(w.CurrentPage, 6);
  dialogs_.Answers.push_back(MessageAnswer::Yes);
  w.btnWriteToRadio.Press();

  programming.Header.ScanMethod = 0;
  programming.Channels[1].RxFrequency = 150750000;
  const std::string edited = programming.Image();
  EXPECT_EQ(
      ImageDifference(bench.radio.EepromHex(), edited + std::string(512 - edited.size(), 'F')), "");
  EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), kVerified);
  // The write log: both parts of the run back to back, the last line filled with FF.
  const std::string padded = edited + std::string(400 - edited.size(), 'F');
  EXPECT_EQ(FileText(folders_.State / "WriteDataLog.log"),
            LogEntry(DataLines("S1", padded, 0, 0, 200, 8)));

  // A byte of channel 2 that will not take what is written is found by the read-back.
  bench.radio.Misbehave.StuckByte = 0x22 + 10 + 3;
  dialogs_.Answers = {MessageAnswer::Yes, MessageAnswer::No};
  w.btnWriteToRadio.Press();
  EXPECT_NE(dialogs_.LastText().find("does not hold what was written: channel 2."),
            std::string::npos)
      << dialogs_.LastText();
  bench.radio.Misbehave.StuckByte = -1;

  // A radio that stops listening part way through the next write.
  bench.radio.Misbehave.IgnoreAfter = static_cast<int>(bench.radio.RecordsHeard.size()) + 10;
  dialogs_.Answers.push_back(MessageAnswer::Yes);
  w.btnWriteToRadio.Press();
  EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), kSilent);
  EXPECT_NE(dialogs_.LastText().find("did not answer"), std::string::npos) << dialogs_.LastText();

  // A bad line, silence or no CTS: nothing is written and the edited programming stays on the
  // pages.
  const struct {
    sim::Misbehaviour misbehave;
    bool write;
    std::string said;
  } failures[] = {
      {{.GarbleBlock = 21}, false, "Checksum Error"},  // the calibration line
      {{.Silent = true}, false, "No Data Read"},
      {{.NeverCTS = true},
       true,
       "The radio is not ready (no CTS). Check the cable and that the radio is switched on."},
  };
  for (const auto& c : failures) {
    SCOPED_TRACE(c.said);
    RadioOnCable<sim::VirtualRadioQVR> bad;
    bad.radio.Misbehave = c.misbehave;
    bad.Attach(w);
    const std::string held = bad.radio.EepromHex();
    if (c.write) dialogs_.Answers.push_back(MessageAnswer::Yes);
    (c.write ? w.btnWriteToRadio : w.btnReadRadio).Press();
    EXPECT_EQ(dialogs_.LastText(), c.said);
    EXPECT_EQ(bad.radio.EepromHex(), held);
    EXPECT_EQ(w.Channels.Item(2).RxFrequency, 150750000);
  }
}

TEST_F(Transfers, AKm2ReadEditedAndWrittenBackChangesOnlyWhatWasEditedAndIsKeptInTheHistory) {
  Km2Bench bench;
  bench.Pace();
  Km2Programming programming = Km2();
  const std::string original = programming.Image();
  bench.radio.SetEepromHex(original);

  frmMain& w = StartKM2();
  bench.Attach(w);
  LogEverything(w);
  // The time left the progress showed first, and when; the last percentage shown.
  double expected = -1;
  Clock::Nanos started{};
  int percent = -1;
  w.ProgressChanged.Connect([&] {
    if (!w.Progress().Active) return;
    percent = w.Progress().Percent;
    if (expected < 0) {
      expected = w.Progress().SecondsLeft;
      started = bench.clock.Now();
    }
  });
  bool refused = true;  // closing the window while the radio is read
  bench.onPump = [&] { refused = refused && w.TransferBusy && !w.QueryClose(); };
  w.btnReadRadio.Press();

  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();
  EXPECT_TRUE(refused);
  EXPECT_EQ(bench.radio.BlockRequests().size(), 40u);
  EXPECT_EQ(percent, 100);
  EXPECT_FALSE(w.Progress().Active);
  // The time left at the start, from the line rate, is the time the read took.
  const double took = std::chrono::duration<double>(bench.clock.Now() - started).count();
  EXPECT_NEAR(expected, took, 0.03 * took);
  EXPECT_EQ(w.CurrentPage, 2);
  EXPECT_EQ(w.txtSerialNumber.Text(), "KM0042");
  EXPECT_EQ(w.KM2Tail, original.substr(2 * 0x18DD));
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "480.012500");
  EXPECT_EQ(w.LastProgrammedEntry(), 3);

  // The read log holds every accepted answer; the read dump the whole read image.
  const std::string eeprom = bench.radio.EepromHex();
  EXPECT_EQ(ReadLogText(),
            LogEntry(DataLines("R1", eeprom + std::string(256, 'F'), 0x8000, 0, 40 * 208, 16)));
  EXPECT_EQ(FileText(folders_.State / "me3.km2"), eeprom + std::string(320, 'F'));

  // The customer on page 2, a channel on page 5, a setting on page 8, a group on page 10.
  w.txtCustomer.SetText("TAXI");
  w.btnNext.Press();
  ASSERT_EQ(w.CurrentPage, 5);
  w.cmbChannelNumber.SelectText("2");
  w.ReceiveChannelFreq.SetText("481");
  w.ReceiveChannelFreq.Leave();
  Walk(w, w.btnNext, 8);
  w.chkMuteUntilSignalled.Click();
  Walk(w, w.btnNext, 10);
  w.txtGroupName.SetText("UNO");
  w.btnFinish.Press();
  ASSERT_EQ(w.CurrentPage, 6);

  bench.onPump = nullptr;
  dialogs_.Answers.push_back(MessageAnswer::Yes);
  w.btnWriteToRadio.Press();

  programming.Header.CustomerNumber = "TAXI";
  programming.Channels[1].RxFrequency = 481000000;
  programming.Header.MuteUntilSignalled = false;
  programming.Groups[0].GroupName = "UNO";
  const std::string edited = programming.Image();
  EXPECT_EQ(ImageDifference(bench.radio.EepromHex(), edited), "");
  EXPECT_EQ(bench.radio.WritesEnded(), 1);
  EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), kVerified);
  // Only the question before the write.
  EXPECT_EQ(dialogs_.Messages.size(), 1u) << dialogs_.LastText();
  EXPECT_EQ(FileText(folders_.State / "WriteDataLog.log"), LogEntry(edited));

  // Back on the start page with the other family chosen, the history window finds the write
  // by its customer and opens it as it was written.
  w.StartNewProgramming();
  w.cmbRadioType.Select(0);
  w.cmbRadioType.Leave();
  std::vector<std::string> listed;
  dialogs_.ModalActions.push_back([&](Form& f) {
    auto& history = dynamic_cast<frmHistory&>(f);
    history.txtFilter.SetText("taxi");
    for (const auto& item : history.lstJobs.Items()) listed.push_back(item.Text);
    history.btnOpen.Press();
  });
  w.btnHistory.Press();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_NE(listed[0].find("KM2  verified  KM0042  TAXI"), std::string::npos) << listed[0];
  EXPECT_EQ(w.RadioType, 1);
  EXPECT_EQ(w.CurrentPage, 2);
  const auto saved = root_ / "opened.km2";
  ASSERT_TRUE(w.SaveRadioFileKM2(saved.string()));
  EXPECT_EQ(ReadRadioFile(saved, RadioFamily::KM2), edited);
}

TEST_F(Transfers, Km2ReadsThatDoNotFinishLeaveTheProgrammingInMemoryAsItWas) {
  Km2Programming programming = Km2();
  const std::string first = programming.Image();
  programming.Header.SerialNumber = "OTHER";
  programming.Channels[0].RxFrequency = 481000000;
  const std::string second = programming.Image();

  // The first read with a file where the state folder belongs: neither the dump nor the
  // history can be kept there. Both are noted, and the read stands.
  std::ofstream(folders_.State) << "not a folder";
  frmMain& w = StartKM2();
  Km2Bench firstRadio;
  firstRadio.radio.SetEepromHex(first);
  firstRadio.Attach(w);
  LogEverything(w);
  std::vector<std::string> notes;
  w.ProgramLog = [&](const std::string& note) { notes.push_back(note); };
  w.btnReadRadio.Press();
  ASSERT_EQ(w.CurrentPage, 2);
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();
  ASSERT_EQ(notes.size(), 2u);
  dialogs_.Answers = {MessageAnswer::Yes};
  Walk(w, w.btnBack, 0);

  struct Case {
    sim::Misbehaviour misbehave;
    std::size_t stopAt;  // Stop pressed once this many blocks were asked for
    int blocksKept;      // blocks in the read dump and the log; -1 none written
    std::string said;
  };
  const Case cases[] = {
      {{}, 5, 5, ""},
      {{.GarbleBlock = 7, .GarbleAlways = true}, 0, 7, "Checksum Error"},
      {{.GarbleBlock = 0, .GarbleAlways = true}, 0, -1, "Checksum Error"},
      {{.StopAnsweringAfter = 10}, 0, 10, "No Data Read"},
      {{.NotAttached = true}, 0, -1, "Error: Unable to communicate with the radio"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    std::filesystem::remove_all(folders_.State);
    dialogs_.Messages.clear();
    Km2Bench bench;
    bench.radio.SetEepromHex(second);
    bench.radio.Misbehave = c.misbehave;
    bench.Attach(w);
    bench.onPump = [&] {
      if (c.stopAt > 0 && bench.radio.BlockRequests().size() == c.stopAt) {
        w.btnStop.Press();
        EXPECT_EQ(w.lblReadRadioInfo.Caption(), "Stopping the radio...");
      }
    };
    w.btnReadRadio.Press();

    EXPECT_EQ(dialogs_.LastText(), c.said);
    // Nothing of the second radio reached the data model or the pages.
    EXPECT_EQ(w.CurrentPage, 0);
    EXPECT_EQ(w.RadioHeader.SerialNumber, "KM0042");
    EXPECT_EQ(w.Channels.Item(1).RxFrequency, 480012500);
    EXPECT_TRUE(w.btnReadRadio.Enabled() && !w.btnStop.Visible() && !w.TransferBusy);
    // What was read is logged and dumped all the same.
    const auto dump = folders_.State / "me3.km2";
    if (c.blocksKept < 0) {
      EXPECT_FALSE(std::filesystem::exists(dump));
      EXPECT_FALSE(std::filesystem::exists(folders_.State / "ReadDataLog.log"));
      continue;
    }
    const std::size_t digits = 2 * 208 * static_cast<std::size_t>(c.blocksKept);
    EXPECT_EQ(ImageDifference(FileText(dump),
                              second.substr(0, digits) + std::string(16704 - digits, 'F')),
              "");
    EXPECT_EQ(ReadLogText(), LogEntry(DataLines("R1", second, 0x8000, 0, digits / 2, 16)));
  }
}

// A radio never answers the records of a write: only reading it back tells whether it holds
// what was written. A refused write sends nothing at all, and after a failed or stopped one
// the same window writes the radio whole once it behaves.
TEST_F(Transfers, AKm2WriteIsReadBackAndAFaultyStoppedOrRefusedOneIsNeverCalledProgrammed) {
  enum Spoil { None, NoTail, NoReference, StopAtThird };
  struct Case {
    sim::Misbehaviour misbehave;  // the sixth data record of a write holds 00A0-00BF
    Spoil spoil;
    std::string answers;  // Y or N to the question, then to "Write the programming again?"
    std::string said;     // part of the last message, # for the records stored; "" none
    const char* status;
    int stored;           // data records the radio took; -1: not as they were sent
    std::string history;  // the first letters of the jobs' actions, newest first
  };
  const std::string asked =
      "Write the programming to the radio on COM1?\r\rThe radio's previous programming is kept in "
      "the history.";
  const std::string unfinished =
      "The radio programming did not finish: # of 256 records were written. The radio now holds "
      "an incomplete programming; write the programming again before the radio is used.";
  const std::string stuck = "does not hold what was written: group 2.";
  const std::string lost = "what was written: channel 11, channel 12.";
  const char* differs = "The radio does not hold the programming written";
  const Case cases[] = {
      {{}, None, "Y", "", kVerified, 256, "vr"},
      {{.StuckByte = 0x1420}, None, "YYN", stuck, differs, -1, "ffr"},
      {{.DropRecord = 6}, None, "YN", lost, differs, -1, "fr"},
      {{.StuckByte = 0x1600, .StuckValue = 0xAA},
       None,
       "YN",
       "written: the channel-group table.",
       differs,
       -1,
       "fr"},
      {{.Silent = true}, None, "Y", "did not answer when it was read back", kSilent, 256, "fr"},
      {{}, StopAtThird, "Y", unfinished, "", 4, "fr"},  // the fourth was on the line
      {{}, None, "N", asked, "", 0, "r"},
      {{}, NoTail, "", kNoKM2TailMessage, "", 0, "r"},
      {{}, NoReference, "", "its PLL reference frequency is 0", "", 0, "r"},
      {{.NotAttached = true}, None, "Y", "Error: Unable to communicate with the radio", "", 0, "r"},
  };
  Km2Programming programming = Km2();
  const std::string original = programming.Image();
  programming.Channels[0].RxFrequency = 481000000;
  const std::string edited = programming.Image();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    window_.reset();
    dialogs_.Messages.clear();
    std::filesystem::remove_all(folders_.State / "history");
    Km2Bench bench;
    frmMain& w = ReadOntoFinish(bench);
    w.Channels.Item(1).RxFrequency = 481000000;
    const auto heard = bench.radio.RecordsHeard.size();
    bench.radio.Misbehave = c.misbehave;
    if (c.misbehave.DropRecord >= 0) {
      bench.radio.Misbehave.DropRecord += static_cast<int>(heard);
      std::fill(bench.radio.Eeprom.begin() + 0xA0, bench.radio.Eeprom.begin() + 0xC0, 0x00);
    }
    if (c.spoil == NoTail) w.KM2Tail.clear();
    if (c.spoil == NoReference) w.RadioHeader.PLLReferenceFreq = 0;
    if (c.spoil == StopAtThird) {
      bench.onPump = [&] {
        if (bench.radio.DataRecordsStored() == 3 && w.btnCancelWriting.Usable()) {
          w.btnCancelWriting.Press();
          EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), "Stopping the radio programming");
        }
      };
    }
    for (char answer : c.answers)
      dialogs_.Answers.push_back(answer == 'Y' ? MessageAnswer::Yes : MessageAnswer::No);
    w.btnWriteToRadio.Press();
    bench.onPump = nullptr;

    EXPECT_TRUE(dialogs_.Answers.empty());
    EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), c.status);
    const int stored = bench.radio.DataRecordsStored();
    std::string said = c.said;
    if (const auto at = said.find('#'); at != std::string::npos)
      said.replace(at, 1, std::to_string(stored));
    if (said.empty()) {
      EXPECT_EQ(dialogs_.Messages.size(), 1u) << dialogs_.LastText();  // the question only
    } else {
      EXPECT_NE(dialogs_.LastText().find(said), std::string::npos) << dialogs_.LastText();
    }
    // Every write ends with its end record, a stopped one too; a refused one sends nothing.
    EXPECT_EQ(bench.radio.WritesEnded(), static_cast<int>(c.history.size()) - 1);
    EXPECT_EQ(bench.radio.RecordsHeard.size() == heard, c.stored == 0);
    if (c.stored >= 0) {
      EXPECT_EQ(stored, c.stored);
      const std::size_t digits = 64 * static_cast<std::size_t>(stored);
      EXPECT_EQ(ImageDifference(bench.radio.EepromHex(),
                                edited.substr(0, digits) + original.substr(digits)),
                "");
    }
    // The history keeps the read and every write, newest first, each with its programming.
    EXPECT_EQ(JobLetters(), c.history);
    const History history(folders_.State / "history");
    const std::vector<JobRecord> jobs = history.Entries();
    ASSERT_FALSE(jobs.empty());
    EXPECT_EQ(jobs.front().SerialNumber, "KM0042");
    EXPECT_EQ(ReadRadioFile(history.FileOf(jobs.back()), RadioFamily::KM2), original);

    if (c.answers.empty()) continue;  // the programming itself is at fault
    bench.radio.Misbehave = {};
    dialogs_.Answers = {MessageAnswer::Yes};
    w.btnWriteToRadio.Press();
    EXPECT_EQ(ImageDifference(bench.radio.EepromHex(), edited), "");
    EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), kVerified);
  }
}

TEST_F(Transfers, ABatchProgramsRadioAfterRadioWithCountingSerialNumbers) {
  for (const auto& [serial, next] : std::vector<std::pair<std::string, std::string>>{
           {"KM0042", "KM0043"}, {"A-099", "A-100"}, {"999", "1000"}, {"TAXI", "TAXI"}, {"", ""}})
    EXPECT_EQ(frmBatch::NextSerial(serial), next) << serial;

  Km2Bench bench;
  frmMain& w = ReadOntoFinish(bench);
  std::vector<std::string> results;
  dialogs_.ModalActions.push_back([&](Form& f) {
    auto& batch = dynamic_cast<frmBatch&>(f);
    EXPECT_EQ(batch.txtSerialNumber.Text(), "KM0042");
    // The second radio answers nothing: it keeps its serial number for another try.
    for (bool silent : {false, true, false}) {
      bench.radio.Misbehave.Silent = silent;
      batch.btnWrite.Press();
      results.push_back(batch.lblLastResult.Caption());
    }
    EXPECT_EQ(batch.lblTally.Caption(), "Programmed and verified: 2    Failed: 1");
    EXPECT_EQ(batch.txtSerialNumber.Text(), "KM0044");
    batch.btnStop.Press();
  });
  w.btnProgramSeveral.Press();
  EXPECT_EQ(results, (std::vector<std::string>{
                         "KM0042: programmed and verified. Connect the next radio.",
                         "KM0043: FAILED, no answer when read back. Press Write to try it again.",
                         "KM0043: programmed and verified. Connect the next radio."}));
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();

  // One job line each, newest first, after the read.
  EXPECT_EQ(JobLetters(true), "vKM0043 fKM0043 vKM0042 rKM0042 ");
  // The radio holds the last serial number written.
  EXPECT_NE(bench.radio.EepromHex().find(ToHex(0x4B, 2) + ToHex(0x4D, 2) + "30303433"),
            std::string::npos);
}

TEST_F(Transfers, ANewKm2ProgrammingIsWrittenWithTheRadiosOwnFirmwareRanges) {
  // The radio's ranges from 18DD on hold a pattern no installation file has.
  Km2Bench bench;
  for (std::size_t a = 0x18DD; a < 0x2000; ++a)
    bench.radio.Eeprom[a] = static_cast<std::uint8_t>(a * 7 + 3);
  const std::vector<std::uint8_t> before = bench.radio.Eeprom;
  frmMain& w = StartKM2();
  bench.Attach(w);
  ToPage2KM2(w, "52-3711A");
  w.txtSerialNumber.SetText("NEW1");
  w.btnFinish.Press();

  // A radio that cannot be read gets nothing.
  bench.radio.Misbehave.Silent = true;
  dialogs_.Answers.push_back(MessageAnswer::Yes);
  w.btnWriteToRadio.Press();
  EXPECT_EQ(bench.radio.WritesEnded(), 0);
  EXPECT_NE(dialogs_.LastText().find("could not be read, so nothing was written"),
            std::string::npos)
      << dialogs_.LastText();

  bench.radio.Misbehave.Silent = false;
  dialogs_.Answers.push_back(MessageAnswer::Yes);
  w.btnWriteToRadio.Press();
  EXPECT_NE(dialogs_.LastText().find("The radio is read first"), std::string::npos);
  EXPECT_EQ(w.lblWriteToRadioInfo.Caption(), kVerified);
  // The settings are the new programming's; the firmware ranges between the bytes the pages
  // set are every one the radio's own.
  const auto& e = bench.radio.Eeprom;
  EXPECT_EQ(std::string(e.begin() + 0x18A0, e.begin() + 0x18A4), "NEW1");
  for (std::size_t a = 0x1900; a < 0x1EBC; ++a) {
    if (a == 0x1E0F || a == 0x1E1C || a == 0x1E1D) continue;  // the key-relocation bytes
    ASSERT_EQ(e[a], before[a]) << std::hex << a;
  }
  // What the radio held is in the history, read before the write.
  EXPECT_EQ(JobLetters(), "vr");
}

}  // namespace
}  // namespace tallisk::testing
