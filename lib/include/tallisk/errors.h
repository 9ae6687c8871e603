#pragma once

#include <stdexcept>
#include <string>

namespace tallisk {

// Error numbers callers can rely on; the program shows them after " #" in its failure box.
inline constexpr int ErrInvalidArgument = 5;
inline constexpr int ErrOverflow = 6;
inline constexpr int ErrDivisionByZero = 11;

// The one failure type of the library: a number, the routine that raised it and a
// description fit for a technician.
class TalliskError : public std::runtime_error {
 public:
  TalliskError(int number, std::string source, std::string description);

  int Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  int number_;
  std::string source_;
  std::string description_;
};

[[noreturn]] void RaiseInvalidArgument(
    const std::string& source,
    const std::string& description = "Invalid procedure call or argument");
[[noreturn]] void RaiseOverflow(const std::string& source);
[[noreturn]] void RaiseDivisionByZero(const std::string& source);

}  // namespace tallisk
