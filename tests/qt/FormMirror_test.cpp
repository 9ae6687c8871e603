// The generic mirror on a small window of its own: every kind of field, two pages and a
// footer, so the binding is checked apart from any one window's logic.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest/QTest>
#include <map>

#include "QtTestSupport.h"
#include "ui/qt/FormView.h"

namespace tallisk::testing {
namespace {

class BenchForm : public Form {
 public:
  BenchForm() : Form("frmBench", "Bench") {
    txtSerial.UpperCase = true;
    txtSerial.MaxLength = 8;
    txtSerial.KeyFilter = [](char key) { return key == 'F' || key == 'f' ? '\0' : key; };
    txtDigits.DigitsOnly = true;
    // A code of three octal digits behind an optional sign.
    txtCode.Accepts = [](const std::string& text) {
      const std::size_t sign = !text.empty() && (text[0] == '+' || text[0] == '-');
      return text.size() - sign <= 3 &&
             text.find_first_not_of("01234567", sign) == std::string::npos;
    };
    OptionField::Group({&optLow, &optHigh});
    OptionField::Group({&optLeft, &optRight});
    optLow.Select();
    optLeft.Select();
    for (const char* item : {"Normal", "Modified", "Secondary", "PS"}) cmbScan.AddItem(item);
    cmbScan.Select(3);
    lstModels.AddItem("VHF");
    lstModels.AddItem("UHF");
    lstModels.Select(0);

    AddPage(0, "First Page")
        .Row({&txtSerial})
        .Row({&txtDigits, &chkBeep})
        .Row({&txtCode})
        .Row({&cmbScan})
        .Row({&optLow, &optHigh}, "Injection Aspect:")
        .Row({&optLeft, &optRight})
        .Row({&lstModels})
        .Row({&Calendar})
        .Row({&lblStatus});
    AddPage(1, "Second Page").Row({&btnGo});
    Footer.push_back({{}, {&btnNext, &btnBack, &btnFinish}});
    btnNext.OnClick.Connect([this] { ShowPage(1); });
    btnBack.OnClick.Connect([this] { ShowPage(0); });
    ShowPage(0);
  }

  void ShowPage(int index) {
    for (auto& page : Pages()) page->SetVisible(page->Index == index);
  }

  TextField txtSerial{*this, "txtSerial", "Serial Number:"};
  TextField txtDigits{*this, "txtDigits", "Tail:"};
  TextField txtCode{*this, "txtCode", "DCS Code:"};
  CheckField chkBeep{*this, "chkBeep", "Beep A ?"};
  ChoiceField cmbScan{*this, "cmbScan", "Scan Type:"};
  OptionField optLow{*this, "optLow", "Low Side"};
  OptionField optHigh{*this, "optHigh", "High Side"};
  OptionField optLeft{*this, "optLeft", "Left"};
  OptionField optRight{*this, "optRight", "Right"};
  ListField lstModels{*this, "lstModels", "Models"};
  DateField Calendar{*this, "Calendar", "Date:"};
  LabelField lblStatus{*this, "lblStatus", "Ready"};
  CommandField btnGo{*this, "btnGo", "Go & Stop"};
  CommandField btnNext{*this, "btnNext", "Next"};
  CommandField btnBack{*this, "btnBack", "Back"};
  CommandField btnFinish{*this, "btnFinish", "Finish"};
};

const std::map<FieldKind, const char*> kWidgetOf = {
    {FieldKind::Text, "QLineEdit"},      {FieldKind::Choice, "QComboBox"},
    {FieldKind::List, "QListWidget"},    {FieldKind::Check, "QCheckBox"},
    {FieldKind::Option, "QRadioButton"}, {FieldKind::Date, "QDateEdit"},
    {FieldKind::Label, "QLabel"},        {FieldKind::Command, "QPushButton"},
};

class FormMirror : public QtTest {
 protected:
  FormMirror() {
    window.setObjectName("host");
    view = new qt::FormView(form, &window);
    view->BindWindow(&window);
    window.show();
  }
  BenchForm form;
  QWidget window;
  qt::FormView* view;
};

TEST_F(FormMirror, TypedAndPastedTextObeyTheFieldsRulesAndReachTheField) {
  auto* serial = Find<QLineEdit>(window, "txtSerial");
  QTest::keyClicks(serial, "ab-f1");
  EXPECT_EQ(form.txtSerial.Text(), "AB-1");  // upper case, "f" dropped by the key filter
  EXPECT_EQ(serial->text(), "AB-1");

  // A paste goes through the same rules, up to the field's eight characters.
  QApplication::clipboard()->setText("fee 123456789");
  serial->setCursorPosition(4);
  QTest::keyClick(serial, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtSerial.Text(), "AB-1EE 1");
  // Typing into the middle of a full field drops the key, not the end of the text; once
  // there is room again it goes in where the cursor is.
  serial->setCursorPosition(1);
  QTest::keyClicks(serial, "Z");
  EXPECT_EQ(form.txtSerial.Text(), "AB-1EE 1");
  EXPECT_EQ(serial->cursorPosition(), 1);
  QTest::keyClick(serial, Qt::Key_Backspace);
  QTest::keyClicks(serial, "z");
  EXPECT_EQ(form.txtSerial.Text(), "ZB-1EE 1");

  auto* digits = Find<QLineEdit>(window, "txtDigits");
  QApplication::clipboard()->setText("2x5\u00b00");
  QTest::keyClick(digits, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtDigits.Text(), "250");

  // A text the field cannot hold as a whole is refused, by key or by paste, never cut to
  // another value.
  auto* code = Find<QLineEdit>(window, "txtCode");
  QTest::keyClicks(code, "1+23");
  EXPECT_EQ(form.txtCode.Text(), "123");
  form.txtCode.SetText("");
  QApplication::clipboard()->setText("1234");
  QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtCode.Text(), "");
  QTest::keyClicks(code, "-7");
  QApplication::clipboard()->setText("77");
  QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtCode.Text(), "-777");

  // The family changes the limit without a state change; the next edit obeys it.
  form.txtSerial.SetText("");
  EXPECT_EQ(serial->text(), "");
  form.txtSerial.MaxLength = 3;
  QTest::keyClicks(serial, "12345");
  EXPECT_EQ(form.txtSerial.Text(), "123");
}

TEST_F(FormMirror, ChangesByCodeReachTheWidgetsWithoutFiringAsUserEdits) {
  int userEdits = 0;
  auto* scan = Find<QComboBox>(window, "cmbScan");
  QObject::connect(scan, &QComboBox::currentIndexChanged, [&] { ++userEdits; });

  form.txtSerial.SetText("1234");
  form.cmbScan.Clear();
  form.cmbScan.AddItem("One");
  form.cmbScan.AddItem("Two");
  form.cmbScan.Select(1);
  form.chkBeep.SetChecked(true);
  form.optHigh.Select();
  form.lstModels.Select(1);
  form.Calendar.SetValue(Date(2026, 12, 6));
  form.lblStatus.SetCaption("Reading");
  form.txtDigits.SetVisible(false);
  form.chkBeep.SetEnabled(false);

  EXPECT_EQ(Find<QLineEdit>(window, "txtSerial")->text(), "1234");
  EXPECT_EQ(scan->count(), 2);
  EXPECT_EQ(scan->currentText(), "Two");
  EXPECT_EQ(userEdits, 0);
  EXPECT_TRUE(Find<QCheckBox>(window, "chkBeep")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(window, "chkBeep")->isEnabled());
  EXPECT_TRUE(Find<QRadioButton>(window, "optHigh")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(window, "optLow")->isChecked());
  EXPECT_EQ(Find<QListWidget>(window, "lstModels")->currentRow(), 1);
  EXPECT_EQ(Find<QDateEdit>(window, "Calendar")->date(), QDate(2026, 12, 6));
  EXPECT_EQ(Find<QLabel>(window, "lblStatus")->text(), "Reading");
  EXPECT_TRUE(Find(window, "txtDigits")->isHidden());
  EXPECT_TRUE(Find(window, "txtDigitsCaption")->isHidden());

  // Hiding both options of a row takes its heading along.
  auto headings = view->PageWidget(0)->findChildren<QLabel*>();
  auto heading = std::find_if(headings.begin(), headings.end(),
                              [](QLabel* l) { return l->text() == "Injection Aspect:"; });
  ASSERT_NE(heading, headings.end());
  form.optLow.SetVisible(false);
  EXPECT_FALSE((*heading)->isHidden());
  form.optHigh.SetVisible(false);
  EXPECT_TRUE((*heading)->isHidden());
}

TEST_F(FormMirror, UserPicksReachTheFieldsAndOptionsStayInTheirOwnGroups) {
  std::vector<std::string> seen;
  form.cmbScan.OnChange.Connect([&] { seen.push_back(form.cmbScan.Text()); });
  auto* scan = Find<QComboBox>(window, "cmbScan");
  scan->setFocus();
  QTest::keyClick(scan, Qt::Key_Up);
  EXPECT_EQ(form.cmbScan.Text(), "Secondary");

  // Options: a group clears its own other option only, and clicking the selected one keeps it.
  Find<QRadioButton>(window, "optHigh")->click();
  EXPECT_TRUE(form.optHigh.Selected());
  EXPECT_FALSE(form.optLow.Selected());
  EXPECT_TRUE(form.optLeft.Selected());
  Find<QRadioButton>(window, "optHigh")->click();
  EXPECT_TRUE(form.optHigh.Selected());
  EXPECT_TRUE(Find<QRadioButton>(window, "optHigh")->isChecked());

  Find<QCheckBox>(window, "chkBeep")->click();
  EXPECT_TRUE(form.chkBeep.Checked());
  Find<QDateEdit>(window, "Calendar")->setDate(QDate(2025, 2, 28));
  EXPECT_EQ(form.Calendar.Value(), Date(2025, 2, 28));
  EXPECT_EQ(seen, (std::vector<std::string>{"Secondary"}));
}

}  // namespace
}  // namespace tallisk::testing
