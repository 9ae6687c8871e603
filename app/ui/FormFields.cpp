#include "ui/FormFields.h"

#include <algorithm>
#include <cctype>

#include "tallisk/conversions.h"

namespace tallisk {

namespace {

bool EqualText(const std::string& a, const std::string& b, bool ignoreCase) {
  if (!ignoreCase) return a == b;
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

}  // namespace

double NumberTextValue(const std::string& text) {
  // Blanks anywhere are skipped, so "150.012 500" (the channel page's own format) reads back
  // as 150.0125.
  std::string packed;
  packed.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') packed += c;
  return ParseNumber(packed);
}

// --- Field ---

Field::Field(Form& form, FieldKind kind, std::string name, std::string caption)
    : form_(form), kind_(kind), name_(std::move(name)), caption_(std::move(caption)) {
  form.Register(*this);
}

void Field::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void Field::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
}

void Field::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

// --- TextField ---

TextField::TextField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Text, std::move(name), std::move(caption)) {}

void TextField::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed();
  OnChange();
}

char TextField::Admit(char key, std::size_t lengthSoFar) const {
  if (KeyFilter) key = KeyFilter(key);
  if (key == '\0') return '\0';
  if (key == '\b') return key;
  if (DigitsOnly && !std::isdigit(static_cast<unsigned char>(key))) return '\0';
  if (UpperCase) key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (MaxLength > 0 && lengthSoFar >= static_cast<std::size_t>(MaxLength)) return '\0';
  if (!MultiLine && (key == '\r' || key == '\n')) return '\0';
  return key;
}

bool TextField::TypeKey(char key) {
  if (ReadOnly) return false;
  char admitted = Admit(key, text_.size());
  if (admitted == '\0') return false;
  std::string next = text_;
  if (admitted == '\b') {
    if (!next.empty()) next.pop_back();
  } else {
    next += admitted;
    if (Accepts && !Accepts(next)) return false;
  }
  SetText(std::move(next));
  return true;
}

void TextField::TypeText(const std::string& keys) {
  for (char key : keys) TypeKey(key);
}

std::string TextField::Filtered(const std::string& text) const {
  std::string out;
  for (char key : text) {
    char admitted = Admit(key, out.size());
    if (admitted == '\0' || admitted == '\b') continue;
    if (Accepts && !Accepts(out + admitted)) continue;
    out += admitted;
  }
  return out;
}

double TextField::Value() const {
  return NumberTextValue(text_);
}

// --- ChoiceField ---

ChoiceField::ChoiceField(Form& form, std::string name, std::string caption, FieldKind kind)
    : Field(form, kind, std::move(name), std::move(caption)) {}

void ChoiceField::Clear() {
  items_.clear();
  selected_ = -1;
  Changed();
}

void ChoiceField::AddItem(std::string text, std::int32_t data) {
  items_.push_back({std::move(text), data});
  Changed();
}

void ChoiceField::RemoveItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  bool selectionMoved = false;
  if (selected_ == index) {
    selected_ = -1;
    selectionMoved = true;
  } else if (selected_ > index) {
    --selected_;
  }
  Changed();
  if (selectionMoved) OnChange();
}

void ChoiceField::SetItemText(int index, std::string text) {
  if (index < 0 || index >= Count()) return;
  items_[index].Text = std::move(text);
  Changed();
}

void ChoiceField::Select(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index == selected_) return;
  selected_ = index;
  Changed();
  OnChange();
}

int ChoiceField::SelectText(const std::string& text, bool ignoreCase) {
  int index = FindText(text, ignoreCase);
  Select(index);
  return index;
}

std::string ChoiceField::Text() const {
  return selected_ >= 0 ? items_[selected_].Text : "";
}

std::int32_t ChoiceField::SelectedData() const {
  return selected_ >= 0 ? items_[selected_].Data : 0;
}

int ChoiceField::FindText(const std::string& text, bool ignoreCase) const {
  for (int i = 0; i < Count(); ++i)
    if (EqualText(items_[i].Text, text, ignoreCase)) return i;
  return -1;
}

int ChoiceField::FindData(std::int32_t data) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].Data == data) return i;
  return -1;
}

// --- CheckField ---

CheckField::CheckField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Check, std::move(name), std::move(caption)) {}

void CheckField::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
  OnChange();
}

void CheckField::Click() {
  if (Usable()) SetChecked(!checked_);
}

// --- OptionField ---

OptionField::OptionField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Option, std::move(name), std::move(caption)),
      group_(std::make_shared<std::vector<OptionField*>>(1, this)) {}

void OptionField::Group(std::vector<OptionField*> options) {
  auto group = std::make_shared<std::vector<OptionField*>>(options);
  for (OptionField* option : options) option->group_ = group;
}

void OptionField::Select() {
  SetSelected(true);
}

void OptionField::SetSelected(bool selected) {
  if (selected == selected_) return;
  if (selected) {
    for (OptionField* other : *group_)
      if (other != this && other->selected_) {
        other->selected_ = false;
        other->Changed();
        other->OnChange();
      }
  }
  selected_ = selected;
  Changed();
  OnChange();
}

// --- DateField, LabelField, CommandField ---

DateField::DateField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Date, std::move(name), std::move(caption)) {}

void DateField::SetValue(Date value) {
  if (value == value_) return;
  value_ = value;
  Changed();
  OnChange();
}

LabelField::LabelField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Label, std::move(name), std::move(caption)) {}

CommandField::CommandField(Form& form, std::string name, std::string caption)
    : Field(form, FieldKind::Command, std::move(name), std::move(caption)) {}

void CommandField::Press() {
  if (Usable()) OnClick();
}

// --- Page, Form ---

void Page::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  StateChanged();
}

Page& Page::Row(std::vector<Field*> fields, std::string heading) {
  Rows.push_back({std::move(heading), std::move(fields)});
  return *this;
}

Form::Form(std::string objectName, std::string title)
    : objectName_(std::move(objectName)), title_(std::move(title)) {}

void Form::SetTitle(std::string title) {
  if (title == title_) return;
  title_ = std::move(title);
  StateChanged();
}

Field* Form::Find(const std::string& name) const {
  for (Field* field : fields_)
    if (field->Name() == name) return field;
  return nullptr;
}

Page& Form::AddPage(int index, std::string caption) {
  pages_.push_back(std::make_unique<Page>(index, std::move(caption)));
  return *pages_.back();
}

Page* Form::PageAt(int index) const {
  for (auto& page : pages_)
    if (page->Index == index) return page.get();
  return nullptr;
}

void Form::Close() {
  closed_ = true;
  CloseRequested();
}

}  // namespace tallisk
