#include "ui/frmHistory.h"

#include <ctime>

namespace tallisk {

frmHistory::frmHistory(Dialogs& dialogs, const History& history)
    : Form("frmHistory", "History"), dialogs_(dialogs), history_(history) {
  AddPage(0, "Programmings read and written")
      .Row({&txtFilter})
      .Row({&lstJobs})
      .Row({&btnOpen, &btnClose});
  Pages().front()->SetVisible(true);
  txtFilter.OnChange.Connect([this] { Fill(); });
  btnOpen.OnClick.Connect([this] { Open(); });
  btnClose.OnClick.Connect([this] { Close(); });
  Fill();
}

std::string frmHistory::LineOf(const JobRecord& job) {
  // The technician's own clock: the log keeps UTC.
  const std::time_t t = std::chrono::system_clock::to_time_t(job.Time);
  std::tm local{};
  localtime_r(&t, &local);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
  std::string line = std::string(when) + "  " + (job.Family == RadioFamily::KM2 ? "KM2" : "QVR") +
                     "  " + std::string(JobActionName(job.Action));
  for (const std::string* part : {&job.SerialNumber, &job.Customer, &job.Model, &job.Port})
    if (!part->empty()) line += "  " + *part;
  if (!job.Result.empty()) line += "  (" + job.Result + ")";
  return line;
}

void frmHistory::Fill() {
  listed_ = history_.Entries(txtFilter.Text());
  lstJobs.Clear();
  for (const JobRecord& job : listed_) lstJobs.AddItem(LineOf(job));
  if (!listed_.empty()) lstJobs.Select(0);
}

void frmHistory::Open() {
  const int index = lstJobs.SelectedIndex();
  if (index < 0 || index >= static_cast<int>(listed_.size())) {
    dialogs_.Inform("History", "Choose a read or a write in the list first.");
    return;
  }
  const std::filesystem::path file = history_.FileOf(listed_[static_cast<std::size_t>(index)]);
  std::error_code missing;
  if (file.empty() || !std::filesystem::is_regular_file(file, missing)) {
    dialogs_.Inform("History", "No programming was kept for this one.");
    return;
  }
  Opened = true;
  Chosen = listed_[static_cast<std::size_t>(index)];
  ChosenFile = file;
  Close();
}

}  // namespace tallisk
