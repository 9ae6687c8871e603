// The printed report of the programming in memory, on paper or as a PDF, and the QVR test
// window opened from the start and Finish pages.

#include <cctype>
#include <exception>
#include <span>

#include "test/frmQVRTestMode.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr char kSaveTitle[] = "QVR Radio Programmer";
constexpr char kFileSaved[] = "File Saved";
constexpr char kSaveFailed[] = "Unable to save file because a following error has occured: ";
constexpr char kPrintFailed[] = "Unable to print the report: ";
constexpr char kNoPrinting[] = "This program has no printer to print the report on.";

template <class T>
std::span<const T> All(const Collection<T>& items) {
  return {items.begin(), items.end()};
}

}  // namespace

void frmMain::SetUpPrinting() {
  btnPrint.OnClick.Connect([this] { PrintReport(); });
  btnSaveAsPdf.OnClick.Connect([this] { SaveReportAsPdf(); });
  // The PDF is the printout by other means: it is off whenever printing is (during a write).
  btnPrint.StateChanged.Connect([this] { btnSaveAsPdf.SetEnabled(btnPrint.Enabled()); });
  btnTestMode.OnClick.Connect([this] { OpenTestMode(); });
  btnTestMode2.OnClick.Connect([this] { OpenTestMode(); });
}

void frmMain::UseReportOutput(ReportOutput& output) {
  reportOutput_ = &output;
}

ReportDocument frmMain::BuildReport() const {
  if (RadioType == 1) {
    static const colCTCSSFrequencies noTones;
    return PrintReportKM2(RadioHeader, All(Channels), All(Groups), All(ChannelGroupTable),
                          ToneTable ? *ToneTable : noTones, RadioHeader.SpecialRadio);
  }
  return PrintReportQVR(RadioHeader, All(Channels), ToneTable.get());
}

void frmMain::PrintReport() {
  if (reportOutput_ == nullptr) {
    dialogs_.Message(FamilyTitle(), kNoPrinting, MessageIcon::Exclamation, MessageButtons::OK);
    return;
  }
  // A programming whose texts cannot be made is told before the technician picks a printer.
  ReportDocument document;
  try {
    document = BuildReport();
  } catch (const TalliskError& e) {
    dialogs_.Message(
        "", kPrintFailed + std::string("\r") + e.Description() + " #" + std::to_string(e.Number()),
        MessageIcon::None, MessageButtons::OK);
    return;
  }
  if (!dialogs_.PrintDialog()) return;
  try {
    reportOutput_->Print(document);
  } catch (const std::exception& e) {
    dialogs_.Message("", kPrintFailed + std::string("\r") + e.what(), MessageIcon::None,
                     MessageButtons::OK);
  }
}

void frmMain::SaveReportAsPdf() {
  if (reportOutput_ == nullptr) {
    dialogs_.Message(FamilyTitle(), kNoPrinting, MessageIcon::Exclamation, MessageButtons::OK);
    return;
  }
  // The radio's serial number names its report, as technicians file them.
  std::string name;
  for (const char c : Trim(RadioHeader.SerialNumber))
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') name += c;
  const auto path = dialogs_.SaveFile({"Save as PDF...", "PDF Files|*.pdf", true, false,
                                       (name.empty() ? "report" : name) + ".pdf"});
  if (!path) return;
  const auto failed = [this](const std::string& reason) {
    dialogs_.Message("", kSaveFailed + std::string("\r") + reason, MessageIcon::None,
                     MessageButtons::OK);
  };
  try {
    reportOutput_->SavePdf(BuildReport(), *path);
  } catch (const TalliskError& e) {
    failed(e.Description() + " #" + std::to_string(e.Number()));
    return;
  } catch (const std::exception& e) {
    failed(e.what());
    return;
  }
  dialogs_.Inform(kSaveTitle, kFileSaved);
}

void frmMain::OpenTestMode() {
  if (RadioType != 0) return;
  // While the window reads the radio it pumps events; the main window's commands and its
  // close wait until the radio is out of test mode again.
  struct Quiet {
    frmMain& window;
    explicit Quiet(frmMain& w) : window(w) {
      window.TransferBusy = true;
      window.EnableStartPageCommands(false);
      window.EnableFinishPageCommands(false);
    }
    ~Quiet() {
      window.TransferBusy = false;
      window.EnableStartPageCommands(true);
      window.EnableFinishPageCommands(true);
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;
  } quiet(*this);

  const LinkInUse link = CurrentLink();
  frmQVRTestMode window(RadioHeader, link.Port, link.Time, link.Pump,
                        Options ? Options->CommPort : 1, dialogs_);
  window.Load();
  dialogs_.RunModal(window);
}

}  // namespace tallisk
