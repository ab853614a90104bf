// The books of one company for one term: the company record, the chart of accounts,
// divisions, descriptions, the journal and everything kept beside it, with the
// derived arrays and lookups the windows and builders read.
//
// This is the data side of the document and knows no Qt. Open windows are reached
// through DocumentWindow; the application side (undo, the change mark in titles)
// listens through DocumentHost.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/DocumentWindow.h"
#include "journal/ShiwakenikkiCondition.h"
#include "model/Bookmark.h"
#include "model/Date.h"
#include "model/HendouReason.h"
#include "model/Jigyoubu.h"
#include "model/Kaisya.h"
#include "model/KamokuKubun.h"
#include "model/Shiwake.h"
#include "model/SubMenuItemOfDenpyouAndCyouhyouMenuItem.h"
#include "model/TekiyouGroup.h"

namespace kivo {

// What the application side of a document provides to the data side.
class DocumentHost {
public:
  virtual ~DocumentHost() = default;
  virtual void documentEditedChanged(bool edited) = 0;
  virtual void removeAllUndoActions() = 0;
};

class MyDocument {
public:
  enum class ChangeType { Done, Undone, Cleared };

  MyDocument();

  // --- the one date order: 0 for the same day, the closing-adjustment month after
  // every real date, else calendar order. A null first date compares equal.
  static int compareDate(Date a, Date b);

  // --- contents
  Kaisya& kaisya() { return *kaisya_; }
  const Kaisya& kaisya() const { return *kaisya_; }
  std::shared_ptr<Kaisya> kaisyaPtr() const { return kaisya_; }
  void setKaisya(std::shared_ptr<Kaisya> k) { kaisya_ = std::move(k); }
  const KamokuKubunPtr& rootKamokuKubun() const { return rootKamokuKubun_; }
  void setRootKamokuKubun(KamokuKubunPtr root);
  std::vector<JigyoubuPtr>& jigyoubuArray() { return jigyoubuArray_; }
  const std::vector<JigyoubuPtr>& jigyoubuArray() const { return jigyoubuArray_; }
  void setJigyoubuArray(std::vector<JigyoubuPtr> a)
  {
    jigyoubuArray_ = std::move(a);
    ++reportDataGeneration_;
  }
  std::vector<TekiyouGroupPtr>& tekiyouGroupArray() { return tekiyouGroupArray_; }
  const std::vector<TekiyouGroupPtr>& tekiyouGroupArray() const { return tekiyouGroupArray_; }
  void setTekiyouGroupArray(std::vector<TekiyouGroupPtr> a) { tekiyouGroupArray_ = std::move(a); }
  std::vector<ShiwakePtr>& shiwakeArray() { return shiwakeArray_; }
  const std::vector<ShiwakePtr>& shiwakeArray() const { return shiwakeArray_; }
  std::vector<BookmarkPtr>& furikaedenpyouBookmarkArray() { return furikaedenpyouBookmarkArray_; }
  const std::vector<BookmarkPtr>& furikaedenpyouBookmarkArray() const { return furikaedenpyouBookmarkArray_; }
  std::vector<HendouReasonPtr>& hendouReasonArray() { return hendouReasonArray_; }
  const std::vector<HendouReasonPtr>& hendouReasonArray() const { return hendouReasonArray_; }
  std::vector<SubMenuItemPtr>& subMenuItemArray() { return subMenuItemArray_; }
  const std::vector<SubMenuItemPtr>& subMenuItemArray() const { return subMenuItemArray_; }
  void setSubMenuItemArray(std::vector<SubMenuItemPtr> a) { subMenuItemArray_ = std::move(a); }
  void sortSubMenuItemArrayByKeyEquivalent();
  // The stored asset register, kept as its archived bytes until the asset records
  // read it, so that opening and saving never drops it.
  const std::string& genkasyoukyakuShisanArrayData() const { return genkasyoukyakuShisanArrayData_; }
  void setGenkasyoukyakuShisanArrayData(std::string d) { genkasyoukyakuShisanArrayData_ = std::move(d); }

  // --- journal in date order
  const std::vector<ShiwakePtr>& sortedShiwakeArray() const { return sortedShiwakeArray_; }
  void setSortedShiwakeArray();
  bool didSortedShiwakeArrayUpdate() const { return didSortedShiwakeArrayUpdate_; }
  void setDidSortedShiwakeArrayUpdate(bool v) { didSortedShiwakeArrayUpdate_ = v; }
  void setDoNeedToCheckShiwakeArraySortedByDate(bool v) { doNeedToCheckShiwakeArraySortedByDate_ = v; }
  bool isShiwakeArraySortedByDate();
  void setIsShiwakeArraySortedByDate(bool v);
  void sortShiwakeArrayByDate();
  void insertFurikaedenpyouShiwake(const ShiwakePtr& shiwake);
  int numberOfShiwakeForDenpyouNo(int32_t denpyouNo) const;
  int numberOfShiwakeWhichHasKamokuCode(int32_t kamokuCode, int32_t hojyoKmoakuCode) const;

  // --- derived account arrays (rebuilt by setSortedKamokuArray)
  void setSortedKamokuArray();
  // Every account, active or not, by code: the builders read this one, so that an
  // account made inactive while it still holds amounts is never dropped.
  const std::vector<KamokuPtr>& codeSortedKamokuArray() const { return codeSortedKamokuArray_; }
  // The active accounts by code: what entry fields and pickers offer.
  const std::vector<KamokuPtr>& codeSortedActiveKamokuArray() const { return codeSortedActiveKamokuArray_; }
  const std::vector<KamokuPtr>& codeSortedSuitouKamokuArray() const { return codeSortedSuitouKamokuArray_; }
  const std::vector<KamokuPtr>& codeSortedGenkasyoukyakuShisanKamokuArray() const
  {
    return codeSortedGenkasyoukyakuShisanKamokuArray_;
  }
  const std::vector<KamokuPtr>& kabunushiShihonKamokuArray() const { return kabunushiShihonKamokuArray_; }
  bool doesHaveKamokuWhichHasActiveHojyoKamoku() const;
  bool doesHaveSuitouKamokuWhichHasActiveHojyoKamoku() const;
  // An account by its whole code (active or not); nullptr when none.
  KamokuPtr kamokuOfCode(int32_t code) const;

  // --- divisions and descriptions
  int numberOfActiveJigyoubu() const;
  JigyoubuPtr matchJigyoubuCode(const std::string& text) const;
  JigyoubuPtr jigyoubuForName(const std::string& name) const;
  TekiyouPtr matchTekiyouKana(const std::string& kana, const std::string& firstPrimeTekiyouGroupName,
                              const std::string& secondPrimeTekiyouGroupName) const;
  TekiyouGroupPtr othersTekiyouGroup() const;

  // --- bookmarks and change reasons
  bool removeFurikaedenpyouBookmarkOfDenpyouNo(int32_t denpyouNo);
  void updateHendouReasonArray();
  bool doNeedUpdateHendouReasonArray() const { return doNeedUpdateHendouReasonArray_; }
  void setDoNeedUpdateHendouReasonArray(bool v) { doNeedUpdateHendouReasonArray_ = v; }
  // The reason lists' own generation count: it advances on every change of the
  // journal or of the accounts (makeAllOutputWindowDisplayArrayVoid,
  // setSortedKamokuArray) and on every change of the reasons, which their editor
  // reports with hendouReasonArrayDidChange. updateHendouReasonArray rebuilds the
  // lists whenever they were made at an older count, whether or not the sorted
  // journal has been brought up to date meanwhile.
  uint64_t hendouReasonGeneration() const { return hendouReasonGeneration_; }
  void hendouReasonArrayDidChange() { ++hendouReasonGeneration_; }
  bool isHendouReasonArrayCurrent() const
  {
    return hendouReasonArrayGeneration_ == hendouReasonGeneration_ && !doNeedUpdateHendouReasonArray_;
  }
  static constexpr const char* kNoReason = "no reason";
  static constexpr const char* kTouki = "当期純損益";
  static constexpr const char* kKabunushiShihonIgai = "株主資本以外の項目の当期変動額(純額)";

  // --- periods of the last report computations and the refresh protocol
  Date zandakaShisanFromDate() const { return zandakaShisanFromDate_; }
  void setZandakaShisanFromDate(Date d) { zandakaShisanFromDate_ = d; }
  Date zandakaShisanToDate() const { return zandakaShisanToDate_; }
  void setZandakaShisanToDate(Date d) { zandakaShisanToDate_ = d; }
  Date houkokusyoFromDate() const { return houkokusyoFromDate_; }
  void setHoukokusyoFromDate(Date d) { houkokusyoFromDate_ = d; }
  Date houkokusyoToDate() const { return houkokusyoToDate_; }
  void setHoukokusyoToDate(Date d) { houkokusyoToDate_ = d; }
  bool doNeedUpdateSuiiShisanData() const { return doNeedUpdateSuiiShisanData_; }
  void setDoNeedUpdateSuiiShisanData(bool v) { doNeedUpdateSuiiShisanData_ = v; }
  // Voids the periods the report caches were computed for, so they recompute.
  void makeAllOutputWindowDisplayArrayVoid();
  // Advances on every change that can alter a report's sums: the journal (through
  // makeAllOutputWindowDisplayArrayVoid), the accounts (setSortedKamokuArray) and the
  // divisions. A cache of sums remembers the count it was made at and is stale once
  // the count has moved on.
  uint64_t reportDataGeneration() const { return reportDataGeneration_; }
  // The fixed order after any change of the journal: change count, undo cleared
  // when asked, sorted copy stale, caches void, output windows told.
  void shiwakeArrayDidChange(bool removeAllUndoActions);

  // --- change count
  void updateChangeCount(ChangeType type);
  bool isDocumentEdited() const { return changeCount_ != 0; }
  void setHost(DocumentHost* host) { host_ = host; }

  // --- windows
  const std::vector<DocumentWindow*>& windows() const { return windows_; }
  void addWindow(DocumentWindow* w) { windows_.push_back(w); }
  void removeWindow(DocumentWindow* w);
  DocumentWindow* firstWindowOfKind(DocumentWindow::Kind kind) const;
  void updateAllOutputWindowControllersUI();
  // Refreshes the output windows that marked themselves stale. It forces their
  // update through the argument; the stored auto-update setting is never touched.
  void updateAllOutputWindowControllersUIIfNeedUpdate(bool autoUpdateAllOutputWindows);
  void updateAllWindowControllersUI();

  // Set after opening with the limited-user password.
  bool wasOpenedByLimitedUserPassword() const { return wasOpenedByLimitedUserPassword_; }
  void setWasOpenedByLimitedUserPassword(bool v) { wasOpenedByLimitedUserPassword_ = v; }

  // The journal window's display condition: one per document, every stage off at
  // first, kept while the document is open and never written to the file.
  ShiwakenikkiCondition& shiwakenikkiCondition() { return shiwakenikkiCondition_; }
  const ShiwakenikkiCondition& shiwakenikkiCondition() const { return shiwakenikkiCondition_; }

private:
  std::shared_ptr<Kaisya> kaisya_;
  KamokuKubunPtr rootKamokuKubun_;
  std::vector<JigyoubuPtr> jigyoubuArray_;
  std::vector<TekiyouGroupPtr> tekiyouGroupArray_;
  std::vector<ShiwakePtr> shiwakeArray_;
  std::vector<BookmarkPtr> furikaedenpyouBookmarkArray_;
  std::vector<HendouReasonPtr> hendouReasonArray_;
  std::vector<SubMenuItemPtr> subMenuItemArray_;
  std::string genkasyoukyakuShisanArrayData_;

  std::vector<ShiwakePtr> sortedShiwakeArray_;
  bool didSortedShiwakeArrayUpdate_ = false;
  bool doNeedToCheckShiwakeArraySortedByDate_ = true;
  bool isShiwakeArraySortedByDate_ = true;

  std::vector<KamokuPtr> codeSortedKamokuArray_;
  std::vector<KamokuPtr> codeSortedActiveKamokuArray_;
  std::vector<KamokuPtr> codeSortedSuitouKamokuArray_;
  std::vector<KamokuPtr> codeSortedGenkasyoukyakuShisanKamokuArray_;
  std::vector<KamokuPtr> kabunushiShihonKamokuArray_;

  bool doNeedUpdateHendouReasonArray_ = true;
  uint64_t hendouReasonGeneration_ = 1;
  uint64_t hendouReasonArrayGeneration_ = 0;  // the count the lists were last built at
  Date zandakaShisanFromDate_;
  Date zandakaShisanToDate_;
  Date houkokusyoFromDate_;
  Date houkokusyoToDate_;
  bool doNeedUpdateSuiiShisanData_ = true;
  uint64_t reportDataGeneration_ = 0;

  int changeCount_ = 0;
  DocumentHost* host_ = nullptr;
  std::vector<DocumentWindow*> windows_;
  bool wasOpenedByLimitedUserPassword_ = false;
  ShiwakenikkiCondition shiwakenikkiCondition_;
};

}  // namespace kivo
