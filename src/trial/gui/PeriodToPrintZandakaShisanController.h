// The sheet on the trial-balance window that chooses what a trial-balance printout
// covers, apart from what the window shows: a division (or the whole company, 99), a
// run of months of the term and which sections to print. One per document, made on
// first use with the whole company, the first month and 決算整理月; it keeps what the
// user left in it between uses. On OK the window computes the printout and prints.
//
// Months are chosen or typed as in the period sheet. The division row is left out
// while the document has no active division; the manufacturing box only stands for
// a manufacturer (titled 完成工事原価報告書 for a construction company). OK stands
// enabled only while some section is ticked.
#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/SheetController.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

class OpenDocument;
class JigyoubuFormatter;
class WindowController;

class PeriodToPrintZandakaShisanController : public SheetController {
  Q_OBJECT
public:
  explicit PeriodToPrintZandakaShisanController(OpenDocument* document, QWidget* parent = nullptr);
  ~PeriodToPrintZandakaShisanController() override;

  static PeriodToPrintZandakaShisanController* controllerOfDocument(OpenDocument* document);

  // Begins the sheet on the window; OK runs onOK.
  void beginSheetForWindow(WindowController* window, std::function<void()> onOK);
  void abortPeriodToPrintZandakaShisanWindow() { abortSheet(); }

  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  void setJigyoubuCode(int32_t v) { jigyoubuCode_ = v; }
  int32_t periodFromMonthArrayIndex() const { return periodFromMonthArrayIndex_; }
  int32_t periodToMonthArrayIndex() const { return periodToMonthArrayIndex_; }
  bool doPrintTaisyakuTaisyou() const { return doPrintTaisyakuTaisyou_; }
  bool doPrintSonekiKeisan() const { return doPrintSonekiKeisan_; }
  bool doPrintSeizouGenka() const { return doPrintSeizouGenka_; }

  QLineEdit* jigyoubuField() const { return jigyoubuField_; }
  QComboBox* monthFromComboBox() const { return monthFromComboBox_; }
  QComboBox* monthToComboBox() const { return monthToComboBox_; }
  QCheckBox* printTaisyakuTaisyouCheckbox() const { return printTaisyakuTaisyouCheckbox_; }
  QCheckBox* printSonekiKeisanCheckbox() const { return printSonekiKeisanCheckbox_; }
  QCheckBox* printSeizouGenkaCheckbox() const { return printSeizouGenkaCheckbox_; }
  QAbstractButton* okButton() const override;
  QPushButton* cancelButton() const { return cancelButton_; }

  void handleClickPrintCheckbox();
  void showJigyoubuFormatterListWindow();

protected:
  void storeChoice() override;

private:
  void updateUI();
  void showJigyoubuCode(int32_t code);

  QPointer<OpenDocument> document_;
  std::unique_ptr<JigyoubuFormatter> jigyoubuFormatter_;
  int32_t jigyoubuCode_ = 99;
  int32_t periodFromMonthArrayIndex_ = 0;
  int32_t periodToMonthArrayIndex_ = 0;
  bool doPrintTaisyakuTaisyou_ = true;
  bool doPrintSonekiKeisan_ = true;
  bool doPrintSeizouGenka_ = false;
  int32_t fieldJigyoubuCode_ = 99;

  QLabel* jigyoubuTitle_ = nullptr;
  QLineEdit* jigyoubuField_ = nullptr;
  QComboBox* monthFromComboBox_ = nullptr;
  QComboBox* monthToComboBox_ = nullptr;
  QCheckBox* printTaisyakuTaisyouCheckbox_ = nullptr;
  QCheckBox* printSonekiKeisanCheckbox_ = nullptr;
  QCheckBox* printSeizouGenkaCheckbox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace kivo
