#include "fields/gui/InputKingakuController.h"

#include <QFontMetrics>
#include <QLineEdit>

#include "document/MyDocument.h"

namespace kivo {
namespace {

int amountFieldWidth()
{
  return QFontMetrics(QLineEdit().font()).horizontalAdvance(QStringLiteral("99,999,999,999.99")) + 24;
}

}  // namespace

InputKingakuController::InputKingakuController(const MyDocument& document, QWidget* parent)
    : InputPanelController(tr("金額"), amountFieldWidth(), Qt::AlignRight | Qt::AlignVCenter, parent),
      document_(&document),
      formatter_(std::make_unique<AmountFormatter>(document.kaisya().decimalPrecision()))
{
  setWindowTitle(tr("金額"));
}

void InputKingakuController::prepareFormatter()
{
  const int32_t precision = document_->kaisya().decimalPrecision();
  if (formatter_->decimalPrecision() != precision) formatter_ = std::make_unique<AmountFormatter>(precision);
}

}  // namespace kivo
