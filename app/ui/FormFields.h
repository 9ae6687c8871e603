#pragma once

// The toolkit-free form fields every window is made of. A window is a plain class whose
// fields are members; the window's logic reacts to their events, and a front end (Qt, or a
// test) mirrors their state into widgets and turns widget events back into the same calls.
//
// Two kinds of notification:
//  - reactions (OnChange, OnLeave, OnClick): the window's behaviour. A change made by code
//    fires them exactly as a user's change does, as the windows' logic expects.
//  - StateChanged: anything the front end shows has changed (value, items, caption, visible,
//    enabled); front ends refresh the widget from the field.
// A change that leaves the value as it was fires nothing.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tallisk/Date.h"
#include "ui/Signal.h"

namespace tallisk {

class Form;

// A typed number as the pages read it: blanks anywhere are skipped, then the lenient decimal
// read (leading digits; no number gives 0).
double NumberTextValue(const std::string& text);

enum class FieldKind { Text, Choice, List, Check, Option, Date, Label, Command };

class Field {
 public:
  Field(Form& form, FieldKind kind, std::string name, std::string caption);
  virtual ~Field() = default;
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  FieldKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Form& Owner() const { return form_; }

  // The label beside a text, choice, list or date field; the text of a check box, option,
  // label or command.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // What a user can act on: visible and enabled.
  bool Usable() const { return visible_ && enabled_; }
  // Shown large enough to read from across the bench (set before a front end shows it).
  bool Prominent = false;

  // The logic asks for the input focus (e.g. back to a field whose value was refused).
  void SetFocus() { FocusRequested(); }
  // The focus moves away from the field: fires OnLeave.
  void Leave() { OnLeave(); }

  Signal<> OnLeave;
  Signal<> StateChanged;
  Signal<> FocusRequested;

 protected:
  void Changed() { StateChanged(); }

 private:
  Form& form_;
  FieldKind kind_;
  std::string name_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
};

class TextField : public Field {
 public:
  // Returns the character to insert for a typed key, or 0 to drop the key. Backspace is '\b'.
  using KeyFilterFn = std::function<char(char)>;

  TextField(Form& form, std::string name, std::string caption = {});

  const std::string& Text() const { return text_; }
  // Sets the text as given (no input style applies), by code or as a front end's edit.
  void SetText(std::string text);

  // Input styles, applied to typed keys and pasted text.
  int MaxLength = 0;  // 0: no limit
  bool UpperCase = false;
  bool DigitsOnly = false;
  bool MultiLine = false;
  bool ReadOnly = false;
  KeyFilterFn KeyFilter;
  // Whether the field may hold a whole text, typed or pasted (a code of three octal digits
  // with an optional leading sign, say); empty: any text the key rules admit.
  std::function<bool(const std::string&)> Accepts;

  // A key typed at the end of the text, through the key filter and the input styles.
  // False when the key was dropped.
  bool TypeKey(char key);
  // Keys typed one after another.
  void TypeText(const std::string& keys);
  // What typing `text` into an empty field would leave: lets a front end hold pasted or
  // edited text to the same rules as typed keys.
  std::string Filtered(const std::string& text) const;

  // The typed text read as a number, blanks between digits skipped (see NumberText.h).
  double Value() const;

  Signal<> OnChange;

 private:
  char Admit(char key, std::size_t lengthSoFar) const;
  std::string text_;
};

// A choice (drop-down) or a list: texts each carrying a number, one selected index or -1.
class ChoiceField : public Field {
 public:
  struct Item {
    std::string Text;
    std::int32_t Data = 0;
  };

  ChoiceField(Form& form, std::string name, std::string caption = {},
              FieldKind kind = FieldKind::Choice);

  void Clear();  // empties the list; the selection becomes -1 without a reaction
  void AddItem(std::string text, std::int32_t data = 0);
  void RemoveItem(int index);
  void SetItemText(int index, std::string text);
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<Item>& Items() const { return items_; }
  const std::string& ItemText(int index) const { return items_.at(index).Text; }
  std::int32_t ItemData(int index) const { return items_.at(index).Data; }

  int SelectedIndex() const { return selected_; }
  // Selects an entry (-1: none) and fires OnChange when the selection changed. An index
  // outside the list selects nothing.
  void Select(int index);
  // Selects the first entry whose text is `text` (letter case ignored when asked); none when
  // absent. Returns the index selected.
  int SelectText(const std::string& text, bool ignoreCase = false);
  // The selected entry's text, empty when nothing is selected.
  std::string Text() const;
  std::int32_t SelectedData() const;
  int FindText(const std::string& text, bool ignoreCase = false) const;
  int FindData(std::int32_t data) const;

  Signal<> OnChange;

 private:
  std::vector<Item> items_;
  int selected_ = -1;
};

class ListField : public ChoiceField {
 public:
  ListField(Form& form, std::string name, std::string caption = {})
      : ChoiceField(form, std::move(name), std::move(caption), FieldKind::List) {}
};

class CheckField : public Field {
 public:
  CheckField(Form& form, std::string name, std::string caption = {});
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);  // fires OnChange when it changed
  // A user's click: toggles when usable.
  void Click();
  Signal<> OnChange;

 private:
  bool checked_ = false;
};

// Option buttons of one group: selecting one clears the others.
class OptionField : public Field {
 public:
  OptionField(Form& form, std::string name, std::string caption = {});
  // Puts options into one group; each is told of the others.
  static void Group(std::vector<OptionField*> options);
  bool Selected() const { return selected_; }
  void Select();  // selects this option, clears the others of its group; fires OnChange
  void SetSelected(bool selected);
  Signal<> OnChange;

 private:
  std::shared_ptr<std::vector<OptionField*>> group_;
  bool selected_ = false;
};

class DateField : public Field {
 public:
  DateField(Form& form, std::string name, std::string caption = {});
  const Date& Value() const { return value_; }
  void SetValue(Date value);
  Signal<> OnChange;

 private:
  Date value_;
};

class LabelField : public Field {
 public:
  LabelField(Form& form, std::string name, std::string caption = {});
};

class CommandField : public Field {
 public:
  CommandField(Form& form, std::string name, std::string caption = {});
  // A user's press: fires OnClick only when the command is usable.
  void Press();
  Signal<> OnClick;
};

// One row of a page: a heading (may be empty) and fields laid out side by side.
struct PageRow {
  std::string Heading;
  std::vector<Field*> Fields;
};

class Page {
 public:
  Page(int index, std::string caption) : Index(index), Caption(std::move(caption)) {}
  int Index;
  std::string Caption;
  std::vector<PageRow> Rows;
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  Signal<> StateChanged;

  // Adds a row of fields side by side.
  Page& Row(std::vector<Field*> fields, std::string heading = {});

 private:
  bool visible_ = false;
};

// A window: its fields (registered by their constructors, in declaration order), its
// pages, its title, and how its logic closes it.
class Form {
 public:
  Form(std::string objectName, std::string title);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& ObjectName() const { return objectName_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  const std::vector<Field*>& Fields() const { return fields_; }
  Field* Find(const std::string& name) const;

  // Pages in the order they were added; a window without wizard pages has one.
  std::vector<std::unique_ptr<Page>>& Pages() { return pages_; }
  const std::vector<std::unique_ptr<Page>>& Pages() const { return pages_; }
  Page& AddPage(int index, std::string caption);
  // Rows shown under the pages whatever page is on show (a wizard's navigation strip).
  std::vector<PageRow> Footer;
  Page* PageAt(int index) const;  // by its Index, null when none

  // A modal window's logic ends it (OK, Cancel); the front end closes the window.
  void Close();
  bool IsClosed() const { return closed_; }
  void Reopen() { closed_ = false; }
  // The window's close box: returns false when the window refuses to close.
  virtual bool QueryClose() { return true; }

  Signal<> StateChanged;  // title
  Signal<> CloseRequested;

 private:
  friend class Field;
  void Register(Field& field) { fields_.push_back(&field); }

  std::string objectName_;
  std::string title_;
  std::vector<Field*> fields_;
  std::vector<std::unique_ptr<Page>> pages_;
  bool closed_ = false;
};

}  // namespace tallisk
