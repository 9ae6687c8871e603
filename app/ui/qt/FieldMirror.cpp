#include "ui/qt/FieldMirror.h"

#include <QFont>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <cstdint>

#include "ui/UserAction.h"
#include "ui/qt/QtText.h"

namespace tallisk::qt {

namespace {

FieldMirror::ActionRunner& Runner() {
  static FieldMirror::ActionRunner runner;
  return runner;
}

// A field holds one byte per character, as the radio does; only printable ASCII (and line
// ends in a multi-line text) can be typed into it, so anything else pasted is dropped before
// the field's own rules see it.
std::string Typeable(const QString& text, bool multiLine) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x20 && u < 0x7F) || (multiLine && u == '\n')) out += static_cast<char>(u);
  }
  return out;
}

// Typed, pasted or dropped text goes through the same rules as keys typed into the field:
// input styles, key filter and maximum length. What the edit inserted is admitted character
// by character between the text kept before and after it, so a paste into a nearly full field
// keeps what fits and an insertion into a full one is refused, never pushing characters off
// the end. The limit is read from the field each time: the window's logic changes it with the
// radio family without a word.
class FieldValidator : public QValidator {
 public:
  FieldValidator(const TextField& field, QObject* parent) : QValidator(parent), field_(field) {}

  State validate(QString& input, int& pos) const override {
    const QString before = ToQt(field_.Text());
    if (input == before) return Acceptable;
    // An edit inserts just before the cursor; what follows the cursor was there before.
    qsizetype tail = input.size() - pos;
    if (tail < 0 || tail > before.size() || !before.endsWith(input.mid(pos))) {
      // Not an edit at the cursor (undo, redo): the text both share at the end stays.
      tail = 0;
      while (tail < input.size() && tail < before.size() &&
             input[input.size() - 1 - tail] == before[before.size() - 1 - tail])
        ++tail;
    }
    qsizetype head = 0;
    while (head < input.size() - tail && head < before.size() - tail && input[head] == before[head])
      ++head;
    const QString kept = input.left(head);
    const QString after = input.right(tail);
    const std::string inserted = Typeable(input.mid(head, input.size() - head - tail), false);

    const std::size_t limit = field_.MaxLength > 0 ? std::size_t(field_.MaxLength) : SIZE_MAX;
    std::size_t length = std::size_t(kept.size() + after.size());
    std::string admitted;
    for (char key : inserted) {
      if (length >= limit) break;
      const std::string one = field_.Filtered(std::string(1, key));
      admitted += one;
      length += one.size();
    }
    const QString result = kept + ToQt(admitted) + after;
    // A text the field cannot hold as a whole is refused, not cut to something else.
    if (field_.Accepts && !field_.Accepts(Typeable(result, false))) return Invalid;
    input = result;
    pos = int(kept.size() + qsizetype(admitted.size()));
    return Acceptable;
  }

 private:
  const TextField& field_;
};

class TextMirror : public FieldMirror {
 public:
  TextMirror(TextField& field, QWidget* parent)
      : FieldMirror(field, new QLineEdit(parent), true),
        text_(field),
        edit_(static_cast<QLineEdit*>(Widget())) {
    edit_->setValidator(new FieldValidator(field, edit_));
    QObject::connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
      Run(text_, [&] { text_.SetText(FromQt(text)); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    edit_->setReadOnly(text_.ReadOnly);
    const int shown = text_.MaxLength > 0 ? std::min(text_.MaxLength, 30) + 2 : 16;
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * shown);
    const QString text = ToQt(text_.Text());
    if (edit_->text() != text) {
      const int cursor = edit_->cursorPosition();
      edit_->setText(text);
      if (edit_->hasFocus()) edit_->setCursorPosition(std::min(cursor, int(text.size())));
    }
  }

 private:
  TextField& text_;
  QLineEdit* edit_;
};

class MultiLineTextMirror : public FieldMirror {
 public:
  MultiLineTextMirror(TextField& field, QWidget* parent)
      : FieldMirror(field, new QPlainTextEdit(parent), true, true),
        text_(field),
        edit_(static_cast<QPlainTextEdit*>(Widget())) {
    edit_->setMinimumSize(edit_->fontMetrics().averageCharWidth() * 50,
                          edit_->fontMetrics().lineSpacing() * 8);
    QObject::connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
      if (text_.ReadOnly) return;
      const std::string filtered = text_.Filtered(Typeable(edit_->toPlainText(), true));
      Run(text_, [&] { text_.SetText(filtered); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    edit_->setReadOnly(text_.ReadOnly);
    QString text = ToQt(text_.Text());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (edit_->toPlainText() != text) {
      const int cursor = edit_->textCursor().position();
      edit_->setPlainText(text);
      if (edit_->hasFocus()) {
        QTextCursor c = edit_->textCursor();
        c.setPosition(std::min(cursor, int(text.size())));
        edit_->setTextCursor(c);
      }
    }
  }

 private:
  TextField& text_;
  QPlainTextEdit* edit_;
};

class ChoiceMirror : public FieldMirror {
 public:
  ChoiceMirror(ChoiceField& field, QWidget* parent)
      : FieldMirror(field, new QComboBox(parent), true),
        choice_(field),
        combo_(static_cast<QComboBox*>(Widget())) {
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo_->setMinimumWidth(combo_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 6);
    // Activation is the user's pick (mouse, keys or wheel); a refresh sets the index with
    // signals blocked and is never mistaken for one.
    QObject::connect(combo_, &QComboBox::activated, this, [this](int index) {
      Run(choice_, [&] { choice_.Select(index); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    if (!SameItems()) {
      combo_->clear();
      for (const auto& item : choice_.Items()) combo_->addItem(ToQt(item.Text));
    }
    combo_->setCurrentIndex(choice_.SelectedIndex());
  }

 private:
  bool SameItems() const {
    if (combo_->count() != choice_.Count()) return false;
    for (int i = 0; i < choice_.Count(); ++i)
      if (combo_->itemText(i) != ToQt(choice_.ItemText(i))) return false;
    return true;
  }

  ChoiceField& choice_;
  QComboBox* combo_;
};

class ListMirror : public FieldMirror {
 public:
  ListMirror(ChoiceField& field, QWidget* parent)
      : FieldMirror(field, new QListWidget(parent), true, true),
        choice_(field),
        list_(static_cast<QListWidget*>(Widget())) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumWidth(list_->fontMetrics().averageCharWidth() * 30);
    // The selection, not the current row: a click moves the current row first and selects
    // afterwards, so a reaction that puts the old entry back (the model question answered
    // No) must come after both or the click's selection would paint over it.
    QObject::connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
      const QList<QListWidgetItem*> selected = list_->selectedItems();
      // A list entry cannot be unselected by the user, only replaced.
      if (!selected.isEmpty()) {
        const int row = list_->row(selected.front());
        Run(choice_, [&] { choice_.Select(row); });
      }
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    bool same = list_->count() == choice_.Count();
    for (int i = 0; same && i < choice_.Count(); ++i)
      same = list_->item(i)->text() == ToQt(choice_.ItemText(i));
    if (!same) {
      list_->clear();
      // Wide enough for its longest entry (a history line, a model name), up to a limit the
      // screen-fitting of the window can still take in.
      const QFontMetrics metrics = list_->fontMetrics();
      int widest = metrics.averageCharWidth() * 30;
      for (const auto& item : choice_.Items()) {
        list_->addItem(ToQt(item.Text));
        widest = std::max(widest, metrics.horizontalAdvance(ToQt(item.Text)));
      }
      const int frame = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() +
                        metrics.averageCharWidth() * 2;
      list_->setMinimumWidth(std::min(widest + frame, metrics.averageCharWidth() * 90));
    }
    const int selected = choice_.SelectedIndex();
    list_->setCurrentRow(selected);
    if (selected < 0) list_->clearSelection();
  }

 private:
  ChoiceField& choice_;
  QListWidget* list_;
};

class CheckMirror : public FieldMirror {
 public:
  CheckMirror(CheckField& field, QWidget* parent)
      : FieldMirror(field, new QCheckBox(parent), false),
        check_(field),
        box_(static_cast<QCheckBox*>(Widget())) {
    QObject::connect(box_, &QCheckBox::clicked, this, [this](bool checked) {
      Run(check_, [&] { check_.SetChecked(checked); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    box_->setText(LiteralCaption(check_.Caption()));
    box_->setChecked(check_.Checked());
  }

 private:
  CheckField& check_;
  QCheckBox* box_;
};

// The field keeps its group exclusive, so the buttons are not grouped by Qt: two groups on
// one page stay apart, and a click on the selected option cannot clear it.
class OptionMirror : public FieldMirror {
 public:
  OptionMirror(OptionField& field, QWidget* parent)
      : FieldMirror(field, new QRadioButton(parent), false),
        option_(field),
        button_(static_cast<QRadioButton*>(Widget())) {
    button_->setAutoExclusive(false);
    QObject::connect(button_, &QRadioButton::clicked, this, [this] {
      Run(option_, [&] { option_.Select(); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    button_->setText(LiteralCaption(option_.Caption()));
    button_->setChecked(option_.Selected());
  }

 private:
  OptionField& option_;
  QRadioButton* button_;
};

class DateMirror : public FieldMirror {
 public:
  DateMirror(DateField& field, QWidget* parent)
      : FieldMirror(field, new QDateEdit(parent), true),
        date_(field),
        edit_(static_cast<QDateEdit*>(Widget())) {
    edit_->setCalendarPopup(true);
    // Year first: no bench reads 03/04 two ways.
    edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit_->setMinimumDate(QDate(1899, 12, 30));
    QObject::connect(edit_, &QDateEdit::dateChanged, this, [this](QDate value) {
      if (value.isValid())
        Run(date_, [&] { date_.SetValue(Date(value.year(), value.month(), value.day())); });
      Refresh();
    });
  }

 protected:
  void RefreshValue() override {
    const Date& value = date_.Value();
    edit_->setDate(QDate(value.Year(), value.Month(), value.Day()));
  }

 private:
  DateField& date_;
  QDateEdit* edit_;
};

class LabelMirror : public FieldMirror {
 public:
  LabelMirror(LabelField& field, QWidget* parent)
      : FieldMirror(field, new QLabel(parent), false), label_(static_cast<QLabel*>(Widget())) {
    label_->setTextFormat(Qt::PlainText);
    // A "lin" label without text is one of the windows' separator lines.
    if (field.Name().rfind("lin", 0) == 0 && field.Caption().empty()) {
      label_->setFrameShape(QFrame::HLine);
      label_->setFrameShadow(QFrame::Sunken);
      label_->setFixedHeight(label_->fontMetrics().height() / 2);
      SetExpanding(true);
    }
  }

 protected:
  void RefreshValue() override { label_->setText(ToQt(MirroredField().Caption())); }

 private:
  QLabel* label_;
};

class CommandMirror : public FieldMirror {
 public:
  CommandMirror(CommandField& field, QWidget* parent)
      : FieldMirror(field, new QPushButton(parent), false),
        command_(field),
        button_(static_cast<QPushButton*>(Widget())) {
    // Return in a text box must not press some button of the window behind the user's back.
    button_->setAutoDefault(false);
    button_->setMinimumWidth(button_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 6);
    QObject::connect(button_, &QPushButton::clicked, this,
                     [this] { Run(command_, [&] { command_.Press(); }); });
  }

 protected:
  void RefreshValue() override { button_->setText(LiteralCaption(command_.Caption())); }

 private:
  CommandField& command_;
  QPushButton* button_;
};

}  // namespace

FieldMirror::FieldMirror(Field& field, QWidget* widget, bool withCaption, bool expanding)
    : QObject(widget), field_(field), widget_(widget), expanding_(expanding) {
  widget_->setObjectName(ToQt(field.Name()));
  if (field.Prominent) {
    QFont font = widget_->font();
    font.setPointSizeF(font.pointSizeF() * 2);
    font.setBold(true);
    widget_->setFont(font);
  }
  if (withCaption) {
    caption_ = new QLabel(widget_->parentWidget());
    caption_->setObjectName(ToQt(field.Name() + "Caption"));
    caption_->setBuddy(widget_);
  }
  widget_->installEventFilter(this);
  QPointer<FieldMirror> self(this);
  field.StateChanged.Connect([self] {
    if (self) self->Refresh();
  });
  field.FocusRequested.Connect([self] {
    if (!self) return;
    QWidget* w = self->widget_;
    w->setFocus(Qt::OtherFocusReason);
    // The logic may ask before the page with the field is on show; try again once it is.
    if (!w->isVisible()) {
      QTimer::singleShot(0, w, [w] {
        if (w->isVisible()) w->setFocus(Qt::OtherFocusReason);
      });
    }
  });
}

void FieldMirror::SetActionRunner(ActionRunner runner) {
  Runner() = std::move(runner);
}

void FieldMirror::Run(const std::string& userAction, const std::function<void()>& call) {
  if (Runner())
    Runner()(userAction, call);
  else
    call();
}

void FieldMirror::Run(const Field& field, const std::function<void()>& call) {
  Run(UserAction(field), call);
}

FieldMirror* FieldMirror::Create(Field& field, QWidget* parent) {
  FieldMirror* mirror = nullptr;
  switch (field.Kind()) {
    case FieldKind::Text: {
      auto& text = static_cast<TextField&>(field);
      if (text.MultiLine)
        mirror = new MultiLineTextMirror(text, parent);
      else
        mirror = new TextMirror(text, parent);
      break;
    }
    case FieldKind::Choice:
      mirror = new ChoiceMirror(static_cast<ChoiceField&>(field), parent);
      break;
    case FieldKind::List:
      mirror = new ListMirror(static_cast<ChoiceField&>(field), parent);
      break;
    case FieldKind::Check:
      mirror = new CheckMirror(static_cast<CheckField&>(field), parent);
      break;
    case FieldKind::Option:
      mirror = new OptionMirror(static_cast<OptionField&>(field), parent);
      break;
    case FieldKind::Date:
      mirror = new DateMirror(static_cast<DateField&>(field), parent);
      break;
    case FieldKind::Label:
      mirror = new LabelMirror(static_cast<LabelField&>(field), parent);
      break;
    case FieldKind::Command:
      mirror = new CommandMirror(static_cast<CommandField&>(field), parent);
      break;
  }
  mirror->Refresh();
  return mirror;
}

void FieldMirror::Refresh() {
  widget_->setHidden(!field_.Visible());
  widget_->setEnabled(field_.Enabled());
  if (caption_ != nullptr) {
    caption_->setText(LiteralCaption(field_.Caption()));
    caption_->setHidden(!field_.Visible() || field_.Caption().empty());
    caption_->setEnabled(field_.Enabled());
  }
  const QSignalBlocker blocker(widget_);
  RefreshValue();
}

bool FieldMirror::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && event->type() == QEvent::FocusOut) {
    // Another window coming to the front (a message box of the field's own reaction) or a
    // drop-down opening is not the user leaving the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      Run(field_, [&] { field_.Leave(); });
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tallisk::qt
