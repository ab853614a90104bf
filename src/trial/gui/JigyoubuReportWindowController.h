// A report window whose strip starts with the division shown (事業部), as the trial
// balances and the sub-account balance list have: the field is in use while the
// document has an active division (else hidden), shows the whole company (99) at
// first, and a letter or digit typed on it or its button opens the division picker.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "journal/gui/PeriodReportWindowController.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace kivo {

class JigyoubuFormatter;
class SheetController;

class JigyoubuReportWindowController : public PeriodReportWindowController {
  Q_OBJECT
public:
  static constexpr const char* kShowJigyoubuTitle = "表示する事業部...";

  ~JigyoubuReportWindowController() override;

  // --- what is shown: the setter only stores; the caller then asks updateUI.
  int32_t displayJigyoubuCode() const { return displayJigyoubuCode_; }
  void setDisplayJigyoubuCode(int32_t v) { displayJigyoubuCode_ = v; }

  // Shows the division's name (the whole company when the division went away).
  void setDisplayingJigyoubuFieldValue();
  QLineEdit* displayingJigyoubuField() const { return displayingJigyoubuField_; }
  // The picker below the field; a division chosen is shown at once.
  void showJigyoubuFormatterListWindowForDisplayingJigyoubuField(const QString& searchText = QString());

  QString windowTitleForDocumentDisplayName(const QString& displayName) const override;

protected:
  // What tells the window apart: its item in the Window menu (the title's suffix too),
  // its item in "伝票・帳票", and the user-defaults keys of its size.
  struct Names {
    const char* windowMenuTitle;
    const char* denpyouAndCyouhyouItemTitle;
    const char* widthDefaultsKey;
    const char* heightDefaultsKey;
  };
  JigyoubuReportWindowController(OpenDocument* document, Kind kind, const Names& names);

  QString windowMenuTitle() const override;
  QString denpyouAndCyouhyouItemTitle() const override;
  const char* windowWidthDefaultsKey() const override { return names_.widthDefaultsKey; }
  const char* windowHeightDefaultsKey() const override { return names_.heightDefaultsKey; }

  // The window's body: a strip on plain light grey (what is shown) above the content,
  // starting with the division's label, field (of the characters' width) and button.
  // The caller adds its own widgets to the strip and the content to the layout.
  struct Body {
    QWidget* central = nullptr;
    QVBoxLayout* layout = nullptr;
    QWidget* stripView = nullptr;
    QHBoxLayout* strip = nullptr;
  };
  Body makeBodyWithJigyoubuStrip(int jigyoubuFieldCharacters);
  // The field in use while the document has an active division (else hidden), showing
  // the whole company.
  void setUpJigyoubuField();
  // A letter or digit typed on the division field starts the picker's search when the
  // field would take it. Answers whether the field was the division field.
  bool typeOnJigyoubuField(QLineEdit* field, const QString& typed);
  void windowDidResignMain() override;
  // The window of the document holding a sheet of which refuses (the user is told
  // to close it first); nullptr when there is none.
  WindowController* refuseForSheet(const std::function<bool(const SheetController&)>& refuses);
  // Whether a sheet stops the picker (the user is told); by default the division
  // list's sheet does.
  virtual bool refusesToShowJigyoubuList();
  // A division was chosen; by default the window recomputes.
  virtual void didChooseJigyoubu();

  int32_t displayJigyoubuCode_ = 99;
  // The division field is in use: the document had an active division when the
  // window was built.
  bool jigyoubuFieldInUse_ = false;
  QLabel* displayingJigyoubuTitleField_ = nullptr;
  QLineEdit* displayingJigyoubuField_ = nullptr;
  QToolButton* selectDisplayingJigyoubuButton_ = nullptr;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;

private:
  Names names_;
};

}  // namespace kivo
