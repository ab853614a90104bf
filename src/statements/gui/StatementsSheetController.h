// What the two statements sheets (the Companies-Act 決算報告書 and the older form)
// share: a sheet of one document on its information window with a tab view whose
// first tab is the general settings (HoukokusyoGeneralTab), ページ設定..., キャンセル
// and プリント... below it; leaving a tab checks and stores it; OK prints the
// statements over the information window with the stored page setup ("Houkokusyo
// Print Info"). The tabs scroll, so that the whole sheet, its buttons included, fits
// a screen lower than it.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

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
  // The tabs by the order they were added in (the sheet's own Tab numbers), whether
  // shown or not: the tab shown at an index of the tab view, or -1; the index of a
  // tab, or -1 while it is not shown; selecting a tab as a click on it would.
  int tabOfIndex(int index) const;
  int indexOfTab(int tab) const;
  void selectTab(int tab);
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
  // Shows or removes a tab that only some companies have, in its place among the
  // others.
  void setTabShown(int tab, bool shown);
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
  // The sheet became the key window again (back from another window, whose changes
  // its figures may have to follow).
  virtual void windowDidBecomeKey() {}
  void changeEvent(QEvent* event) override;

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

  // Each tab's page and title, by its Tab number.
  std::vector<std::pair<QWidget*, QString>> tabPages_;
};

}  // namespace kivo
