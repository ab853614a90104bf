#include "fields/gui/TekiyouFormatterListWindow.h"

#include "fields/TekiyouFormatter.h"

namespace kivo {

TekiyouFormatterListWindow::TekiyouFormatterListWindow(const std::vector<TekiyouGroupPtr>& searchOrderedGroups,
                                                       QWidget* parent)
    : FormatterListWindow(tr("摘要を選択"), FormatterList::tekiyouList(searchOrderedGroups),
                          {{Column::Name, tr("摘要")}, {Column::Kana, tr("カナ")}}, parent)
{
}

TekiyouPtr TekiyouFormatterListWindow::showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(
    TekiyouFormatter& formatter, const QPoint& topLeftPoint, const QString& textFieldString, QWidget* parent)
{
  TekiyouFormatterListWindow window(formatter.searchOrderedTekiyouGroupArray(), parent);
  const int row = window.runModal(topLeftPoint, textFieldString);
  formatter.setStopFormatterListChar(window.stopChar());
  return row < 0 ? nullptr : window.list().rows()[row].tekiyou;
}

}  // namespace kivo
