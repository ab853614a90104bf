// The closing balances of a term as the next term's opening balances, for the
// carry-forward (繰越処理).
//
// compute() posts the journal exactly as the trial balance does
// (ZandakaShisanPeriodSums, every registered entry, inactive accounts and divisions
// included) and returns, per balance-sheet account, sub-account and division, the
// balance the next term opens with: the closing balance for an account carried as
// it stands, the period result moved into the equity accounts for the others.
// Nothing is written into the document.
//
// The period result of a division is V = closing balance of the profit carried
// forward (P) - closing balance of the loss carried forward (S) + the income
// statement's net result, for a corporation; a sole proprietor's (and a household
// book's) capital W becomes net result + W + owner's contributions - owner's
// drawings, which two open the next term at 0. With divisions each division code
// that holds balances (inactive ones and entries without a division too) gets its
// own figures and the company figure (99) is their sum; without divisions only the
// company figure is carried.
//
// A result is refused, and carries no balances, when a balance carried as it stands
// is negative or beyond the input limit, when an equity figure is, or when the chart
// lacks an equity account the rules need (or that account has sub-accounts in use,
// which the rules could not split).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/StartBalanceList.h"

namespace kivo {

class Kamoku;
class MyDocument;

class KurikoshiZandaka {
public:
  enum class Refusal { None, EndBalance, StartBalance, MissingKamoku };

  // A balance that cannot be carried: the account, the sub-account (-1 the account
  // itself) and the division (99 the company figure, -1 a book without divisions).
  struct InvalidZandaka {
    int32_t kamokuCode = -1;
    int32_t hojyoKamokuCode = -1;
    int32_t jigyoubuCode = -1;
    bool operator==(const InvalidZandaka&) const = default;
  };

  static constexpr const char* kEndBalanceMessage =
      "以下の勘定科目の終了残高が、負またはこのアプリケーションで扱える最大の金額より大きくなるため、"
      "繰越処理を実行できません。";
  static constexpr const char* kStartBalanceMessage =
      "以下の科目の翌期の開始残高が、負またはこのアプリケーションで扱える最大の金額より大きくなるため、"
      "繰越処理を実行できません。";
  static constexpr const char* kAllJigyoubuTitle = "すべての事業部";
  static constexpr const char* kHojyoKamokuTotalTitle = "補助科目の合計";

  // What compute() tells a window as it goes (each may be empty): the preparation
  // of the balances, the journal pass (entries walked of the total, from 0 and after
  // every fourth) and the finishing checks and rules.
  enum class Phase { Preparing, Posting, Finishing };
  struct Progress {
    std::function<void(Phase)> didStartPhase;
    std::function<void(size_t done, size_t total)> didPostShiwake;
  };

  static KurikoshiZandaka compute(const MyDocument& document, const Progress& progress = {});

  Refusal refusal() const { return refusal_; }
  bool isRefused() const { return refusal_ != Refusal::None; }
  // The sentence the window shows for a refusal.
  const std::string& message() const { return message_; }
  // The balances that cannot be carried (EndBalance, StartBalance), in chart order.
  const std::vector<InvalidZandaka>& invalidZandakaArray() const { return invalid_; }

  // The next term's opening balances; empty for an income or expense account, an
  // unknown code and a refused result.
  const StartBalanceList& startBalanceOfKamoku(int32_t kamokuCode) const;
  const StartBalanceList& startBalanceOfHojyoKamoku(int32_t kamokuCode, int32_t hojyoKamokuCode) const;

  // The income statement's net result (row ToukiSonekiRowCode) of a division (99 the
  // company) over the whole journal.
  static int64_t toukiSonekiOfJigyoubuCode(const MyDocument& document, int32_t jigyoubuCode);

  // A cell of the refusal table by column ("kamoku", "hojyoKamoku", "jigyoubu").
  static std::string cellText(const MyDocument& document, const InvalidZandaka& row, std::string_view column);

private:
  using Key = std::pair<int32_t, int32_t>;  // account code, sub-account code (-1 the account)
  Refusal refusal_ = Refusal::None;
  std::string message_;
  std::vector<InvalidZandaka> invalid_;
  std::map<Key, StartBalanceList> balances_;
};

}  // namespace kivo
