#include "ui/qt/FormView.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <set>

#include "ui/qt/QtText.h"

namespace tallisk::qt {

namespace {

QLabel* BoldLabel(const std::string& text, QWidget* parent, qreal scale = 1.0) {
  auto* label = new QLabel(ToQt(text), parent);
  label->setTextFormat(Qt::PlainText);
  QFont font = label->font();
  font.setBold(true);
  if (scale != 1.0) font.setPointSizeF(font.pointSizeF() * scale);
  label->setFont(font);
  return label;
}

// A heading belongs to its row: it goes when every field of the row is hidden (the
// alternate-prescaler questions carry their explanation this way).
void FollowRowVisibility(QLabel* heading, const std::vector<Field*>& fields) {
  QPointer<QLabel> guard(heading);
  auto update = [guard, fields] {
    if (!guard) return;
    bool any = false;
    for (const Field* f : fields) any = any || f->Visible();
    guard->setHidden(!any);
  };
  for (Field* f : fields) f->StateChanged.Connect(update);
  update();
}

char AcceleratorOf(const std::string& caption) {
  for (unsigned char c : caption)
    if (std::isalnum(c)) return static_cast<char>(std::toupper(c));
  return '\0';
}

}  // namespace

FormView::FormView(Form& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName(QStringLiteral("formView"));
  auto* outer = new QVBoxLayout(this);

  pageTitle_ = BoldLabel({}, this, 1.3);
  pageTitle_->setObjectName(QStringLiteral("pageTitle"));
  // In a large font the longest captions are wider than a small screen.
  pageTitle_->setWordWrap(true);
  outer->addWidget(pageTitle_);

  stack_ = new QStackedWidget(this);
  outer->addWidget(stack_, 1);
  QPointer<FormView> self(this);
  for (auto& page : form.Pages()) {
    auto* widget = new QWidget;
    widget->setObjectName(QStringLiteral("page%1").arg(page->Index));
    auto* grid = new QGridLayout(widget);
    grid->setColumnStretch(1, 1);
    AddRows(grid, page->Rows);
    grid->setRowStretch(grid->rowCount(), 1);
    auto* area = new PageScrollArea(widget);
    stack_->addWidget(area);
    pages_[page.get()] = area;
    page->StateChanged.Connect([self] {
      if (self) self->ShowVisiblePage();
    });
  }

  if (!form.Footer.empty()) {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);
    for (const PageRow& row : form.Footer) outer->addWidget(BuildFooterRow(row));
  }

  AssignShortcuts();
  QWidget* previous = nullptr;
  for (FieldMirror* mirror : order_) {
    QWidget* w = mirror->Widget();
    if (w->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, w);
    previous = w;
  }
  ShowVisiblePage();
}

void FormView::AddRows(QGridLayout* grid, const std::vector<PageRow>& rows) {
  QWidget* page = grid->parentWidget();
  // Commands that have a row to themselves form a column of equal buttons.
  std::vector<QWidget*> commandColumn;
  int r = 0;
  for (const PageRow& row : rows) {
    if (!row.Heading.empty()) {
      QLabel* heading = BoldLabel(row.Heading, page);
      grid->addWidget(heading, r++, 0, 1, 2);
      FollowRowVisibility(heading, row.Fields);
    }
    if (row.Fields.empty()) continue;

    // A row is a label column and a widget column: the first field's caption (or a label
    // field that introduces the others) on the left, the fields side by side on the right.
    auto* line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    bool expanding = false;
    bool spanning = row.Fields.size() == 1 && row.Fields[0]->Kind() == FieldKind::Label;
    for (std::size_t i = 0; i < row.Fields.size(); ++i) {
      Field& field = *row.Fields[i];
      FieldMirror* mirror = FieldMirror::Create(field, page);
      mirrors_[&field] = mirror;
      order_.push_back(mirror);
      // A text with a row to itself (a warning, a status) takes the row's width and folds
      // its lines there rather than widen the window past a small screen.
      if (spanning) static_cast<QLabel*>(mirror->Widget())->setWordWrap(true);
      const bool expands = mirror->Expanding() || spanning;
      if (i == 0 && !spanning && field.Kind() == FieldKind::Label) {
        grid->addWidget(mirror->Widget(), r, 0);
        continue;
      }
      if (QLabel* caption = mirror->CaptionLabel()) {
        if (i == 0)
          grid->addWidget(caption, r, 0);
        else
          line->addWidget(caption);
      }
      line->addWidget(mirror->Widget(), expands ? 1 : 0);
      expanding = expanding || expands;
    }
    if (row.Fields.size() == 1 && row.Fields[0]->Kind() == FieldKind::Command)
      commandColumn.push_back(mirrors_.at(row.Fields[0])->Widget());
    if (!expanding) line->addStretch(1);
    if (spanning)
      grid->addLayout(line, r, 0, 1, 2);
    else
      grid->addLayout(line, r, 1);
    ++r;
  }
  int widest = 0;
  for (QWidget* button : commandColumn) widest = std::max(widest, button->sizeHint().width());
  for (QWidget* button : commandColumn) button->setMinimumWidth(widest);
}

QWidget* FormView::BuildFooterRow(const PageRow& row) {
  auto* strip = new QWidget(this);
  auto* line = new QHBoxLayout(strip);
  line->setContentsMargins(0, 0, 0, 0);
  if (!row.Heading.empty()) {
    QLabel* heading = BoldLabel(row.Heading, strip);
    line->addWidget(heading);
    FollowRowVisibility(heading, row.Fields);
  }
  line->addStretch(1);
  for (Field* field : row.Fields) {
    FieldMirror* mirror = FieldMirror::Create(*field, strip);
    mirrors_[field] = mirror;
    order_.push_back(mirror);
    if (QLabel* caption = mirror->CaptionLabel()) line->addWidget(caption);
    line->addWidget(mirror->Widget());
  }
  return strip;
}

// Alt and the first letter of a command's caption presses it (Alt+N Next, Alt+B Back,
// Alt+F Finish), the captions themselves unchanged. The footer's commands come first; on each
// page a letter already taken there or earlier on the page is left alone. A command on a page
// that is not on show cannot be reached, so pages may reuse each other's letters.
void FormView::AssignShortcuts() {
  auto assign = [this](Field* field, std::set<char>& used) {
    if (field->Kind() != FieldKind::Command) return;
    const char letter = AcceleratorOf(field->Caption());
    if (letter == '\0' || !used.insert(letter).second) return;
    auto* button = static_cast<QPushButton*>(mirrors_.at(field)->Widget());
    const QKeySequence keys(QStringLiteral("Alt+%1").arg(QLatin1Char(letter)));
    button->setShortcut(keys);
    button->setToolTip(keys.toString(QKeySequence::NativeText));
  };
  std::set<char> footer;
  for (const PageRow& row : form_.Footer)
    for (Field* field : row.Fields) assign(field, footer);
  for (auto& page : form_.Pages()) {
    std::set<char> used = footer;
    for (const PageRow& row : page->Rows)
      for (Field* field : row.Fields) assign(field, used);
  }
}

void FormView::ShowVisiblePage() {
  const auto& pages = form_.Pages();
  const Page* shown = nullptr;
  if (pages.size() == 1) {
    shown = pages.front().get();
  } else {
    for (const auto& page : pages)
      if (page->Visible()) {
        shown = page.get();
        break;
      }
  }
  // While the logic moves from one page to the next, for a moment none is visible; the old
  // page stays until the new one is shown.
  if (shown == nullptr) return;
  stack_->setCurrentWidget(pages_.at(shown));
  // A window of one page is a plain dialog: its title bar says it all.
  const bool titled = pages.size() > 1 && !shown->Caption.empty();
  pageTitle_->setText(ToQt(shown->Caption));
  pageTitle_->setHidden(!titled);
}

void FormView::BindWindow(QWidget* window) {
  window->setObjectName(ToQt(form_.ObjectName()));
  window->setWindowTitle(ToQt(form_.Title()));
  QPointer<QWidget> guard(window);
  form_.StateChanged.Connect([guard, form = &form_] {
    if (guard) guard->setWindowTitle(ToQt(form->Title()));
  });
}

QWidget* FormView::PageWidget(int index) const {
  const Page* page = form_.PageAt(index);
  return page == nullptr ? nullptr : pages_.at(page)->widget();
}

QWidget* FormView::CurrentPageWidget() const {
  auto* area = static_cast<QScrollArea*>(stack_->currentWidget());
  return area == nullptr ? nullptr : area->widget();
}

FieldMirror* FormView::MirrorOf(const Field& field) const {
  auto it = mirrors_.find(&field);
  return it == mirrors_.end() ? nullptr : it->second;
}

bool FormView::PlaceBeside(const Field& field, QWidget* widget) {
  FieldMirror* mirror = MirrorOf(field);
  if (mirror == nullptr) return false;
  QWidget* beside = mirror->Widget();
  QWidget* holder = beside->parentWidget();
  // Each row of a page is a line of its own inside the page's grid (the footer strip's line
  // is the strip's own layout).
  std::vector<QLayout*> layouts{holder->layout()};
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    if (layouts[i] == nullptr) continue;
    if (auto* line = qobject_cast<QBoxLayout*>(layouts[i])) {
      if (const int at = line->indexOf(beside); at >= 0) {
        widget->setParent(holder);
        line->insertWidget(at + 1, widget);
        return true;
      }
    }
    for (int j = 0; j < layouts[i]->count(); ++j)
      if (QLayout* inner = layouts[i]->itemAt(j)->layout()) layouts.push_back(inner);
  }
  return false;
}

}  // namespace tallisk::qt
