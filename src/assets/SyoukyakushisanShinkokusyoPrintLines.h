// The printed lines of the depreciable-asset declaration (償却資産申告書) of one
// calendar year: per group of the register's outline whose account is declared, an
// account heading, the assets (under a division heading each while divisions are in
// use) and four totals of acquisition cost. Lump-sum assets are never declared.
//
// Only the assets of the year are listed: acquired on or before 31 December and not
// removed before 1 January. Blank lines keep a group's heading and a division heading
// off the last lines of a page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/GenkasyoukyakuShisan.h"

namespace kivo {

class MyDocument;

class SyoukyakushisanShinkokusyoPrintLines {
public:
  enum class Kind { Empty, Asset, Heading, Jigyoubu, Total };
  // The four totals of a group, in their printed order.
  enum Goukei { AddedBeforeThisYear, RemovedInThisYear, AddedInThisYear, Owning, GoukeiCount };
  static constexpr const char* kGoukeiTitles[GoukeiCount] = {"前年までに取得した資産", "期間中に除却（減少）した資産",
                                                             "期間中に取得した資産", "現在所有中の資産"};

  struct Line {
    Kind kind = Kind::Empty;
    std::string name;
    GenkasyoukyakuShisanPtr asset;
    int64_t syutokuKagaku = 0;  // a total's sum
  };

  // Whether the asset belongs on the declaration of the year.
  static bool isDeclaredInYear(const GenkasyoukyakuShisan& asset, int year);
  // Whether the asset counts in the total (an asset of quantity 1 or more).
  static bool belongsToGoukei(const GenkasyoukyakuShisan& asset, Goukei goukei, int year);
  static std::vector<Line> linesOfDocument(const MyDocument& document, int year, int linesPerPage);
};

}  // namespace kivo
