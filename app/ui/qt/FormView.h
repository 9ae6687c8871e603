#pragma once

// The widgets of a whole window: every page of the form laid out from its rows, one page on
// show at a time (the page the logic has made visible), the page's caption as its title,
// and the footer rows (a wizard's navigation strip) under the pages. A page larger than the
// window scrolls between the title and the footer, which stay in view.

#include <QLabel>
#include <QStackedWidget>
#include <QWidget>
#include <map>
#include <vector>

#include "ui/FormFields.h"
#include "ui/qt/FieldMirror.h"
#include "ui/qt/ScreenFit.h"

class QGridLayout;

namespace tallisk::qt {

class FormView : public QWidget {
 public:
  explicit FormView(Form& form, QWidget* parent = nullptr);

  Form& MirroredForm() const { return form_; }
  // The widget of a page, null when the form has no page of that index.
  QWidget* PageWidget(int index) const;
  QWidget* CurrentPageWidget() const;
  FieldMirror* MirrorOf(const Field& field) const;
  // Puts a widget of the front end's own into the field's row, right after the field's
  // widget. False when the field has no widget here.
  bool PlaceBeside(const Field& field, QWidget* widget);

  // Names the window that hosts this view after the form and keeps its title bar on the
  // form's title.
  void BindWindow(QWidget* window);

 private:
  void AddRows(QGridLayout* grid, const std::vector<PageRow>& rows);
  QWidget* BuildFooterRow(const PageRow& row);
  void AssignShortcuts();
  void ShowVisiblePage();

  Form& form_;
  QLabel* pageTitle_;
  QStackedWidget* stack_;
  std::map<const Page*, PageScrollArea*> pages_;
  std::map<const Field*, FieldMirror*> mirrors_;
  std::vector<FieldMirror*> order_;  // tab order: pages row by row, then the footer
};

}  // namespace tallisk::qt
