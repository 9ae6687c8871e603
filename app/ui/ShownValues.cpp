#include "ui/ShownValues.h"

namespace tallisk {

namespace {

std::string State(const Field& field) {
  if (const auto* text = dynamic_cast<const TextField*>(&field)) return text->Text();
  if (const auto* choice = dynamic_cast<const ChoiceField*>(&field))
    return std::to_string(choice->SelectedIndex()) + '\n' + choice->Text();
  if (const auto* check = dynamic_cast<const CheckField*>(&field))
    return check->Checked() ? "1" : "0";
  if (const auto* option = dynamic_cast<const OptionField*>(&field))
    return option->Selected() ? "1" : "0";
  if (const auto* date = dynamic_cast<const DateField*>(&field)) {
    const Date& d = date->Value();
    return std::to_string(d.Year()) + '-' + std::to_string(d.Month()) + '-' +
           std::to_string(d.Day());
  }
  return {};
}

}  // namespace

void ShownValues::Remember(std::initializer_list<const Page*> pages) {
  for (const Page* page : pages)
    if (page)
      for (const auto& row : page->Rows)
        for (const Field* field : row.Fields) Remember(*field);
}

void ShownValues::Remember(const Field& field) {
  shown_[&field] = State(field);
}

void ShownValues::Forget(std::initializer_list<const Page*> pages) {
  for (const Page* page : pages)
    if (page)
      for (const auto& row : page->Rows)
        for (const Field* field : row.Fields) Forget(*field);
}

void ShownValues::Forget(const Field& field) {
  shown_.erase(&field);
}

bool ShownValues::Edited(const Field& field) const {
  const auto found = shown_.find(&field);
  return found == shown_.end() || found->second != State(field);
}

std::optional<std::string> ShownValues::ShownText(const TextField& field) const {
  const auto found = shown_.find(&field);
  if (found == shown_.end()) return std::nullopt;
  return found->second;
}

}  // namespace tallisk
