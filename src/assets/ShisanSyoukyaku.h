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
  // The ordinary charge the asset takes from the amount the user entered and the
  // computed charge: the computed charge when nothing (or a negative amount) was
  // entered, when the asset's method fixes the charge, or when more than the computed
  // charge was entered; else the amount entered.
  static int64_t futsuuSyoukyakuhiOfEntered(const GenkasyoukyakuShisan& asset, std::optional<int64_t> entered,
                                            int64_t sansyutsuSyoukyakuhi);
  // The ordinary charge the asset takes in the term from its stored charge, by the
  // rule above: the figure the register shows, prints and carries forward, whether or
  // not the asset was edited since its computed charge fell (a decrease, another
  // rounding). The stored charge as it is when the charge cannot be computed.
  static int64_t futsuuSyoukyakuhiForKaisya(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // The ordinary charge a stored asset holds as one the user entered, which the
  // register keeps (held to the computed charge) while the figures change: none when
  // it holds none, when its method fixes the charge, or when it stands at the
  // computed charge, where the register sets it and lowers it to; such a charge
  // follows the computed charge up as well as down.
  static std::optional<int64_t> enteredFutsuuSyoukyakuhi(const GenkasyoukyakuShisan& asset,
                                                         const SyoukyakuKikan& kikan);
  // The first decrease, in date order, that would take the book value below zero:
  // with those before it, it comes to more than the cost less the opening accumulated
  // depreciation (the term's charge is worked out on what the decreases leave, so it
  // leaves them that much), and for one dated after the term, less the term's charges
  // too. A decrease may take the book value down to 0; one without a date or after
  // the removal takes nothing. Its index in the asset's decreases; none when every
  // decrease fits, or while the cost is not entered.
  static std::optional<size_t> indexOfDecreaseBeyondCyoubokagaku(const GenkasyoukyakuShisan& asset,
                                                                 const SyoukyakuKikan& kikan);
  // Roll-forward into the next term, for the carry-forward: fixes the base of an
  // equal-instalment phase the closing term entered, adds the term's charges (the
  // ordinary one as futsuuSyoukyakuhiForKaisya takes it) to the accumulated
  // depreciation (at most the cost), then sets the ordinary charge to the
  // computed charge of the next term (-1 when it cannot be computed) and clears the
  // other charges.
  static void addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikeiForKaisya(GenkasyoukyakuShisan& asset,
                                                                           const SyoukyakuKikan& closingTerm,
                                                                           const SyoukyakuKikan& nextTerm);

private:
  struct Keisan;
  static Keisan keisan(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static bool usesRate(const GenkasyoukyakuShisan& asset);
  static bool isRemovedBefore(const GenkasyoukyakuShisan& asset, Date date);
  static int64_t decreaseBefore(const GenkasyoukyakuShisan& asset, Date date);
  static int64_t decreaseThrough(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  static int32_t fallbackRitsuPerThousand(const GenkasyoukyakuShisan& asset, int32_t life, int32_t m);
};

}  // namespace kivo
