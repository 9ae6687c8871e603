#pragma once

#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tallisk/collection.h"
#include "tallisk/errors.h"

namespace tallisk {

// The ordered collection of the profile classes: shared profile objects indexed from 1 in
// the order they were added, optionally also by a text key (compared without regard to
// case). The profiles are shared: the program keeps the model and band it works with while
// the operator keeps the whole list.
template <typename T>
class ProfileCollection {
 public:
  using Pointer = std::shared_ptr<T>;

  // An empty key adds the object without a key. A key already in use fails (error 457), so
  // a lookup by key can never find the wrong object.
  void Add(Pointer item, const std::string& key = {}) {
    if (!key.empty() && Find(key) != 0) {
      throw TalliskError(457, "Collection.Add",
                         "This key is already associated with an element of this collection");
    }
    items_.Add(std::move(item));
    keys_.push_back(key);
  }

  // Positions outside 1..Count and unknown keys fail with the invalid-argument error.
  const Pointer& Item(std::int32_t index) const { return items_.Item(index); }
  const Pointer& Item(const std::string& key) const { return items_.Item(Known(key)); }

  std::int32_t Count() const noexcept { return items_.Count(); }

  void Remove(std::int32_t index) {
    items_.Remove(index);
    keys_.erase(keys_.begin() + (index - 1));
  }
  void Remove(const std::string& key) { Remove(Known(key)); }

  auto begin() const noexcept { return items_.begin(); }
  auto end() const noexcept { return items_.end(); }

 private:
  static bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const auto ca = static_cast<unsigned char>(a[i]);
      const auto cb = static_cast<unsigned char>(b[i]);
      if (ca != cb && std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
  }

  // The position of a key, 0 when absent.
  std::int32_t Find(const std::string& key) const {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (!keys_[i].empty() && SameKey(keys_[i], key)) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
  }

  std::int32_t Known(const std::string& key) const {
    const std::int32_t index = key.empty() ? 0 : Find(key);
    if (index == 0) RaiseInvalidArgument("Collection.Item", "No element with the key " + key);
    return index;
  }

  Collection<Pointer> items_;
  std::vector<std::string> keys_;
};

}  // namespace tallisk
