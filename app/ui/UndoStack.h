#pragma once

// Undo and redo of the programming in memory. A step is a whole copy of the programming's
// objects as they were before a change: a programming is a few hundred small objects, so a
// copy per step is cheap and restores every property exactly, the ones no page shows included,
// and a programming restored exactly builds the image it built before, byte for byte.

#include <cstddef>
#include <deque>
#include <vector>

#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/collection.h"

namespace tallisk {

struct ProgrammingState {
  clsRadioHeader RadioHeader;
  std::vector<clsChannel> Channels;
  std::vector<clsGroup> Groups;
  std::vector<clsChannelGroup> ChannelGroupTable;
};

class UndoStack {
 public:
  // The objects a window keeps its programming in; they must outlive the stack.
  struct Objects {
    clsRadioHeader& RadioHeader;
    Collection<clsChannel>& Channels;
    Collection<clsGroup>& Groups;
    Collection<clsChannelGroup>& ChannelGroupTable;
  };
  explicit UndoStack(Objects objects, std::size_t depth = 100);

  // A new programming: history starts with it as it is now.
  void Reset();
  // One step when the programming differs from the last step's; true when it did.
  bool Commit();
  // The codecs have filled in what they derive (records, checksums, band values): no step.
  void Rebase();
  // The programming as the last step left it, dropping what changed since.
  void Revert();
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

 private:
  ProgrammingState Capture() const;
  void Restore(const ProgrammingState& state);
  bool Unchanged() const;

  Objects objects_;
  std::size_t depth_;
  ProgrammingState current_;
  std::deque<ProgrammingState> undo_;
  std::deque<ProgrammingState> redo_;
};

}  // namespace tallisk
