// The channel sheet over whole programmings: pastes, fills and cleared rows edit exactly the
// cells they cover through the channel page's own checks, a refused value changes nothing and
// names its row and column, undo gives back every byte of the image, and a CSV file taken out
// and brought back changes nothing.

#include "ui/ChannelSheet.h"

#include "RadioBench.h"
#include "files/RadioFile.h"
#include "ui/PageText.h"

namespace tallisk::testing {
namespace {

class ChannelSheetTest : public MainWindowTest {
 protected:
  // A KM2 52-3711A (470-512 MHz, 12.5 kHz) read from a file: three channels in use, two
  // named, three group memberships.
  frmMain& LoadedKm2() {
    frmMain& w = StartKM2();
    Km2Programming programming(*w.Operator);
    EXPECT_TRUE(w.ShowImageKM2(programming.Image())) << dialogs_.LastText();
    dialogs_.Messages.clear();
    return w;
  }
  std::string Saved(frmMain& w) {
    const auto file = root_ / (w.RadioType == 1 ? "saved.km2" : "saved.qvr");
    EXPECT_TRUE(w.SaveRadioFile(file.string())) << dialogs_.LastText();
    return ReadRadioFile(file, w.RadioType == 1 ? RadioFamily::KM2 : RadioFamily::QVR);
  }
  static std::vector<std::string> AllCells(const ChannelSheet& sheet) {
    std::vector<std::string> cells;
    for (int r = 0; r < sheet.RowCount(); ++r)
      for (int c = 0; c < sheet.ColumnCount(); ++c) cells.push_back(sheet.Cell(r, c));
    return cells;
  }
  // The sheet opened from the main window's `command`, acted on and closed.
  void WithSheet(CommandField& command, std::function<void(ChannelSheet&)> act) {
    dialogs_.ModalActions.push_back([act](Form& window) {
      act(dynamic_cast<ChannelSheet&>(window));
      window.Close();
    });
    command.Press();
  }
  static int Column(const ChannelSheet& sheet, SheetColumn column) {
    const auto& columns = sheet.Columns();
    return static_cast<int>(std::find(columns.begin(), columns.end(), column) - columns.begin());
  }
};

TEST_F(ChannelSheetTest, APastedBlockSetsItsCellsAndNothingElseAsOneStep) {
  frmMain& w = LoadedKm2();
  ChannelSheet sheet(w);
  ASSERT_EQ(sheet.RowCount(), 320);
  EXPECT_EQ(sheet.Cell(0, Column(sheet, SheetColumn::Name)), "ALPHA");
  const int last = sheet.ColumnCount() - 1;
  const std::string above = sheet.Copy(0, 0, 1, last), below = sheet.Copy(5, 0, 319, last);
  const auto before = AllCells(sheet);
  // Rows 3 to 5 (channels 3 in use, 4 and 5 unused), receive frequency to transmit signalling.
  const auto result = sheet.Paste(2, Column(sheet, SheetColumn::ReceiveMHz),
                                  "480.0125\tctcss\t71.9\t485.5\tDCS\n"
                                  "481\tNone\t\t481\tNone\n"
                                  "482.025\tDCS\t-023\t482.025\tCTCSS\r\n");
  ASSERT_TRUE(result.Applied) << result.Text();
  // Channel 3 keeps the rest of its row; 4 and 5, put in use, show the rest of theirs.
  EXPECT_EQ(sheet.Copy(2, 0, 4, last),
            "3\t\t480.012500\tCTCSS\t71.9\t485.500000\tDCS\t+23\t"
            "Normal\tNo\tNone\tNo\tNo\t694.4\t3200\t2\n"
            "4\t\t481.000000\tNone\t\t481.000000\tNone\t\t"
            "Normal\tNo\tNone\tNo\tNo\t694.4\t3200\t\n"
            "5\t\t482.025000\tDCS\t-23\t482.025000\tCTCSS\t#0\t"
            "Normal\tNo\tNone\tNo\tNo\t694.4\t3200\t\n");
  EXPECT_EQ(sheet.Copy(0, 0, 1, last), above);
  EXPECT_EQ(sheet.Copy(5, 0, 319, last), below);
  EXPECT_EQ(w.Channels.Item(5).RxSignalData, -19);
  // One step, undone and redone whole.
  const auto after = AllCells(sheet);
  EXPECT_TRUE(sheet.Undo());
  EXPECT_EQ(AllCells(sheet), before);
  EXPECT_TRUE(sheet.Redo());
  EXPECT_EQ(AllCells(sheet), after);
}

TEST_F(ChannelSheetTest, PastedValuesMeetThePagesChecksAndARefusalChangesNothing) {
  struct Case {
    SheetColumn column;
    std::string text;
    bool applied;
    std::string message;  // what the result says, in part
  };
  const Case cases[] = {
      {SheetColumn::ReceiveMHz, "530", true,
       "Channel 2, Receive MHz: 530.000000 MHz is outside the bands of this model"},
      {SheetColumn::ReceiveMHz, "480.0126", true, "The radio tunes to 480.012500 MHz"},
      {SheetColumn::ReceiveMHz, "9999", false,
       "Channel 2, Receive MHz: The radio cannot be tuned to 9999.000000 MHz"},
      {SheetColumn::BurstHz, "5000", false,
       "Channel 2, Burst Hz: The maximum value for this item is 3472.2"},
      {SheetColumn::BurstHz, "1000", true, "The radio holds 1008.1, the nearest it can to 1000.0"},
      {SheetColumn::BurstMs, "1x", false, "\"1x\" cannot be typed here"},
      {SheetColumn::Name, "abcdefgh", false, "it takes at most 6 characters"},
      {SheetColumn::ReceiveSignalling, "FM", false, "\"FM\" is not one of CTCSS, DCS, None"},
      {SheetColumn::ReceiveTone, "72", false, "The signalling is None"},
      {SheetColumn::BurstTone, "maybe", false, "neither Yes nor No"},
      {SheetColumn::Groups, "2 17", false, "\"17\" is no group number"},
      {SheetColumn::Groups, "16 2", true, ""},
  };
  frmMain& w = LoadedKm2();
  ChannelSheet sheet(w);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string image = Saved(w);
    const auto before = AllCells(sheet);
    const int column = Column(sheet, c.column);
    const SheetResult result = sheet.Paste(1, column, c.text);
    EXPECT_EQ(result.Applied, c.applied);
    EXPECT_NE(result.Text().find(c.message), std::string::npos) << result.Text();
    if (!c.applied) {
      ASSERT_TRUE(result.Fault);
      EXPECT_EQ(std::tie(result.Fault->Row, result.Fault->Column, result.Fault->Header),
                std::make_tuple(2, column + 1, sheet.Header(column)));
      EXPECT_EQ(AllCells(sheet), before);
      EXPECT_EQ(ImageDifference(Saved(w), image), "");
    }
  }
  EXPECT_EQ(sheet.Cell(1, Column(sheet, SheetColumn::Groups)), "2 16");
  EXPECT_TRUE(dialogs_.Messages.empty()) << "the sheet's checks showed " << dialogs_.LastText();

  // A refusal in the last row of a paste leaves the rows before it as they were too.
  const auto before = AllCells(sheet);
  const auto result = sheet.Paste(3, Column(sheet, SheetColumn::ReceiveMHz), "490\n491\n9999\n");
  EXPECT_FALSE(result.Applied);
  EXPECT_EQ(result.Fault->Row, 6);
  EXPECT_EQ(AllCells(sheet), before);
  // Letters are no frequency, in an empty cell too.
  EXPECT_FALSE(sheet.Paste(7, Column(sheet, SheetColumn::ReceiveMHz), "abc").Applied);
  EXPECT_EQ(AllCells(sheet), before);
  // A tone with letters after it is no tone, though it starts with one.
  EXPECT_FALSE(sheet.Paste(0, Column(sheet, SheetColumn::ReceiveTone), "88.5x").Applied);
  EXPECT_EQ(AllCells(sheet), before);
}

TEST_F(ChannelSheetTest, UndoAfterEditsGivesBackEveryByteOfTheImage) {
  frmMain& w = LoadedKm2();
  const std::string read = Saved(w);
  ChannelSheet sheet(w);
  // Every channel a frequency, a name and groups: all 320 records and the table change.
  std::string block;
  for (int n = 1; n <= 320; ++n)
    block += "CH" + std::to_string(n) + "\t" + FrequencyText(470 + n * 0.0125, false) + "\n";
  ASSERT_TRUE(sheet.Paste(0, Column(sheet, SheetColumn::Name), block).Applied);
  ASSERT_TRUE(
      sheet.FillDown(1, Column(sheet, SheetColumn::Groups), 300, Column(sheet, SheetColumn::Groups))
          .Applied);
  const std::string edited = Saved(w);
  EXPECT_NE(ImageDifference(edited, read), "");
  EXPECT_TRUE(sheet.Undo());
  EXPECT_TRUE(sheet.Undo());
  EXPECT_EQ(ImageDifference(Saved(w), read), "");
  EXPECT_FALSE(sheet.Undo());  // the read programming is where history starts
  EXPECT_TRUE(sheet.Redo());
  EXPECT_TRUE(sheet.Redo());
  EXPECT_EQ(ImageDifference(Saved(w), edited), "");

  // With every entry of the channel-group table in use, one more membership is refused as
  // the channel list refuses it, and nothing changes.
  for (auto& entry : w.ChannelGroupTable) {
    entry.Programmed = true;
    entry.GroupNumber = 1;
    entry.ChannelNumber = 5;
  }
  const std::string full = Saved(w);
  const auto refused = sheet.Paste(6, Column(sheet, SheetColumn::Groups), "3");
  EXPECT_FALSE(refused.Applied);
  EXPECT_NE(refused.Text().find("No more slot left to add"), std::string::npos) << refused.Text();
  EXPECT_EQ(ImageDifference(Saved(w), full), "");

  // Cleared rows: unused channels, out of every group.
  ASSERT_TRUE(sheet.ClearRows(0, 1).Applied);
  EXPECT_EQ(sheet.Copy(0, 0, 1, sheet.ColumnCount() - 1),
            "1" + std::string(15, '\t') + "\n2" + std::string(15, '\t') + "\n");
  EXPECT_EQ(sheet.Find("ch3", 0, 0), std::make_pair(2, Column(sheet, SheetColumn::Name)));
  EXPECT_EQ(sheet.Find("470.0375", 0, 0),
            std::make_pair(2, Column(sheet, SheetColumn::ReceiveMHz)));
}

TEST_F(ChannelSheetTest, AQvrChannelTypedOnThePageIsTheSheetsAndBothShareOneHistory) {
  frmMain& w = QvrOnPage5("VHF High A 136-156 MHz 16 Ch");
  w.cmbChannelNumber.SelectText("3");
  TypeAndLeave(w.ReceiveChannelFreq, "150.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "150.012 500");
  TypeAndLeave(w.txtTransmitChannelFreq, "155.1");
  w.cmbReceiveSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesRx.SelectText("71.9");
  w.cmbTransmitSignalingType.SelectText("DCS");
  w.txtTransmitOctal.TypeText("-23");
  w.cmbTxPowerControl.SelectText("Low Only");
  w.chkEnableScrambler.Click();
  w.chkChannelinScanGroupA.Click();
  w.chkAuxiliaryData[0].Click();
  // Typing not yet stored reaches the sheet when it opens.
  WithSheet(w.btnChannelSheet, [](ChannelSheet& sheet) {
    EXPECT_EQ(sheet.Copy(2, 0, 2, 11),
              "3\t150.012500\tCTCSS\t71.9\t155.100000\tDCS\t-23\tLow Only\tYes\tYes\tNo\t"
              "10000000\n");
    EXPECT_TRUE(sheet.SetCell(2, Column(sheet, SheetColumn::TransmitMHz), "155.2").Applied);
    EXPECT_TRUE(sheet.SetCell(2, Column(sheet, SheetColumn::AuxiliaryData), "10100001").Applied);
    EXPECT_FALSE(sheet.SetCell(2, Column(sheet, SheetColumn::AuxiliaryData), "101").Applied);
  });
  ASSERT_EQ(dialogs_.ModalWindows, std::vector<std::string>{"frmChannelSheet"});
  // The page shows the sheet's edits of the channel on show.
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "155.200 000");
  EXPECT_TRUE(w.chkAuxiliaryData[2].Checked());
  EXPECT_FALSE(w.chkAuxiliaryData[1].Checked());

  // Undo on the page: first the page's last edits, then the sheet's, then the page's typing;
  // redo brings them back.
  TypeAndLeave(w.txtTransmitChannelFreq, "156");
  w.Undo();
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "155.200 000");
  w.Undo();
  w.Undo();
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "155.100 000");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "150.012 500");
  w.Undo();
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "000.000 000");
  EXPECT_EQ(w.Channels.Item(3).RxFrequency, 0);
  w.Redo();
  w.Redo();
  EXPECT_EQ(w.Channels.Item(3).TxFrequency, 155200000);
}

TEST_F(ChannelSheetTest, ACsvFileOutAndBackInChangesNothingAndBringsBackWhatItHolds) {
  for (const bool km2 : {false, true}) {
    SCOPED_TRACE(km2 ? "KM2" : "QVR");
    frmMain& w = km2 ? LoadedKm2() : Start();
    if (!km2) {
      ASSERT_TRUE(w.ShowImageQVR(
          DataLines("S1", QvrProgramming().Image() + std::string(12, 'F'), 0, 0, 200, 8)));
    }
    ChannelSheet sheet(w);
    const std::string read = Saved(w);
    const std::string csv = SheetCsv(sheet);
    EXPECT_EQ(
        csv.substr(0, csv.find("\r\n")),
        km2 ? "Channel,Name,Receive MHz,Receive Signalling,Receive Tone/Code,Transmit MHz,"
              "Transmit Signalling,Transmit Tone/Code,RF Power,Scrambler,Subsignalling,PTT "
              "Burst Tone,Transpond Tone,Burst Hz,Burst ms,Groups"
            : "Channel,Receive MHz,Receive Signalling,Receive Tone/Code,Transmit MHz,Transmit "
              "Signalling,Transmit Tone/Code,TX Power,Scrambler,Scan Group A,Scan Group "
              "B,Auxiliary Data");
    const CsvImport same = ApplyCsv(sheet, csv);
    EXPECT_TRUE(same.Applied) << same.Text();
    EXPECT_EQ(same.Text(), "");
    EXPECT_EQ(ImageDifference(Saved(w), read), "");
    EXPECT_FALSE(w.CanUndo());  // nothing changed, so no step

    ASSERT_TRUE(sheet.ClearRows(0, 2).Applied);
    ASSERT_TRUE(ApplyCsv(sheet, csv).Applied);
    EXPECT_EQ(ImageDifference(Saved(w), read), "");
    window_.reset();
  }
}

TEST_F(ChannelSheetTest, ADamagedCsvFileNamesItsLineAndColumnAndWritesNothing) {
  struct Case {
    std::string csv;
    int line, column;
    std::string header, message;
  };
  const std::string head = "Channel,Name,Receive MHz,Groups\r\n";
  const Case cases[] = {
      {"Channel,Name,Recieve MHz\n", 1, 3, "Recieve MHz", "is no column of this programming"},
      {"Name,Receive MHz\n", 1, 1, "Name", "one of them must be \"Channel\""},
      {"Channel,Name,Name\n", 1, 3, "Name", "named twice"},
      {head + "1,ONE,480,1\n2,TWO\n", 3, 3, "Receive MHz", "The line has 2 cells"},
      {head + "321,X,480,\n", 2, 1, "Channel", "\"321\" is no channel"},
      {head + "1,A,480,\n1,B,481,\n", 3, 1, "Channel", "listed twice"},
      {head + "1,\"A,480,\n", 2, 2, "", "A quoted cell is not closed"},
      // The first three lines are good and changed nothing either.
      {head + "1,A,480,1\n\n2,\"B,2\",481,2 3\n9,NINE,9999,\n", 5, 3, "Receive MHz",
       "The radio cannot be tuned to 9999.000000 MHz"},
      {head + "4,X,,5\n", 2, 4, "Groups", "without a receive frequency is in no group"},
  };
  frmMain& w = LoadedKm2();
  ChannelSheet sheet(w);
  const std::string read = Saved(w);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv);
    const CsvImport result = ApplyCsv(sheet, c.csv);
    EXPECT_FALSE(result.Applied);
    ASSERT_TRUE(result.Fault);
    EXPECT_EQ(std::tie(result.Fault->Row, result.Fault->Column, result.Fault->Header),
              std::tie(c.line, c.column, c.header));
    EXPECT_NE(result.Text().find("Line " + std::to_string(c.line) + ", column " +
                                 std::to_string(c.column)),
              std::string::npos)
        << result.Text();
    EXPECT_NE(result.Text().find(c.message), std::string::npos) << result.Text();
    EXPECT_EQ(ImageDifference(Saved(w), read), "");
  }
  EXPECT_FALSE(w.CanUndo());
}

}  // namespace
}  // namespace tallisk::testing
