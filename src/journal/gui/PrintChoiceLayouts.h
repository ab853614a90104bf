// The rows the print sheets that choose several ledgers or accounts share: the two
// lists side by side under "プリントしない" and "プリントする（ここへドラッグ）", and
// the months "期間: from 〜 to".
#pragma once

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QWidget;

namespace kivo {

class PrintChoiceLayouts {
public:
  static QGridLayout* makeChoiceLists(QWidget* parent, QWidget* unselected, QWidget* selected);
  static QHBoxLayout* makeMonthRange(QWidget* parent, QComboBox* from, QComboBox* to);
};

}  // namespace kivo
