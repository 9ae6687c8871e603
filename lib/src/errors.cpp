#include "tallisk/errors.h"

namespace tallisk {

TalliskError::TalliskError(int number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

void RaiseInvalidArgument(const std::string& source, const std::string& description) {
  throw TalliskError(ErrInvalidArgument, source, description);
}

void RaiseOverflow(const std::string& source) {
  throw TalliskError(ErrOverflow, source, "Overflow");
}

void RaiseDivisionByZero(const std::string& source) {
  throw TalliskError(ErrDivisionByZero, source, "Division by zero");
}

}  // namespace tallisk
