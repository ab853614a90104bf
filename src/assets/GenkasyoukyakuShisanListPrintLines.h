// The printed entries of the asset register printout: per group of the register's
// outline a title entry, the assets (under a division entry each while divisions are
// in use) and a sub-total; then a total per account category and the grand total.
// Blank entries keep a group's title and a division entry off the last places of a
// page. Each entry fills two printed rows.
//
// The sums are built here from the assets' figures of the term and returned; the
// assets are not written. A sum stops growing once it has passed the output limit,
// and then prints as "#Precision!".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/SyoukyakuKikan.h"
#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class MyDocument;

class GenkasyoukyakuShisanListPrintLines {
public:
  enum class Kind { Empty, Asset, Title, Jigyoubu, SubTotal, KubunTotal, GrandTotal };

  // The amounts an entry prints: an asset's own figures of the term, or the sums of
  // a total. -1 in kisyuCyoubokagaku means none (an asset acquired in the term). An
  // asset's figures are the register window's, so that each row foots: opening book
  // value + increase - decrease - charges = closing book value. The ordinary charge is
  // the one the asset takes in the term (ShisanSyoukyaku::futsuuSyoukyakuhiForKaisya).
  struct Amounts {
    int64_t syutokuKagaku = 0;
    int64_t kisyuCyoubokagaku = 0;
    int64_t toukiZoukagaku = 0;
    int64_t toukiGensyougaku = 0;
    int64_t futsuuSyoukyakuhi = 0;
    int64_t tokubetsuSyoukyakuhi = 0;
    int64_t toukiSyoukyakuhiGoukei = 0;
    int64_t kimatsuCyoubokagaku = 0;
    int64_t kimatsuSyoukyakugakuRuikei = 0;
  };

  struct Line {
    Kind kind = Kind::Empty;
    std::string name;               // title, division and total entries
    GenkasyoukyakuShisanPtr asset;  // asset entries
    Amounts amounts;
    // The asset's rate for the term, per thousand (the revised rate where it applies).
    int32_t ritsuPerThousand = -1;
  };

  // The entries for pages of linesPerPage entries.
  static std::vector<Line> linesOfDocument(const MyDocument& document, const SyoukyakuKikan& kikan, int linesPerPage);
  // The figures an asset prints.
  static Amounts amountsOfGenkasyoukyakuShisan(const GenkasyoukyakuShisan& asset, const SyoukyakuKikan& kikan);
  // Adds the amounts into the sums, each sum held once it has passed the limit.
  static void add(const Amounts& amounts, Amounts& sums, int64_t limit);
};

}  // namespace kivo
