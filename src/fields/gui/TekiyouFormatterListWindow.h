// The description picker of a description field: the descriptions under their
// groups, the groups named after the entry's accounts first. Answers the chosen
// description, nullptr when cancelled; the closing key stays in the formatter.
#pragma once

#include <QPoint>
#include <QString>
#include <vector>

#include "fields/gui/FormatterListWindow.h"
#include "model/TekiyouGroup.h"

namespace kivo {

class TekiyouFormatter;

class TekiyouFormatterListWindow : public FormatterListWindow {
  Q_OBJECT
public:
  explicit TekiyouFormatterListWindow(const std::vector<TekiyouGroupPtr>& searchOrderedGroups,
                                      QWidget* parent = nullptr);

  static TekiyouPtr showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(TekiyouFormatter& formatter,
                                                                             const QPoint& topLeftPoint,
                                                                             const QString& textFieldString,
                                                                             QWidget* parent = nullptr);
};

}  // namespace kivo
