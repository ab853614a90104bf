#include "fields/gui/JigyoubuFormatterListWindow.h"

#include "fields/JigyoubuFormatter.h"

namespace kivo {

JigyoubuFormatterListWindow::JigyoubuFormatterListWindow(const MyDocument& document, bool withAllJigyoubu,
                                                         QWidget* parent)
    : FormatterListWindow(tr("事業部を選択"), FormatterList::jigyoubuList(document, withAllJigyoubu),
                          {{Column::Code, tr("コード")}, {Column::Name, tr("事業部")}, {Column::Kana, tr("カナ")}},
                          parent)
{
}

int32_t JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(
    JigyoubuFormatter& formatter, const QPoint& topLeftPoint, const QString& textFieldString, QWidget* parent)
{
  JigyoubuFormatterListWindow window(formatter.document(), formatter.doAcceptAllJigyoubu(), parent);
  const int row = window.runModal(topLeftPoint, textFieldString);
  formatter.setStopFormatterListChar(window.stopChar());
  return row < 0 ? -1 : window.list().rows()[row].code;
}

}  // namespace kivo
