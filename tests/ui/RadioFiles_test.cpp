// Radio files through the window's commands and file dialogs, and the byte editor; and a
// failure that no operation foresaw, behind a command or a field: one message that names what
// the user did and what failed, the programming in memory as it was, and a way to save it.

#include <stdexcept>

#include "RadioBench.h"
#include "files/StartupFiles.h"
#include "tallisk/errors.h"
#include "ui/UserAction.h"
#include "ui/frmManualEdit.h"

namespace tallisk::testing {
namespace {

class RadioFiles : public MainWindowTest {
 protected:
  std::string Path(const std::string& name) { return (root_ / name).string(); }

  // Saves through the command and its dialog; true when "File Saved" was shown.
  bool SaveAs(frmMain& w, const std::string& path) {
    dialogs_.Files = {path};
    const auto shown = dialogs_.Messages.size();
    w.btnSaveToFile.Press();
    return dialogs_.Messages.size() == shown + 1 && dialogs_.LastText() == "File Saved";
  }
  void Load(frmMain& w, const std::string& path) {
    dialogs_.Files = {path};
    w.btnLoadFile.Press();
  }

  // The programming the test radios use, and a KM2 radio file of it.
  Km2Programming Km2() {
    if (!profiles_.RadioData) profiles_.LoadProfilesKM2();
    return Km2Programming(profiles_);
  }
  std::string Km2File(const std::string& name, Km2Programming programming) {
    std::ofstream(Path(name), std::ios::binary) << programming.Image();
    return Path(name);
  }

  // A QVR radio file loaded into the window: the programming in memory.
  frmMain& LoadedQvr() {
    frmMain& w = Start();
    std::ofstream(Path("radio.qvr"), std::ios::binary)
        << DataLines("S1", QvrProgramming().Image() + std::string(12, 'F'), 0, 0, 200, 8);
    Load(w, Path("radio.qvr"));
    EXPECT_EQ(w.CurrentPage, 2);
    return w;
  }

  clsOperator profiles_;
};

TEST_F(RadioFiles, NewProgrammingsSavedAndLoadedIntoAFreshWindowGiveTheSameImage) {
  struct Case {
    int family;
    std::string model;
    std::string frequency;
    std::string shown;
  };
  // The 52-371 lays its channel records out for the 64/65 prescaler, the 52-899 for the plain
  // one: the channels must be encoded with the code the settings block carries, or they read
  // back mistuned.
  const Case cases[] = {{0, "UHF Low A 403-423 MHz 16 Ch", "410.025", "410.025 000"},
                        {1, "52-3711A", "480.0125", "480.012500"},
                        {1, "52-8991A", "150.0125", "150.012500"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    frmMain& w = c.family == 1 ? StartKM2() : Start();
    w.btnProgramRadio.Press();
    if (c.family == 1) {
      w.txtModelNumber.SetText(c.model);
    } else {
      w.lstRadios.SelectText(c.model);
    }
    Walk(w, w.btnNext, 5);
    w.ReceiveChannelFreq.SetText(c.frequency);
    w.ReceiveChannelFreq.Leave();
    w.txtTransmitChannelFreq.SetText(c.frequency);
    w.txtTransmitChannelFreq.Leave();
    w.btnFinish.Press();
    ASSERT_EQ(w.CurrentPage, 6);
    dialogs_.Messages.clear();

    const std::string first = Path(c.model + "-1"), second = Path(c.model + "-2");
    ASSERT_TRUE(SaveAs(w, first)) << dialogs_.LastText();
    const FileDialogRequest& save = dialogs_.FileRequests.back();
    EXPECT_EQ(save.Filter, c.family == 1 ? "KM2 Radio Files|*.km2" : "QVR Radio Files|*.qvr");
    EXPECT_TRUE(save.ConfirmOverwrite);
    const std::string saved = FileText(first);
    EXPECT_EQ(saved.size(), c.family == 1 ? 16384u : 25u * 28);

    // Cancelled dialogs change nothing and say nothing.
    dialogs_.Files = {std::nullopt, std::nullopt};
    w.btnLoadFile.Press();
    w.btnSaveToFile.Press();
    EXPECT_EQ(dialogs_.Messages.size(), 1u);

    // Loaded into a new window on the same folders.
    frmMain& fresh = c.family == 1 ? StartKM2() : Start();
    Load(fresh, first);
    const FileDialogRequest& load = dialogs_.FileRequests.back();
    EXPECT_TRUE(load.MustExist);
    EXPECT_EQ(fresh.CurrentPage, 2);
    EXPECT_TRUE(fresh.ModelFromRadio);
    EXPECT_EQ(fresh.ReceiveChannelFreq.Text(), c.shown);
    EXPECT_TRUE(fresh.SaveRadioFile(second));
    EXPECT_EQ(ImageDifference(FileText(second), saved), "");
  }
}

TEST_F(RadioFiles,
       FilesThatAreNoProgrammingOfTheFamilyLeaveThePagesAndNamedOnesOpenAsTheirFamilys) {
  frmMain& w = StartKM2();
  const std::string good = Km2File("radio.km2", Km2());
  Load(w, good);
  ASSERT_EQ(w.CurrentPage, 2);
  dialogs_.Answers = {MessageAnswer::Yes};
  Walk(w, w.btnBack, 0);

  const std::string image = FileText(good);
  std::ofstream(Path("short.km2"), std::ios::binary) << image.substr(1);
  // A whole image of a model no profile knows: refused when the header is decoded.
  std::string unknown = image;
  unknown.replace(2 * 0x1880, 16, "35322D3030303141");  // "52-0001A"
  std::ofstream(Path("unknown.km2"), std::ios::binary) << unknown;

  struct Case {
    std::string file;
    std::string said;
  };
  const Case cases[] = {
      {"short.km2",
       "\"short.km2\" is not a KM2 radio file: it holds 16383 hex digits, a KM2 programming has "
       "16384"},
      {"missing.km2", "Unable to load file because a following error has occured: \r"},
      {"unknown.km2",
       "Following error has occured while reading data\rThe radio profiles know "
       "no model \"52-0001A\", so the programming cannot be shown #5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Load(w, Path(c.file));
    EXPECT_EQ(dialogs_.LastText().substr(0, c.said.size()), c.said);
    EXPECT_EQ(ShownPages(w), std::vector<int>{0});
    EXPECT_EQ(w.RadioHeader.SerialNumber, "KM0042");
    EXPECT_EQ(w.Channels.Item(2).RxFrequency, 485000000);
    EXPECT_EQ(w.KM2Tail, image.substr(2 * 0x18DD));
  }

  // A QVR file of eight whole channels and a part for a sixteen-channel model: the channels
  // it does not hold, the cut one included, load as unused.
  frmMain& q = Start();
  QvrProgramming qvr;
  qvr.Channels[8].RxFrequency = qvr.Channels[8].TxFrequency = 140000000;
  std::ofstream(Path("eight.qvr"), std::ios::binary) << DataLines("S1", qvr.Image(), 0, 0, 120, 8);
  Load(q, Path("eight.qvr"));
  ASSERT_EQ(q.CurrentPage, 2);
  ASSERT_EQ(q.Channels.Count(), 16);
  EXPECT_EQ(q.Channels.Item(1).RxFrequency, 146025000);
  for (int n = 9; n <= 16; ++n) EXPECT_EQ(q.Channels.Item(n).RxFrequency, 0) << n;

  // A file named when the program was started opens as its family's, whatever it is called.
  std::ofstream(Path("radio.txt"), std::ios::binary) << image;
  std::ofstream(Path("notes.txt")) << "not a programming";
  ASSERT_TRUE(q.OpenNamedFile(Path("radio.txt")));
  EXPECT_EQ(q.RadioType, 1);
  EXPECT_EQ(q.CurrentPage, 2);
  EXPECT_EQ(q.Channels.Item(3).TxFrequency, 489500000);
  EXPECT_FALSE(q.OpenNamedFile(Path("notes.txt")));
  EXPECT_EQ(q.RadioType, 1);
}

// --- The byte editor ---

using ManualEditor = RadioFiles;

TEST_F(ManualEditor, SetThenOkChangesThatByteAndThePagesFollowCancelChangesNothingAndSavesCanFail) {
  frmMain& w = StartKM2();
  Km2Programming programming = Km2();
  const std::string file = Km2File("radio.km2", programming);
  const std::string original = FileText(file);
  // The group name's last letter: the byte where "ONE" and "ONF" differ.
  programming.Groups[0].GroupName = "ONF";
  const std::string renamed = programming.Image();
  const std::string where = ImageDifference(renamed, original);
  const std::string address = where.substr(5, 4);
  const std::string newByte = renamed.substr(2 * ParseHex(address), 2);

  Load(w, file);
  w.btnFinish.Press();
  ASSERT_EQ(w.CurrentPage, 6);
  dialogs_.Messages.clear();

  // Cancel after Set: nothing changes.
  dialogs_.ModalActions.push_back([&](Form& form) {
    auto& e = dynamic_cast<frmManualEdit&>(form);
    EXPECT_EQ(e.txtAddress.Text(), "0000");
    EXPECT_EQ(e.txtHexValue.Text(), original.substr(0, 2));
    e.txtAddress.SetText("");
    e.txtAddress.TypeText("1a");
    e.txtAddress.Leave();
    EXPECT_EQ(e.txtAddress.Text(), "001A");
    EXPECT_EQ(e.txtHexValue.Text(), original.substr(52, 2));
    EXPECT_EQ(e.txtbinaryValue.Text(), HexToBinStr(original.substr(52, 2)));
    e.txtbinaryValue.SetText("110000111");
    e.txtbinaryValue.Leave();
    EXPECT_EQ(e.txtbinaryValue.Text(), "10000111");
    EXPECT_EQ(e.txtHexValue.Text(), "87");
    e.cmbSet.Press();
    EXPECT_EQ(e.ImageText().substr(52, 2), "87");
    // Beyond the image: refused, and Set changes nothing.
    e.txtAddress.SetText("2000");
    e.txtAddress.Leave();
    EXPECT_EQ(dialogs_.LastText(), "Invalid address");
    const std::string before = e.ImageText();
    e.cmbSet.Press();
    EXPECT_EQ(e.ImageText(), before);
    e.cmbCancel.Press();
  });
  w.cmbManual.Press();
  EXPECT_TRUE(w.SaveRadioFile(Path("cancelled.km2")));
  EXPECT_EQ(ImageDifference(FileText(Path("cancelled.km2")), original), "");

  // Set and OK: that one byte, and the group page shows the new name.
  dialogs_.ModalActions.push_back([&](Form& form) {
    auto& e = dynamic_cast<frmManualEdit&>(form);
    e.txtAddress.SetText(address);
    e.txtAddress.Leave();
    EXPECT_EQ(e.txtHexValue.Text(), original.substr(2 * ParseHex(address), 2));
    e.txtHexValue.SetText(newByte);
    e.txtHexValue.Leave();
    e.cmbSet.Press();
    e.cmbOK.Press();
  });
  w.cmbManual.Press();
  EXPECT_EQ(w.txtGroupName.Text(), "ONF");
  EXPECT_EQ(w.Groups.Item(1).GroupName, "ONF");
  EXPECT_TRUE(w.SaveRadioFile(Path("edited.km2")));
  EXPECT_EQ(ImageDifference(FileText(Path("edited.km2")), renamed), "");

  // Failed saves say why and never claim the file saved.
  EXPECT_FALSE(SaveAs(w, Path("no/such/folder/x.km2")));
  EXPECT_EQ(dialogs_.LastText().substr(0, 60),
            "Unable to save file because a following error has occured: \r");
  EXPECT_NE(dialogs_.LastText().find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("no")));

  w.KM2Tail.clear();
  EXPECT_FALSE(SaveAs(w, Path("x.km2")));
  EXPECT_EQ(dialogs_.LastText(), kNoKM2TailMessage);
  EXPECT_FALSE(std::filesystem::exists(Path("x.km2")));
}

// --- Failures behind commands ---

using Rescue = RadioFiles;

TEST_F(Rescue, AFailingCommandNamesWhatFailedAndTheProgrammingCanStillBeSaved) {
  struct Case {
    std::function<void()> failure;
    std::string said;
    MessageAnswer answer;
  };
  const Case cases[] = {
      {[] { RaiseOverflow("BreakChannelData"); }, "Overflow #6", MessageAnswer::Yes},
      {[] { throw std::out_of_range("basic_string::substr"); }, "basic_string::substr",
       MessageAnswer::Yes},
      {[] { throw 42; }, "A failure of unknown kind", MessageAnswer::No},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    frmMain& w = LoadedQvr();
    ASSERT_TRUE(w.SaveRadioFile(Path("before.qvr")));
    // A typed value the page has not taken yet: the save works from the programming itself.
    w.txtSerialNumber.SetText("");
    w.btnOptions.OnClick.Connect(c.failure);
    dialogs_.Messages.clear();
    dialogs_.ModalActions = {[](Form& options) { options.Close(); }};
    dialogs_.Answers = {c.answer};
    dialogs_.Files = {Path("rescued.qvr")};
    std::filesystem::remove(Path("rescued.qvr"));

    EXPECT_FALSE(w.RunUserAction(UserAction(w.btnOptions), [&w] { w.btnOptions.Press(); }));
    ASSERT_GE(dialogs_.Messages.size(), 1u);
    const ShownMessage& shown = dialogs_.Messages.front();
    EXPECT_EQ(shown.Text, "Following error has occured while pressing \"Options...\":\r" + c.said +
                              "\r\rThe programming in memory is kept. Do you want to save it to "
                              "a file now?");
    EXPECT_EQ(shown.Buttons, MessageButtons::YesNo);
    if (c.answer == MessageAnswer::Yes) {
      EXPECT_EQ(dialogs_.LastText(), "File Saved");
      EXPECT_EQ(ImageDifference(FileText(Path("rescued.qvr")), FileText(Path("before.qvr"))), "");
    } else {
      EXPECT_EQ(dialogs_.Messages.size(), 1u);
      EXPECT_FALSE(std::filesystem::exists(Path("rescued.qvr")));
    }
    EXPECT_EQ(w.CurrentPage, 2);
    EXPECT_EQ(w.RadioHeader.SerialNumber, "4711");
    EXPECT_EQ(w.Channels.Item(1).RxFrequency, 146025000);
  }
}

}  // namespace
}  // namespace tallisk::testing
