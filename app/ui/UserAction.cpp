#include "ui/UserAction.h"

namespace tallisk {

namespace {

// The caption as the window shows it, without the colon or question mark after it; a field
// without one goes by its name.
std::string Named(std::string caption, const std::string& name) {
  while (!caption.empty() &&
         (caption.back() == ':' || caption.back() == '?' || caption.back() == ' '))
    caption.pop_back();
  return "\"" + (caption.empty() ? name : caption) + "\"";
}

}  // namespace

std::string UserAction(const Field& field) {
  return (field.Kind() == FieldKind::Command ? "pressing " : "changing ") +
         Named(field.Caption(), field.Name());
}

std::string ClosingWindow(const Form& window) {
  return "closing " + Named(window.Title(), window.ObjectName());
}

}  // namespace tallisk
