#include "journal/gui/PrintChoiceLayouts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "platform/QtStrings.h"

namespace kivo {

QGridLayout* PrintChoiceLayouts::makeChoiceLists(QWidget* parent, QWidget* unselected, QWidget* selected)
{
  auto* lists = new QGridLayout();
  lists->addWidget(new QLabel(qs("プリントしない"), parent), 0, 0);
  lists->addWidget(new QLabel(qs("プリントする（ここへドラッグ）"), parent), 0, 1);
  lists->addWidget(unselected, 1, 0);
  lists->addWidget(selected, 1, 1);
  return lists;
}

QHBoxLayout* PrintChoiceLayouts::makeMonthRange(QWidget* parent, QComboBox* from, QComboBox* to)
{
  auto* months = new QHBoxLayout();
  months->addWidget(new QLabel(qs("期間:"), parent));
  months->addWidget(from);
  months->addWidget(new QLabel(qs("〜"), parent));
  months->addWidget(to);
  months->addStretch();
  return months;
}

}  // namespace kivo
