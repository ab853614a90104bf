// The account list as the account-list sheet edits it: a working copy of every
// account's editable fields (name, kana, active, cash book and its shortcut digit,
// opening balances per division) and of its sub-accounts, kept apart from the
// document until the sheet closes with OK and the copy passes its checks.
//
// The category tree itself is not edited; rows are the accounts in the tree's order.
// Every edit answers an empty string when it is taken, else the sentence that says
// why it is refused (and nothing changes).
//
// Opening balances: without active divisions the company figure (division 99) is
// typed. With active divisions each division's figure is typed and the company
// figure is kept equal to their sum. Balances are held only by balance-sheet accounts
// (income and expense accounts start every term at nothing).
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/HojyoKamoku.h"
#include "model/Kamoku.h"
#include "model/StartBalanceList.h"

namespace kivo {

class KamokuKubun;
class MyDocument;

class KamokuListEditor {
public:
  struct HojyoRow {
    HojyoKamokuPtr original;  // nullptr: added in this sheet
    int32_t code = -1;
    std::string name;
    std::string kana;
    bool isActive = true;
    int32_t keyEquivalent = -1;  // 1 to 9, -1 none
    StartBalanceList startBalance;
  };
  struct KamokuRow {
    KamokuPtr original;
    std::string name;
    std::string kana;
    bool isActive = false;
    bool isSuitouKamoku = false;
    int32_t keyEquivalent = -1;
    StartBalanceList startBalance;
    std::vector<HojyoRow> hojyo;
  };
  // The first offending row of the checks on OK: an account and, when the fault is a
  // sub-account's, the sub-account.
  struct Refusal {
    std::string message;
    int kamokuIndex = -1;
    int hojyoIndex = -1;
    bool isRefused() const { return !message.empty(); }
  };
  // Opening balances of the whole company, debit-natured accounts against credit-
  // natured ones. Most reports need the two to be equal. The sums saturate at the
  // int64_t range (a file may hold any balance), and a saturated sum balances nothing.
  struct TaisyakuTotal {
    int64_t karikata = 0;
    int64_t kashikata = 0;
    bool isBalanced() const { return karikata == kashikata && karikata != INT64_MAX && karikata != INT64_MIN; }
    // Debit less credit, saturated too.
    int64_t difference() const;
  };

  static constexpr int32_t kAllJigyoubu = 99;
  static constexpr int kMaxKanaLength = 24;
  static constexpr int32_t kMaxHojyoKamokuCode = 99;
  static constexpr const char* kInvalidTitle = "無効な勘定科目";
  static constexpr const char* kKanaMessage = "カナは、半角英数字24文字以内で入力してください。";
  static constexpr const char* kKeyEquivalentMessage =
      "出納帳のショートカットには、1から9までの数字を入力してください。";
  static constexpr const char* kHojyoKamokuFullMessage = "この勘定科目には、これ以上補助科目を追加できません。";
  static constexpr const char* kNegativeBalanceMessage = "マイナスの金額は入力できません。";
  static constexpr const char* kOverLimitMessage = "入力できる金額の上限を超えています。";

  explicit KamokuListEditor(const MyDocument& document);

  const MyDocument& document() const { return *document_; }
  const KamokuKubun& root() const;
  int kamokuCount() const { return static_cast<int>(rows_.size()); }
  const KamokuRow& row(int k) const { return rows_.at(k); }
  // The row of an account of the document's tree, -1 when none.
  int indexOfKamoku(const Kamoku* kamoku) const;
  int indexOfKamokuCode(int32_t code) const;
  // The codes of the active divisions, in the document's order.
  const std::vector<int32_t>& activeJigyoubuCodes() const { return activeJigyoubuCodes_; }
  bool hasActiveJigyoubu() const { return !activeJigyoubuCodes_.empty(); }

  // --- accounts
  std::string setName(int k, const std::string& name);
  std::string setKana(int k, const std::string& kana);
  // Refused for an account that entries use or that holds an opening balance: the
  // reports would drop its amounts and stop balancing.
  std::string setIsActive(int k, bool active);
  std::string setIsSuitouKamoku(int k, bool suitou);
  // Empty text: no shortcut; else one digit 1 to 9.
  std::string setKeyEquivalent(int k, const std::string& text);

  // --- opening balances
  // Whether the account's (or its sub-account's) figure for the division can be typed:
  // an active balance-sheet account; the company figure only without active
  // divisions; a division only with them.
  bool canEditStartBalance(int k, int32_t jigyoubuCode) const;
  std::string setStartBalance(int k, int32_t jigyoubuCode, int64_t balance);
  std::string setHojyoStartBalance(int k, int h, int32_t jigyoubuCode, int64_t balance);

  // --- sub-accounts
  // Appends a sub-account with the lowest free code (from 01); -1 when all are used.
  int addHojyoKamoku(int k);
  // Changing the code of a sub-account that entries use would leave them pointing at
  // another or at none: refused.
  std::string setHojyoCode(int k, int h, int32_t code);
  std::string setHojyoName(int k, int h, const std::string& name);
  std::string setHojyoKana(int k, int h, const std::string& kana);
  std::string setHojyoIsActive(int k, int h, bool active);
  std::string setHojyoKeyEquivalent(int k, int h, const std::string& text);
  // Moves the sub-account at `from` to `to` (indexes in the account's list).
  bool moveHojyoKamoku(int k, int from, int to);

  // --- checks and writing back
  // Names unique among active accounts, sub-account names and codes unique within
  // their account, each account's opening balance equal to the sum of its
  // sub-accounts' where it has any, no inactive record holding a balance, cash-book
  // shortcuts used once. The first fault in row order.
  Refusal validate() const;
  // Writes the copy into the document's records (the same objects, so that windows
  // holding them keep them); sub-accounts added here become new records.
  void writeBack(MyDocument& document) const;

  TaisyakuTotal startBalanceTaisyakuTotal() const;
  static TaisyakuTotal startBalanceTaisyakuTotalOfDocument(const MyDocument& document);

  // Kana as stored: full-width letters and digits made ASCII, letters upper case;
  // nullopt-like empty result with ok=false when it is not letters and digits.
  static bool normalizeKana(const std::string& typed, std::string& kana);
  // Whether an account of the type keeps an opening balance.
  static bool isTaisyakuKamoku(const Kamoku& kamoku) { return (kamoku.type() & Kamoku::kTypeF) != 0; }

private:
  std::string jigyoubuLabel(int32_t jigyoubuCode) const;
  std::string kamokuLabel(int k) const;
  std::string hojyoLabel(int k, int h) const;
  bool isKamokuUsed(int k) const;
  bool isHojyoUsed(int k, int32_t code) const;
  std::string refuseKeyEquivalent(const std::string& text, int32_t& digit) const;
  std::string storeBalance(StartBalanceList& list, int k, int32_t jigyoubuCode, int64_t balance) const;

  const MyDocument* document_;
  std::vector<KamokuRow> rows_;
  std::vector<int32_t> activeJigyoubuCodes_;
  std::set<int32_t> usedKamokuCodes_;
  std::set<std::pair<int32_t, int32_t>> usedHojyoCodes_;
};

}  // namespace kivo
