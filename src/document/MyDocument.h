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
#include "document/Journal.h"
#include "model/Bookmark.h"
#include "model/Date.h"
#include "model/GenkasyoukyakuShisan.h"
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

  // --- contents
  Kaisya& kaisya() { return *kaisya_; }
  const Kaisya& kaisya() const { return *kaisya_; }
  void setKaisya(std::shared_ptr<Kaisya> k) { kaisya_ = std::move(k); }
  const KamokuKubunPtr& rootKamokuKubun() const { return rootKamokuKubun_; }
  // The accounts the chart's category of this name holds itself, active or not, in
  // its order; none when the chart has no such category.
  std::vector<const Kamoku*> kamokuOfKubunName(const std::string& kubunName) const;
  void setRootKamokuKubun(KamokuKubunPtr root);
  std::vector<JigyoubuPtr>& jigyoubuArray() { return jigyoubuArray_; }
  const std::vector<JigyoubuPtr>& jigyoubuArray() const { return jigyoubuArray_; }
  void setJigyoubuArray(std::vector<JigyoubuPtr> a)
  {
    jigyoubuArray_ = std::move(a);
    ++masterDataGeneration_;
  }
  std::vector<TekiyouGroupPtr>& tekiyouGroupArray() { return tekiyouGroupArray_; }
  const std::vector<TekiyouGroupPtr>& tekiyouGroupArray() const { return tekiyouGroupArray_; }
  void setTekiyouGroupArray(std::vector<TekiyouGroupPtr> a) { tekiyouGroupArray_ = std::move(a); }
  // The journal: changed only through its own members, which keep its order, its
  // date-sorted view and its generation.
  Journal& journal() { return journal_; }
  const Journal& journal() const { return journal_; }
  std::vector<BookmarkPtr>& furikaedenpyouBookmarkArray() { return furikaedenpyouBookmarkArray_; }
  const std::vector<BookmarkPtr>& furikaedenpyouBookmarkArray() const { return furikaedenpyouBookmarkArray_; }
  std::vector<HendouReasonPtr>& hendouReasonArray() { return hendouReasonArray_; }
  const std::vector<HendouReasonPtr>& hendouReasonArray() const { return hendouReasonArray_; }
  std::vector<SubMenuItemPtr>& subMenuItemArray() { return subMenuItemArray_; }
  const std::vector<SubMenuItemPtr>& subMenuItemArray() const { return subMenuItemArray_; }
  void setSubMenuItemArray(std::vector<SubMenuItemPtr> a) { subMenuItemArray_ = std::move(a); }
  void sortSubMenuItemArrayByKeyEquivalent();
  // The depreciable assets in register order.
  std::vector<GenkasyoukyakuShisanPtr>& genkasyoukyakuShisanArray() { return genkasyoukyakuShisanArray_; }
  const std::vector<GenkasyoukyakuShisanPtr>& genkasyoukyakuShisanArray() const { return genkasyoukyakuShisanArray_; }
  void setGenkasyoukyakuShisanArray(std::vector<GenkasyoukyakuShisanPtr> a)
  {
    genkasyoukyakuShisanArray_ = std::move(a);
  }

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
  bool doesHaveKamokuWhichHasActiveHojyoKamoku() const;
  bool doesHaveSuitouKamokuWhichHasActiveHojyoKamoku() const;
  // An account by its whole code (active or not); nullptr when none.
  KamokuPtr kamokuOfCode(int32_t code) const;

  // --- divisions and descriptions
  int numberOfActiveJigyoubu() const;
  JigyoubuPtr matchJigyoubuCode(const std::string& text) const;
  TekiyouPtr matchTekiyouKana(const std::string& kana, const std::string& firstPrimeTekiyouGroupName,
                              const std::string& secondPrimeTekiyouGroupName) const;
  TekiyouGroupPtr othersTekiyouGroup() const;

  // --- bookmarks
  bool removeFurikaedenpyouBookmarkOfDenpyouNo(int32_t denpyouNo);

  // --- change reasons of net assets
  // Gives every entry on an equity account its reason ("no reason" when it has none)
  // and lists the entries under their reasons, in date order. The three standing
  // reasons are made when there are none. A reason renamed since the last rebuild
  // carries its entries to the new name.
  void updateHendouReasonArray();
  // The reason lists' generation: it advances on every change of the journal or of
  // the master data and on every change of the reasons, which their editor reports
  // with hendouReasonArrayDidChange. The lists are current while they were made at
  // the present count.
  uint64_t hendouReasonGeneration() const { return journal_.generation() + masterDataGeneration_ + hendouReasonEdits_; }
  void hendouReasonArrayDidChange() { ++hendouReasonEdits_; }
  bool isHendouReasonArrayCurrent() const { return hendouReasonArrayGeneration_ == hendouReasonGeneration(); }
  static constexpr const char* kNoReason = "no reason";
  static constexpr const char* kTouki = "当期純損益";
  static constexpr const char* kKabunushiShihonIgai = "株主資本以外の項目の当期変動額(純額)";

  // --- the generations that void report caches
  // A cache of report sums remembers the generation it was made at and is stale once
  // it has moved on: the journal's (every change of an entry) and the master data's
  // (the accounts through setSortedKamokuArray, the divisions, and
  // makeAllOutputWindowDisplayArrayVoid).
  struct DataGeneration {
    uint64_t journal = 0;
    uint64_t masterData = 0;
    bool operator==(const DataGeneration&) const = default;
  };
  DataGeneration reportDataGeneration() const { return {journal_.generation(), masterDataGeneration_}; }
  // Voids every report cache made so far (a change of the master data).
  void makeAllOutputWindowDisplayArrayVoid() { ++masterDataGeneration_; }

  // --- the refresh protocol
  // The fixed order after any change of the journal: change count, undo cleared
  // when asked, output windows told.
  void shiwakeArrayDidChange(bool removeAllUndoActions);
  // Tells the open windows that the journal changed under these accounts (each a
  // pair of account and sub-account code), except the window that made the change.
  void journalDidChangeAccounts(const ChangedAccounts& accounts, const DocumentWindow* except = nullptr);

  // --- change count
  void updateChangeCount(ChangeType type);
  bool isDocumentEdited() const { return changeCount_ != 0; }
  void setHost(DocumentHost* host) { host_ = host; }

  // --- windows
  const std::vector<DocumentWindow*>& windows() const { return windows_; }
  void addWindow(DocumentWindow* w) { windows_.push_back(w); }
  void removeWindow(DocumentWindow* w);
  void updateAllOutputWindowControllersUI();
  // Refreshes the output windows that marked themselves stale. It forces their
  // update through the argument; the stored auto-update setting is never touched.
  void updateAllOutputWindowControllersUIIfNeedUpdate(bool autoUpdateAllOutputWindows);
  void updateAllWindowControllersUI();

  // Set after opening with the limited-user password.
  bool wasOpenedByLimitedUserPassword() const { return wasOpenedByLimitedUserPassword_; }
  void setWasOpenedByLimitedUserPassword(bool v) { wasOpenedByLimitedUserPassword_ = v; }

private:
  std::shared_ptr<Kaisya> kaisya_;
  KamokuKubunPtr rootKamokuKubun_;
  std::vector<JigyoubuPtr> jigyoubuArray_;
  std::vector<TekiyouGroupPtr> tekiyouGroupArray_;
  Journal journal_;
  std::vector<BookmarkPtr> furikaedenpyouBookmarkArray_;
  std::vector<HendouReasonPtr> hendouReasonArray_;
  std::vector<SubMenuItemPtr> subMenuItemArray_;
  std::vector<GenkasyoukyakuShisanPtr> genkasyoukyakuShisanArray_;

  std::vector<KamokuPtr> codeSortedKamokuArray_;
  std::vector<KamokuPtr> codeSortedActiveKamokuArray_;
  std::vector<KamokuPtr> codeSortedSuitouKamokuArray_;
  std::vector<KamokuPtr> codeSortedGenkasyoukyakuShisanKamokuArray_;

  uint64_t masterDataGeneration_ = 0;
  uint64_t hendouReasonEdits_ = 0;
  uint64_t hendouReasonArrayGeneration_ = 0;  // the count the lists were last built at

  int changeCount_ = 0;
  DocumentHost* host_ = nullptr;
  std::vector<DocumentWindow*> windows_;
  bool wasOpenedByLimitedUserPassword_ = false;
};

}  // namespace kivo
