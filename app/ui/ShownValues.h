#pragma once

// What the fields of a page showed when the page last showed the programming. A page that is
// stored back leaves a property alone while its field still shows what it showed: a value the
// field cannot show exactly (a choice the list does not hold, a name in letters the key filter
// would not let anyone type) then reaches the radio as it was read.

#include <initializer_list>
#include <optional>
#include <string>
#include <unordered_map>

#include "ui/FormFields.h"

namespace tallisk {

class ShownValues {
 public:
  // Notes what each field of the pages shows now.
  void Remember(std::initializer_list<const Page*> pages);
  void Remember(const Field& field);
  // The fields of the pages show defaults, no programming: a store takes them all.
  void Forget(std::initializer_list<const Page*> pages);
  void Forget(const Field& field);
  void Clear() { shown_.clear(); }

  // True unless the field still shows what it was remembered showing.
  bool Edited(const Field& field) const;
  // What a text field was remembered showing; none when it was not.
  std::optional<std::string> ShownText(const TextField& field) const;

 private:
  std::unordered_map<const Field*, std::string> shown_;
};

}  // namespace tallisk
