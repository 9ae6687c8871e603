// A failure that no operation foresaw, behind a command or a field: one message that names
// what the user did and what failed, the programming in memory as it was, and a way to save it.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "RadioBench.h"
#include "tallisk/errors.h"
#include "ui/UserAction.h"

namespace tallisk::testing {
namespace {

class Rescue : public MainWindowTest {
 protected:
  std::string Path(const std::string& name) { return (root_ / name).string(); }

  // A QVR radio file loaded into the window: the programming in memory.
  frmMain& Loaded() {
    frmMain& w = Start();
    std::ofstream(Path("radio.qvr"), std::ios::binary)
        << DataLines("S1", QvrProgramming().Image() + std::string(12, 'F'), 0, 0, 200, 8);
    dialogs_.Files = {Path("radio.qvr")};
    w.btnLoadFile.Press();
    EXPECT_EQ(w.CurrentPage, 2);
    return w;
  }
};

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
      {[] { throw std::bad_alloc(); }, "std::bad_alloc", MessageAnswer::No},
      {[] { throw 42; }, "A failure of unknown kind", MessageAnswer::No},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    frmMain& w = Loaded();
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
    EXPECT_EQ(shown.Title, "QVR Radio Programmer");
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

TEST_F(Rescue, WithoutAProgrammingThereIsNothingToSaveAndAFieldIsNamedByItsCaption) {
  frmMain& w = Start();
  w.cmbRadioType.OnChange.Connect([] { throw std::runtime_error("no such family"); });
  EXPECT_FALSE(w.RunUserAction(UserAction(w.cmbRadioType), [&w] { w.cmbRadioType.Select(1); }));
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_EQ(dialogs_.LastText(),
            "Following error has occured while changing \"Radio Type\":\rno such family");
  EXPECT_EQ(dialogs_.Messages.back().Buttons, MessageButtons::OK);
  EXPECT_TRUE(dialogs_.FileRequests.empty());

  // An action that ends normally says nothing.
  EXPECT_TRUE(w.RunUserAction(UserAction(w.btnProgramRadio), [&w] { w.btnProgramRadio.Press(); }));
  EXPECT_EQ(w.CurrentPage, 1);
  EXPECT_EQ(dialogs_.Messages.size(), 1u);
}

}  // namespace
}  // namespace tallisk::testing
