// The appropriation of profit (利益処分案), or treatment of loss (損失処理案), of the
// older-form 決算報告書: the unappropriated profit U of the term (negative: an
// undisposed loss), the user's items (dividends, reserves ...), their total and the
// amount carried forward to the next term.
//
// While U is 0 there is nothing to appropriate: the items are neither shown,
// counted nor printed. Items that together exceed |U| would carry a negative amount
// forward; check() refuses them with a message instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/RiekiSyobunanItem.h"
#include "trial/Shisan.h"

namespace kivo {

class RiekiSyobunan {
public:
  RiekiSyobunan(int64_t toukiMisyobunSoneki, std::vector<RiekiSyobunanItem> items, int64_t max);

  bool isLoss() const { return u_ < 0; }
  int64_t toukiMisyobunSoneki() const { return u_; }
  // The items that take part: none while U is 0.
  const std::vector<RiekiSyobunanItem>& items() const { return items_; }
  // The items' total; beyond the limit it is held at M + 1 (or -(M + 1)).
  int64_t riekiSyobunGoukei() const { return goukei_; }
  // |U| minus the total; -(M + 1) when either lies beyond the limit.
  int64_t jikiKurikoshiRieki() const { return jiki_; }

  // Empty when the appropriation can be printed, else the reason in Japanese.
  std::string check() const;

  // The rows of the printed appropriation, all in the company column (99).
  std::vector<Shisan> rows() const;

  // Labels of the sheet and the printout for the sign of U.
  std::string toukiMisyobunTitle() const { return isLoss() ? "当期未処理損失" : "当期未処分利益"; }
  std::string syobunanTitle() const { return isLoss() ? "損失処理案" : "利益処分案"; }
  std::string goukeiTitle() const { return isLoss() ? "損失処理合計" : "利益処分合計"; }
  std::string jikiKurikoshiTitle() const { return isLoss() ? "次期繰越損失" : "次期繰越利益"; }

private:
  int64_t u_;
  std::vector<RiekiSyobunanItem> items_;
  int64_t max_;
  int64_t goukei_ = 0;
  int64_t jiki_ = 0;
};

}  // namespace kivo
