#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tallisk/errors.h"

namespace tallisk {

// An ordered list indexed from 1, as the radio data is numbered (channel 1, group 1).
// An index outside 1..Count fails with the invalid-argument error rather than reading
// some other channel's data.
template <typename T>
class Collection {
 public:
  using value_type = T;
  using iterator = typename std::vector<T>::iterator;
  using const_iterator = typename std::vector<T>::const_iterator;

  void Add(T item) { items_.push_back(std::move(item)); }

  T& Item(std::int32_t index) { return items_[checked(index)]; }
  const T& Item(std::int32_t index) const { return items_[checked(index)]; }

  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(items_.size()); }

  void Remove(std::int32_t index) { items_.erase(items_.begin() + checked(index)); }

  void Clear() noexcept { items_.clear(); }

  void Reserve(std::size_t n) { items_.reserve(n); }

  iterator begin() noexcept { return items_.begin(); }
  iterator end() noexcept { return items_.end(); }
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

 private:
  std::size_t checked(std::int32_t index) const {
    if (index < 1 || index > Count()) {
      RaiseInvalidArgument("Collection.Item", "Index out of range: " + std::to_string(index));
    }
    return static_cast<std::size_t>(index - 1);
  }

  std::vector<T> items_;
};

}  // namespace tallisk
