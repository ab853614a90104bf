// The depreciation the tax law gives a fixed asset for a term, and the amounts
// derived from it: the rates of the term, the charge, the opening and closing book
// values, the decrease of the term, the residual and limit amounts, the guarantee
// amount, and the roll-forward into the next term that the carry-forward applies.
//
// A computed charge of -1 means it cannot be computed (cost or acquisition date
// missing, a useful life outside 1 to 100, an unknown method). Every computation but
// the roll-forward only reads the asset: showing or printing an asset never changes
// it. The base of the final equal-instalment phase is worked out afresh each time
// until the roll-forward fixes it from the closing term's figures. Every amount is
// safe from overflow for an asset whose values are in range
// (GenkasyoukyakuShisan::hasValuesInRange), however many decreases it has: their
// sums stop one beyond the output limit.
//
//   SyoukyakuKikan kikan(document.kaisya(), roundingType);
//   int32_t kaitei = -1;
//   int64_t charge = ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(asset, kikan, &kaitei);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assets/SyoukyakuKikan.h"
#include "assets/SyoukyakuRitsuTable.h"
#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class ShisanSyoukyaku {
public:
  // The table whose rates apply: the older one, or the newer rule's table of the
  // acquisition date.
  static const SyoukyakuRitsuTable& ritsuTable(const GenkasyoukyakuShisan& asset);

  // --- rates of the term, per thousand
  // The newer tables' rate for 定額法 and 定率法, scaled to the months of the term and
  // rounded up to a whole per-thousand; -1 for another method or a refused life, 0
  // when the table has no rate for the life.
  static int32_t syoukyakuRitsuPerThousand20070401ForKaisya(const GenkasyoukyakuShisan& asset,
                                                            const SyoukyakuKikan& kikan);
  // The revised rate of 定率法, scaled like the rate; -1 for other methods.
  static int32_t kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(const GenkasyoukyakuShisan& asset,
                                                                  const SyoukyakuKikan& kikan);
  // The guarantee rate per hundred thousand of 定率法 (never scaled); -1 when none.
  static int32_t hosyouRitsuPerHundredThousand(const GenkasyoukyakuShisan& asset);
  // The rate of the term the charge uses, for either rule; -1 when there is none.
  static int32_t syoukyakuRitsuPerThousandForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);

  // --- the charge of the term and the amounts derived from it
  // The charge the law gives for the term; -1 when it cannot be computed. When the
  // revised rate of the newer rule's declining balance was used, it is stored
  // through kaiteiSyoukyakuRitsuPerThousand (left alone otherwise).
  static int64_t sansyutuSyoukyakuhiForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan,
                                              int32_t* kaiteiSyoukyakuRitsuPerThousand = nullptr);
  // Months of use in the term (u): from the month of acquisition or of the term's
  // start, to the month of removal or of the term's end; 0 when the asset was not
  // held in the term.
  static int32_t numberOfSyoukyakuMonthForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // Opening book value; -1 for an asset acquired in the term (or later).
  static int64_t kisyuCyoubokagakuForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static int64_t zanzonKagaku(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static int64_t zanzonGendoGaku(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // Closing book value: opening book value (or cost) less the decrease and the
  // charges of the term, so that the register foots.
  static int64_t kimatsuCyoubokagakuForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // The part of the term's charges taken into expenses (the business-use share).
  static int64_t keihisannyuugaku(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // Cost × guarantee rate; -1 when the asset has no guarantee rate.
  static int64_t hosyouGaku(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // Decrease of the term: the decreases dated in it, or, for an asset removed in
  // the term, its whole book value less the term's charges.
  static int64_t toukiGensyougakuForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // The methods whose ordinary charge is the computed charge and cannot be entered
  // (均等償却, 即時償却, 一括償却).
  static bool isFutsuuSyoukyakuhiFixed(const std::string& syoukyakuTypeStr);
  // The ordinary charge the program sets: the computed charge, held to what the term
  // leaves for it once its decreases and other charges (increased, extra and special)
  // are taken, so that no rounding of it takes the book value below 0; never below 0.
  // (The computed charge keeps on its own what the asset's rule keeps.) -1 when the
  // charge cannot be computed.
  static int64_t futsuuSyoukyakuhiOfProgram(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // The ordinary charge the asset takes from the amount the user entered, the computed
  // charge and the program's charge (futsuuSyoukyakuhiOfProgram): the program's charge
  // when nothing (or a negative amount) was entered, when the asset's method fixes the
  // charge, or when more than the computed charge was entered; else the amount
  // entered.
  static int64_t futsuuSyoukyakuhiOfEntered(const GenkasyoukyakuShisan& asset, std::optional<int64_t> entered,
                                            int64_t sansyutsuSyoukyakuhi, int64_t ofProgram);
  // The ordinary charge the asset takes in the term, by the rule above from the charge
  // the user entered (enteredFutsuuSyoukyakuhi): the figure the register shows,
  // prints and carries forward, whether or not the asset was edited since its
  // computed charge fell (a decrease, another rounding). The stored charge as it is
  // when the charge cannot be computed.
  static int64_t futsuuSyoukyakuhiForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // The ordinary charge the user entered for the asset, which stays what it is while
  // the figures change, only ever held down to the computed charge where it is used:
  // none when the asset holds none, when the program set it (it then follows the
  // computed charge, up as well as down) or when the asset's method fixes the charge.
  // A charge read from a file is the user's unless the file says the program set it.
  static std::optional<int64_t> enteredFutsuuSyoukyakuhi(const GenkasyoukyakuShisan& asset);
  // Stores the ordinary charge the register ends with: the amount the user entered as
  // the user's, kept even above a computed charge that has since fallen, so that it
  // comes back when that charge rises again; else the program's charge of the term as
  // the program's.
  static void setFutsuuSyoukyakuhiOfEntered(GenkasyoukyakuShisan& asset, std::optional<int64_t> entered,
                                            const SyoukyakuKikan& kikan);

  // The book value as the asset's figures take it down, in date order from what the
  // opening accumulated depreciation leaves of the cost: after each decrease that takes
  // effect (one without a date or after the removal takes nothing) and, at the term's
  // end, after the term's charges (the ordinary one as futsuuSyoukyakuhiForKaisya takes
  // it). A decrease may take the book value down to 0. Empty while the cost is not
  // entered. Each step stops one beyond the output limit below zero.
  struct CyoubokagakuStep {
    std::optional<size_t> decrease;  // its index in the asset's decreases; none: the term's charges
    int64_t cyoubokagaku = 0;
  };
  static std::vector<CyoubokagakuStep> cyoubokagakuSteps(const GenkasyoukyakuShisan& asset,
                                                         const SyoukyakuKikan& kikan);
  // What the register refuses of an edit (edited, from the asset as it was shown)
  // that takes the book value below zero, and below where the shown asset already
  // went, so that figures the user did not touch never hold the asset: a decrease
  // the shown asset did not have, or the special (else the ordinary) charge when the
  // edit raised the term's charges; the latest of them at or before the first step
  // that falls so low. None when the edit leaves every step at 0 or above, or no
  // lower than the shown asset stood.
  struct Overdraw {
    enum class Item { Decrease, TokubetsuSyoukyakuhi, FutsuuSyoukyakuhi };
    Item item = Item::Decrease;
    size_t decrease = 0;  // the decrease's index in the edited asset's decreases
    friend bool operator==(const Overdraw&, const Overdraw&) = default;
  };
  static std::optional<Overdraw> overdrawOfEdit(const GenkasyoukyakuShisan& edited, const GenkasyoukyakuShisan& shown,
                                                const SyoukyakuKikan& kikan);
  // Which of the edited asset's decreases the shown asset did not have, matched one
  // for one by date and amount: those the edit added or changed.
  static std::vector<bool> decreasesOfEdit(const GenkasyoukyakuShisan& edited, const GenkasyoukyakuShisan& shown);
  // Whether the asset's decreases take anything from it: an asset written off at
  // once (即時償却) or over three years (一括償却) is charged by its cost alone, and
  // a decrease an older file holds for one is kept but takes nothing.
  static bool takesDecreases(const GenkasyoukyakuShisan& asset);
  // Roll-forward into the next term, for the carry-forward: fixes the base of an
  // equal-instalment phase the closing term entered, adds the term's charges (the
  // ordinary one as futsuuSyoukyakuhiForKaisya takes it) to the accumulated
  // depreciation as far as the cost less the decreases up to the closing term's end
  // leaves room (so that no next term opens below a book value of 0 even when an
  // older build let charges exceed what was left), then clears the other charges and
  // sets the ordinary charge to the program's charge of the next term (-1 when it
  // cannot be computed) as the program's.
  static void addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikeiForKaisya(GenkasyoukyakuShisan& asset,
                                                                           const SyoukyakuKikan& closingTerm,
                                                                           const SyoukyakuKikan& nextTerm);

private:
  struct Keisan;
  static Keisan keisan(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static int64_t futsuuSyoukyakuhiOfProgram(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan,
                                            const Keisan& keisan);
  static bool usesRate(const GenkasyoukyakuShisan& asset);
  static bool isRemovedBefore(const GenkasyoukyakuShisan& asset, Date date);
  static int64_t decreaseBefore(const GenkasyoukyakuShisan& asset, Date date);
  static int64_t decreaseThrough(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static int32_t fallbackRitsuPerThousand(const GenkasyoukyakuShisan& asset, int32_t life, int32_t m);
};

}  // namespace kivo
