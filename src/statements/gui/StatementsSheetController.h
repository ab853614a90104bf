// What the two statements sheets (the Companies-Act 決算報告書 and the older form)
// share: a sheet of one document on its information window with a tab view whose
// first tab is the general settings (HoukokusyoGeneralTab), ページ設定..., キャンセル
// and プリント... below it; leaving a tab checks and stores it; OK prints the
// statements over the information window with the stored page setup ("Houkokusyo
// Print Info"). The tabs scroll, so that the whole sheet, its buttons included, fits
// a screen lower than it.
#pragma once

#include <QSize>
#include <functional>
#include <memory>

#include "platform/PrintOperation.h"
#include "platform/SheetController.h"

class QPageLayout;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace kivo {

class DocumentWindowController;
class HoukokusyoGeneralTab;
class OpenDocument;

class StatementsSheetController : public SheetController {
  Q_OBJECT
public:
  static constexpr int kGeneralTab = 0;

  // Fills the sheet and attaches it to the information window (unless it already is,
  // or another sheet there stays); OK prints over that window.
  void beginForWindow(DocumentWindowController* info);

  QTabWidget* tabView() const { return tabView_; }
  QPushButton* generalOkButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  explicit StatementsSheetController(OpenDocument* document);

  QAbstractButton* okButton() const override;
  // Below the tab view, the buttons: OK runs `ok`, キャンセル `cancel`.
  void addButtonsAndLayOut(const std::function<void()>& ok, const std::function<void()>& cancel, QSize size);

  // --- tabs
  // Leaving a tab: the general tab's fields must pass their checks.
  virtual bool shouldApplyTab(int tab);
  // Stores what the tab edits into the company record.
  virtual void applyTab(int tab) = 0;
  // Whether the tab may be shown at all.
  virtual bool canSelectTab(int tab) { return true; }
  // The tab was selected (after the one left was applied).
  virtual void didSelectTab(int tab) {}
  void tabChanged(int index);
  // The document changed.
  void markEdited();
  // Runs the computation of the statements while the progress indicator turns.
  void computeWithProgress(const std::function<void()>& compute);

  // --- the sheet's life
  // Before the sheet is attached: the controls are filled.
  virtual void willBeginSheet() = 0;
  // The sheet ended (OK or cancel), before printing.
  virtual void sheetDidEnd(int returnCode) {}
  // The printout of the computed statements, or nullptr (the user was told).
  virtual std::unique_ptr<Printout> makePrintView(const QPageLayout& layout) = 0;

  OpenDocument* document_;
  int currentTab_ = kGeneralTab;
  QTabWidget* tabView_ = nullptr;
  HoukokusyoGeneralTab* general_ = nullptr;
  QPushButton* pageSetupButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QProgressBar* progressIndicator_ = nullptr;

private:
  void printStatements(DocumentWindowController* info);
};

}  // namespace kivo
