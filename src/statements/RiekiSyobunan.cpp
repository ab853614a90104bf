#include "statements/RiekiSyobunan.h"

#include "model/CappedAmount.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

constexpr int32_t kHeadWithItemsRowCode = -410;
constexpr int32_t kJikiKurikoshiRowCode = -411;

}  // namespace

RiekiSyobunan::RiekiSyobunan(int64_t toukiMisyobunSoneki, std::vector<RiekiSyobunanItem> items, int64_t max)
    : u_(toukiMisyobunSoneki), max_(max)
{
  if (u_ != 0) items_ = std::move(items);
  // The total stops once it has left the limit, on either side; the additions
  // saturate, so no amount, however large, makes them overflow.
  for (const RiekiSyobunanItem& item : items_) {
    if (!capped::inRange(goukei_, max_)) break;
    goukei_ = capped::add(goukei_, item.kingaku);
  }
  if (goukei_ > max_) goukei_ = max_ + 1;
  if (goukei_ < -max_) goukei_ = -max_ - 1;
  if (capped::inRange(goukei_, max_) && capped::inRange(u_, max_))
    jiki_ = (u_ < 0 ? -u_ : u_) - goukei_;
  else
    jiki_ = -max_ - 1;
}

std::string RiekiSyobunan::check() const
{
  for (const RiekiSyobunanItem& item : items_)
    if (item.kingaku < 0) return "「" + item.name + "」の金額が負です。0以上の金額を入力してください。";
  if (!capped::inRange(goukei_, max_)) return goukeiTitle() + "が大きすぎて印刷できません。";
  if (jiki_ < 0 && u_ >= -max_ && u_ <= max_)
    return goukeiTitle() + "が" + toukiMisyobunTitle() + "を超えています。" + syobunanTitle() +
           "の金額を見直してください。";
  return {};
}

std::vector<Shisan> RiekiSyobunan::rows() const
{
  std::vector<Shisan> out;
  auto add = [&](int32_t code, const std::string& title, int64_t amount) {
    Shisan& r = out.emplace_back();
    r.setJigyoubuCode(99);
    r.setKamokuCode(code);
    r.setTitle(title);
    r.setHoukokusyoAmount(amount);
  };
  const int64_t size = u_ < 0 ? (u_ < -max_ ? max_ + 1 : -u_) : u_;
  add(items_.empty() ? KaisyahouSubtotalRowCode : kHeadWithItemsRowCode, toukiMisyobunTitle(), size);
  for (const RiekiSyobunanItem& item : items_) add(KaisyahouComputedRowCode, item.name, item.kingaku);
  if (!items_.empty()) add(KaisyahouTotalRowCode, "　" + goukeiTitle(), goukei_);
  add(kJikiKurikoshiRowCode, jikiKurikoshiTitle(), jiki_);
  return out;
}

}  // namespace kivo
