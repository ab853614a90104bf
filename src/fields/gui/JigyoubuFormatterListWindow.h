// The division picker of a division field: the active divisions, and "すべての事業部"
// (99) when the field accepts it. Answers the chosen code, -1 when cancelled; the
// closing key stays in the formatter.
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>

#include "fields/gui/FormatterListWindow.h"

namespace kivo {

class JigyoubuFormatter;
class MyDocument;

class JigyoubuFormatterListWindow : public FormatterListWindow {
  Q_OBJECT
public:
  JigyoubuFormatterListWindow(const MyDocument& document, bool withAllJigyoubu, QWidget* parent = nullptr);

  static int32_t showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(JigyoubuFormatter& formatter,
                                                                           const QPoint& topLeftPoint,
                                                                           const QString& textFieldString,
                                                                           QWidget* parent = nullptr);
};

}  // namespace kivo
