// The account pickers of an account field: the accounts the field accepts (with
// their active sub-accounts when asked), the cash accounts with their sub-accounts,
// the accounts that have active sub-accounts, and the depreciable-asset accounts.
// Each answers the chosen account code, -1 when cancelled, and leaves in the field's
// formatter the key that closed it and the sub-account chosen with the account (-1
// when an account row itself was chosen).
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <vector>

#include "fields/gui/FormatterListWindow.h"
#include "model/Kamoku.h"

namespace kivo {

class KamokuFormatter;

class KamokuFormatterListWindow : public FormatterListWindow {
  Q_OBJECT
public:
  KamokuFormatterListWindow(const std::vector<KamokuPtr>& accounts, bool withHojyoKamoku, QWidget* parent = nullptr);

  static int32_t showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(KamokuFormatter& formatter,
                                                                         const QPoint& topLeftPoint,
                                                                         const QString& textFieldString,
                                                                         bool doShowHojyoKamoku,
                                                                         QWidget* parent = nullptr);
  static int32_t showSuitouKamokuFormatterListWindowTextFieldFrameTopLeftPoint(KamokuFormatter& formatter,
                                                                               const QPoint& topLeftPoint,
                                                                               const QString& textFieldString,
                                                                               QWidget* parent = nullptr);

private:
  static int32_t run(KamokuFormatter& formatter, const std::vector<KamokuPtr>& accounts, bool withHojyoKamoku,
                     const QPoint& topLeftPoint, const QString& textFieldString, QWidget* parent);
};

}  // namespace kivo
