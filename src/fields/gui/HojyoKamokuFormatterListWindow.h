// The sub-account picker of a sub-account field: the active sub-accounts of the
// field's parent account. Answers the chosen code, -1 when cancelled or when the
// field has no parent (no window opens then); the closing key stays in the formatter.
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>

#include "fields/gui/FormatterListWindow.h"
#include "model/Kamoku.h"

namespace kivo {

class HojyoKamokuFormatter;

class HojyoKamokuFormatterListWindow : public FormatterListWindow {
  Q_OBJECT
public:
  explicit HojyoKamokuFormatterListWindow(const Kamoku& parentKamoku, QWidget* parent = nullptr);

  static int32_t showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(HojyoKamokuFormatter& formatter,
                                                                              const QPoint& topLeftPoint,
                                                                              const QString& textFieldString,
                                                                              QWidget* parent = nullptr);
};

}  // namespace kivo
