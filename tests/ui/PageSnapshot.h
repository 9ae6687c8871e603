#pragma once

// What a page shows, field by field, so that a test can say "the page shows this channel
// exactly as before" in one comparison.

#include <map>
#include <string>

#include "ui/FormFields.h"

namespace tallisk::testing {

// Field name to what it shows: the text, the selected entry, or the check; hidden fields
// are marked, since a value no one sees is not shown.
inline std::map<std::string, std::string> PageSnapshot(const Page& page) {
  std::map<std::string, std::string> shown;
  for (const auto& row : page.Rows)
    for (const Field* field : row.Fields) {
      std::string value;
      switch (field->Kind()) {
        case FieldKind::Text:
          value = static_cast<const TextField*>(field)->Text();
          break;
        case FieldKind::Choice:
        case FieldKind::List: {
          const auto* choice = static_cast<const ChoiceField*>(field);
          value = std::to_string(choice->SelectedIndex()) + ":" + choice->Text();
          break;
        }
        case FieldKind::Check:
          value = static_cast<const CheckField*>(field)->Checked() ? "checked" : "unchecked";
          break;
        default:
          value = field->Caption();
      }
      shown[field->Name()] = (field->Visible() ? "" : "(hidden) ") + value;
    }
  return shown;
}

}  // namespace tallisk::testing
