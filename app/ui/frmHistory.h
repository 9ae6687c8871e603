#pragma once

// The history window: the job log newest first, narrowed by a serial number or customer as
// it is typed; Open takes the chosen job's programming, which the main window then loads as
// "Load A File" does.

#include <filesystem>
#include <vector>

#include "files/History.h"
#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmHistory : public Form {
 public:
  frmHistory(Dialogs& dialogs, const History& history);

  TextField txtFilter{*this, "txtFilter", "Serial number or customer:"};
  ListField lstJobs{*this, "lstJobs", "Reads and writes, newest first"};
  CommandField btnOpen{*this, "btnOpen", "Open"};
  CommandField btnClose{*this, "btnClose", "Close"};

  // After Open: the chosen job, whose programming file exists.
  bool Opened = false;
  JobRecord Chosen;
  std::filesystem::path ChosenFile;

  // One line of the list.
  static std::string LineOf(const JobRecord& job);

 private:
  void Fill();
  void Open();

  Dialogs& dialogs_;
  const History& history_;
  std::vector<JobRecord> listed_;
};

}  // namespace tallisk
