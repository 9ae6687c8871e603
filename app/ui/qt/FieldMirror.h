#pragma once

// One form field's widget, kept in step with the field both ways: what the user does to the
// widget becomes the same call a test makes on the field, and every state change of the
// field (value, items, caption, visible, enabled) is drawn into the widget with the widget's
// own signals blocked, so a refresh never reads as a user's edit.

#include <QLabel>
#include <QObject>
#include <QWidget>
#include <functional>
#include <string>

#include "ui/FormFields.h"

namespace tallisk::qt {

class FieldMirror : public QObject {
 public:
  // Builds the widget for the field's kind under `parent`, named after the field. The mirror
  // lives as long as the widget; the field may outlive both.
  static FieldMirror* Create(Field& field, QWidget* parent);

  Field& MirroredField() const { return field_; }
  QWidget* Widget() const { return widget_; }
  // The label beside a text, choice, list or date field; null for kinds whose caption is the
  // widget's own text.
  QLabel* CaptionLabel() const { return caption_; }
  // Lists, multi-line texts and separator lines take whatever width the row has.
  bool Expanding() const { return expanding_; }

  void Refresh();

  // Every call a widget event makes into a window's logic goes through the runner the
  // program installs (the main window's rescue), with what the user did in words
  // (ui/UserAction.h): a failure unwinding into Qt's event loop would end the program and
  // lose the programming in memory. Without a runner the call is made as it is.
  using ActionRunner = std::function<void(const std::string&, const std::function<void()>&)>;
  static void SetActionRunner(ActionRunner runner);
  static void Run(const std::string& userAction, const std::function<void()>& call);
  static void Run(const Field& field, const std::function<void()>& call);

 protected:
  FieldMirror(Field& field, QWidget* widget, bool withCaption, bool expanding = false);
  virtual void RefreshValue() = 0;
  void SetExpanding(bool expanding) { expanding_ = expanding; }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Field& field_;
  QWidget* widget_;
  QLabel* caption_ = nullptr;
  bool expanding_;
};

}  // namespace tallisk::qt
