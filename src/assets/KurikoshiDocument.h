// The next term's document of a carry-forward (繰越処理), made from the closing
// term's document and its closing balances (KurikoshiZandaka).
//
// The new document is a deep copy of the old one (company record, chart,
// divisions, descriptions, menu items, assets) with: the company record set to the
// new term (term number or year, months, era form, voucher numbers from 1, not yet
// carried forward, made by a carry-forward, the statements' period and cover on the
// new term, a period ending at the closing-adjustment month still ending there); the
// carried balances as every account's and sub-account's opening balances (income
// and expense accounts open at 0); only the regular-type vouchers in the journal,
// with their bookmarks; every asset, removed ones too, rolled forward into the new
// term; no reasons for changes in net assets. The old document is only read.
#pragma once

#include <cstdint>
#include <memory>

#include "setup/TermSettings.h"

namespace kivo {

class Kaisya;
class KurikoshiZandaka;
class MyDocument;

class KurikoshiDocument {
public:
  // The window's first values for the next term: the old company's name and kind,
  // the term after the old one (from the day after its last month, one year long but
  // ending by 9999/12/31),
  // the term number plus one for a corporation, the start's year for a sole
  // proprietor (as the window would show it; the window fills that in).
  static TermSettings defaultTermSettings(const Kaisya& kaisya);

  // Whether a next term can start after the closing one: none after a term that ends on
  // the last day the document file holds (9999/12/31).
  static bool hasNextTerm(const Kaisya& kaisya);
  static constexpr const char* kNoNextTermMessage =
      "翌期の会計期間が 9999年12月31日を超えるため、繰越処理を実行できません。";

  // The next term's document, for settings that passed TermSettings::check() and a
  // result that was not refused. doUseWareki: the era form the date fields showed;
  // roundingType: the depreciation rounding (SyoukyakuKikan::RoundingType).
  static std::unique_ptr<MyDocument> make(const MyDocument& old, const KurikoshiZandaka& zandaka,
                                          const TermSettings& term, bool doUseWareki, int32_t roundingType);
};

}  // namespace kivo
