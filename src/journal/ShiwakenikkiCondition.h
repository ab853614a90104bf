// The journal window's display condition: up to six independent stages (date,
// voucher number, accounts, divisions, amount, description) that an entry must pass
// to be listed. Each open document has one (OpenDocument), created with every
// stage off and never written to the document file; the condition sheet edits it
// and the journal window runs displayShiwakeArrayOfDocument with it on every
// refresh. The marks of the marked mode are kept here too.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "journal/ShiwakenikkiSubCondition.h"
#include "model/Date.h"
#include "model/Shiwake.h"

namespace kivo {

class MyDocument;

class ShiwakenikkiCondition {
public:
  // What the journal window's status line shows while the filter runs.
  static constexpr const char* kSearchingStateString = "条件と一致する仕訳を検索中...";

  // Stage states: 0 off; for date and voucher number 1 keeps the entries inside the
  // range and any other value those outside; for accounts and divisions 1 keeps an
  // entry matching at least one item (OR), any other value one matching every item
  // (AND); for the amount 1 keeps amounts inside the range and any other value keeps
  // nothing; for the description see the tekiyou states below.
  static constexpr int32_t kStateOff = 0;
  static constexpr int32_t kStateInside = 1;
  static constexpr int32_t kStateOr = 1;
  static constexpr int32_t kTekiyouContains = 1;
  static constexpr int32_t kTekiyouBeginsWith = 2;
  static constexpr int32_t kTekiyouEndsWith = 3;  // any other non-zero value: equals

  ShiwakenikkiCondition() = default;

  // --- date: a null dateFrom means the first day of the term, a null dateTo the
  // closing-adjustment month (after every real date)
  int32_t dateConditionState() const { return dateConditionState_; }
  void setDateConditionState(int32_t v) { dateConditionState_ = v; }
  Date dateFrom() const { return dateFrom_; }
  void setDateFrom(Date v) { dateFrom_ = v; }
  Date dateTo() const { return dateTo_; }
  void setDateTo(Date v) { dateTo_ = v; }

  // --- voucher number: a negative bound means 1 (from) or 99999 (to)
  int32_t denpyouNoConditionState() const { return denpyouNoConditionState_; }
  void setDenpyouNoConditionState(int32_t v) { denpyouNoConditionState_ = v; }
  int32_t denpyouNoFrom() const { return denpyouNoFrom_; }
  void setDenpyouNoFrom(int32_t v) { denpyouNoFrom_ = v; }
  int32_t denpyouNoTo() const { return denpyouNoTo_; }
  void setDenpyouNoTo(int32_t v) { denpyouNoTo_ = v; }

  // --- accounts and divisions: the item lists are changed in place
  int32_t kamokuConditionState() const { return kamokuConditionState_; }
  void setKamokuConditionState(int32_t v) { kamokuConditionState_ = v; }
  std::vector<ShiwakenikkiSubCondition>& kamokuConditionArray() { return kamokuConditionArray_; }
  const std::vector<ShiwakenikkiSubCondition>& kamokuConditionArray() const { return kamokuConditionArray_; }
  int32_t jigyoubuConditionState() const { return jigyoubuConditionState_; }
  void setJigyoubuConditionState(int32_t v) { jigyoubuConditionState_ = v; }
  std::vector<ShiwakenikkiSubCondition>& jigyoubuConditionArray() { return jigyoubuConditionArray_; }
  const std::vector<ShiwakenikkiSubCondition>& jigyoubuConditionArray() const { return jigyoubuConditionArray_; }

  // --- amount, in stored units: a negative bound means 0 (from) or the company's
  // input limit (to)
  int32_t kingakuConditionState() const { return kingakuConditionState_; }
  void setKingakuConditionState(int32_t v) { kingakuConditionState_ = v; }
  int64_t kingakuFrom() const { return kingakuFrom_; }
  void setKingakuFrom(int64_t v) { kingakuFrom_ = v; }
  int64_t kingakuTo() const { return kingakuTo_; }
  void setKingakuTo(int64_t v) { kingakuTo_ = v; }

  // --- description text (UTF-8); empty means none
  int32_t tekiyouConditionState() const { return tekiyouConditionState_; }
  void setTekiyouConditionState(int32_t v) { tekiyouConditionState_ = v; }
  const std::string& tekiyou() const { return tekiyou_; }
  void setTekiyou(const std::string& v) { tekiyou_ = v; }
  bool doCaseInsensitiveSearch() const { return doCaseInsensitiveSearch_; }
  void setDoCaseInsensitiveSearch(bool v) { doCaseInsensitiveSearch_ = v; }

  // --- item tests
  // The entry carries the item's account (and its sub-account unless the item's is
  // -1) on a side the item allows.
  static bool isShiwakeMatchKamokuCondition(const Shiwake& shiwake, const ShiwakenikkiSubCondition& item);
  // The entry carries the item's division on a side the item allows.
  static bool isShiwakeMatchJigyoubuCondition(const Shiwake& shiwake, const ShiwakenikkiSubCondition& item);

  // --- the filter
  struct DisplayResult {
    // The entries that passed, in date order.
    std::vector<ShiwakePtr> displayShiwakeArray;
    // The registered entries (numbered above 0) the stages started from.
    int totalCount = 0;
    // "%d 個中 %d 個の仕訳が条件に一致しました。"
    std::string stateString() const;
  };
  // Takes the entries of the document's date-sorted journal
  // numbered above 0 and keeps, in marked mode, those marked for the journal
  // (setMarked), otherwise those passing every stage that is on, the
  // stages taken in the order date, number, accounts, divisions, amount, description.
  // A division stage on a document without active divisions is switched off here,
  // its items removed. tick is called at every tenth entry of each stage's walk, for
  // the window's progress indicator.
  DisplayResult displayShiwakeArrayOfDocument(const MyDocument& document, bool doDisplayMarkedShiwakes,
                                              const std::function<void()>& tick = {});

  // --- marks for the marked mode: kept here, never on the entries
  void setMarked(const ShiwakePtr& shiwake, bool marked);
  bool isMarked(const Shiwake& shiwake) const { return marked_.count(&shiwake) != 0; }

private:
  // Keyed by address; the value keeps the entry alive so that its address is never
  // reused by another while it is marked.
  std::unordered_map<const Shiwake*, ShiwakePtr> marked_;
  int32_t dateConditionState_ = 0;
  Date dateFrom_;
  Date dateTo_;
  int32_t denpyouNoConditionState_ = 0;
  int32_t denpyouNoFrom_ = -1;
  int32_t denpyouNoTo_ = -1;
  int32_t kamokuConditionState_ = 0;
  std::vector<ShiwakenikkiSubCondition> kamokuConditionArray_;
  int32_t jigyoubuConditionState_ = 0;
  std::vector<ShiwakenikkiSubCondition> jigyoubuConditionArray_;
  int32_t kingakuConditionState_ = 0;
  int64_t kingakuFrom_ = -1;
  int64_t kingakuTo_ = -1;
  int32_t tekiyouConditionState_ = 0;
  std::string tekiyou_;
  bool doCaseInsensitiveSearch_ = true;
};

}  // namespace kivo
