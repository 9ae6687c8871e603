#include "ui/UndoStack.h"

#include <algorithm>
#include <utility>

namespace tallisk {

namespace {

template <typename T>
std::vector<T> Copy(const Collection<T>& items) {
  return std::vector<T>(items.begin(), items.end());
}

// Element by element while the counts agree: the pages hold pointers to the channel and the
// group they show, and those must go on naming the same channel.
template <typename T>
void Put(Collection<T>& items, const std::vector<T>& from) {
  if (static_cast<std::size_t>(items.Count()) == from.size()) {
    std::copy(from.begin(), from.end(), items.begin());
    return;
  }
  items.Clear();
  for (const T& item : from) items.Add(item);
}

// What the user set of a channel: not its record and checksums, nor the model name and band
// values that every store and every build writes into it again from the settings.
clsChannel Settings(clsChannel c) {
  c.ChannelData.clear();
  c.CheckSumKM2.clear();
  c.CheckSum = 0;
  c.RxSynthesizerData = c.TxSynthesizerData = 0;
  c.ModelName.clear();
  c.Prescaler.clear();
  c.PLLReferenceFreq = c.RxIF = c.TxIF = 0;
  c.prsclKM2 = 0;
  c.SpecialRadio = c.AlternatePreScaler = c.AlternatePreScaler2 = false;
  return c;
}

bool Alike(const clsChannel& a, const clsChannel& b) {
  return a == b || Settings(a) == Settings(b);
}
template <typename T>
bool Alike(const T& a, const T& b) {
  return a == b;
}

template <typename T>
bool Same(const Collection<T>& items, const std::vector<T>& state) {
  return static_cast<std::size_t>(items.Count()) == state.size() &&
         std::equal(state.begin(), state.end(), items.begin(),
                    [](const T& a, const T& b) { return Alike(a, b); });
}

}  // namespace

UndoStack::UndoStack(Objects objects, std::size_t depth) : objects_(objects), depth_(depth) {
  current_ = Capture();
}

ProgrammingState UndoStack::Capture() const {
  return {objects_.RadioHeader, Copy(objects_.Channels), Copy(objects_.Groups),
          Copy(objects_.ChannelGroupTable)};
}

void UndoStack::Restore(const ProgrammingState& state) {
  objects_.RadioHeader = state.RadioHeader;
  Put(objects_.Channels, state.Channels);
  Put(objects_.Groups, state.Groups);
  Put(objects_.ChannelGroupTable, state.ChannelGroupTable);
}

bool UndoStack::Unchanged() const {
  return objects_.RadioHeader == current_.RadioHeader &&
         Same(objects_.Channels, current_.Channels) && Same(objects_.Groups, current_.Groups) &&
         Same(objects_.ChannelGroupTable, current_.ChannelGroupTable);
}

void UndoStack::Reset() {
  undo_.clear();
  redo_.clear();
  current_ = Capture();
}

bool UndoStack::Commit() {
  if (Unchanged()) return false;
  undo_.push_back(std::exchange(current_, Capture()));
  if (undo_.size() > depth_) undo_.pop_front();
  redo_.clear();
  return true;
}

void UndoStack::Rebase() {
  current_ = Capture();
}

void UndoStack::Revert() {
  if (!Unchanged()) Restore(current_);
}

bool UndoStack::Undo() {
  if (undo_.empty()) return false;
  redo_.push_back(std::exchange(current_, std::move(undo_.back())));
  undo_.pop_back();
  Restore(current_);
  return true;
}

bool UndoStack::Redo() {
  if (redo_.empty()) return false;
  undo_.push_back(std::exchange(current_, std::move(redo_.back())));
  redo_.pop_back();
  Restore(current_);
  return true;
}

}  // namespace tallisk
