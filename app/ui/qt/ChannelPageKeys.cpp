#include "ui/qt/ChannelPageKeys.h"

#include <QApplication>
#include <QLineEdit>
#include <QShortcut>

namespace tallisk::qt {

void AddChannelPageKeys(FormView& view, frmMain& form) {
  QWidget* page = view.PageWidget(5);
  const Page* fields = form.PageAt(5);
  if (page == nullptr || fields == nullptr) return;

  // The field being typed in is left first, as a click on the command would leave it, so a
  // frequency is checked and kept before the page moves to another channel.
  auto step = [&view, fields, page](CommandField& command) {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && page->isAncestorOf(focus)) {
      for (const PageRow& row : fields->Rows)
        for (Field* field : row.Fields)
          if (const FieldMirror* mirror = view.MirrorOf(*field);
              mirror != nullptr && mirror->Widget() == focus)
            FieldMirror::Run(*field, [field] { field->Leave(); });
    }
    FieldMirror::Run(command, [&command] { command.Press(); });
  };
  const std::pair<Qt::Key, CommandField*> keys[] = {{Qt::Key_PageDown, &form.btnChannelUp},
                                                    {Qt::Key_PageUp, &form.btnChannelDown}};
  for (const auto& [key, command] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), page);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, page,
                     [step, command = command] { step(*command); });
  }

  for (TextField* frequency : {&form.ReceiveChannelFreq, &form.txtTransmitChannelFreq}) {
    const FieldMirror* mirror = view.MirrorOf(*frequency);
    if (auto* edit = mirror != nullptr ? qobject_cast<QLineEdit*>(mirror->Widget()) : nullptr)
      QObject::connect(edit, &QLineEdit::returnPressed, edit, [frequency] {
        FieldMirror::Run(*frequency, [frequency] { frequency->Leave(); });
      });
  }
}

}  // namespace tallisk::qt
