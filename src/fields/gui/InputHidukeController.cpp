#include "fields/gui/InputHidukeController.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace kivo {
namespace {

int dateFieldWidth() { return QFontMetrics(QLineEdit().font()).horizontalAdvance(QStringLiteral("00/00")) * 2 + 24; }

}  // namespace

InputHidukeController::InputHidukeController(const MyDocument& document, QWidget* parent)
    : InputPanelController(tr("日付 (月/日)"), dateFieldWidth(), Qt::AlignLeft | Qt::AlignVCenter,
                           {QString::fromUtf8(HidukeFormatter::kInvalidDateMessage),
                            QString::fromUtf8(HidukeFormatter::kOutOfTermMessage)},
                           parent),
      formatter_(document, true)
{
  setWindowTitle(tr("日付"));
  textField()->setPlaceholderText(QStringLiteral("04/01"));
}

}  // namespace kivo
