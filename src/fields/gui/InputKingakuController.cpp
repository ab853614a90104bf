#include "fields/gui/InputKingakuController.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace kivo {
namespace {

int amountFieldWidth()
{
  return QFontMetrics(QLineEdit().font()).horizontalAdvance(QStringLiteral("99,999,999,999.99")) + 24;
}

}  // namespace

InputKingakuController::InputKingakuController(int32_t decimalPrecision, QWidget* parent)
    : InputPanelController(
          tr("金額"), amountFieldWidth(), Qt::AlignRight | Qt::AlignVCenter,
          {QString::fromUtf8(AmountFormatter::kInvalidMessage), QString::fromUtf8(AmountFormatter::kNegativeMessage),
           QString::fromUtf8(AmountFormatter::kOverLimitMessage)},
          parent),
      formatter_(decimalPrecision, AmountFormatter::Range::Input)
{
  setWindowTitle(tr("金額"));
}

}  // namespace kivo
