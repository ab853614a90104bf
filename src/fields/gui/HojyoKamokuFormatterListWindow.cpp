#include "fields/gui/HojyoKamokuFormatterListWindow.h"

#include "fields/HojyoKamokuFormatter.h"
#include "fields/StopChar.h"

namespace kivo {

HojyoKamokuFormatterListWindow::HojyoKamokuFormatterListWindow(const Kamoku& parentKamoku, QWidget* parent)
    : FormatterListWindow(tr("補助科目を選択 (%1)").arg(QString::fromStdString(parentKamoku.name())),
                          FormatterList::hojyoKamokuList(parentKamoku),
                          {{Column::Code, tr("コード")}, {Column::Name, tr("補助科目")}, {Column::Kana, tr("カナ")}},
                          parent)
{
}

int32_t HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
    HojyoKamokuFormatter& formatter, const QPoint& topLeftPoint, const QString& textFieldString, QWidget* parent)
{
  if (!formatter.parentKamoku()) {
    formatter.setStopFormatterListChar(StopChar::kNone);
    return -1;
  }
  HojyoKamokuFormatterListWindow window(*formatter.parentKamoku(), parent);
  const int row = window.runModal(topLeftPoint, textFieldString);
  formatter.setStopFormatterListChar(window.stopChar());
  return row < 0 ? -1 : window.list().rows()[row].code;
}

}  // namespace kivo
