#include "fields/gui/KamokuFormatterListWindow.h"

#include "fields/KamokuFormatter.h"

namespace kivo {

KamokuFormatterListWindow::KamokuFormatterListWindow(const std::vector<KamokuPtr>& accounts, bool withHojyoKamoku,
                                                     QWidget* parent)
    : FormatterListWindow(tr("勘定科目を選択"), FormatterList::kamokuList(accounts, withHojyoKamoku),
                          {{Column::Code, tr("コード")}, {Column::Name, tr("勘定科目")}, {Column::Kana, tr("カナ")}},
                          parent)
{
}

int32_t KamokuFormatterListWindow::run(KamokuFormatter& formatter, const std::vector<KamokuPtr>& accounts,
                                       bool withHojyoKamoku, const QPoint& topLeftPoint, const QString& textFieldString,
                                       QWidget* parent)
{
  KamokuFormatterListWindow window(accounts, withHojyoKamoku, parent);
  const int row = window.runModal(topLeftPoint, textFieldString);
  formatter.setStopFormatterListChar(window.stopChar());
  if (row < 0) {
    formatter.setSelectedHojyoKamokuCodeOfFormatterList(-1);
    return -1;
  }
  const FormatterList::Row& chosen = window.list().rows()[row];
  formatter.setSelectedHojyoKamokuCodeOfFormatterList(chosen.hojyoCode);
  return chosen.code;
}

int32_t KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
    KamokuFormatter& formatter, const QPoint& topLeftPoint, const QString& textFieldString, bool doShowHojyoKamoku,
    QWidget* parent)
{
  return run(formatter, formatter.codeSortedAcceptKamokuArray(), doShowHojyoKamoku, topLeftPoint, textFieldString,
             parent);
}

int32_t KamokuFormatterListWindow::showSuitouKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
    KamokuFormatter& formatter, const QPoint& topLeftPoint, const QString& textFieldString, QWidget* parent)
{
  return run(formatter, formatter.document().codeSortedSuitouKamokuArray(), true, topLeftPoint, textFieldString,
             parent);
}

}  // namespace kivo
