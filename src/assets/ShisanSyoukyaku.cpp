#include "assets/ShisanSyoukyaku.h"

#include <algorithm>
#include <cmath>

#include "document/Journal.h"
#include "model/Kaisya.h"

namespace kivo {

namespace {

using Wide = __int128;

// A percent ratio in thousandths of a percent, so that 33.3 % is 33300 exactly.
int64_t milliPercent(double percent) { return std::llround(percent * 1000.0); }

// A rate in units of 1/100,000 scaled to m months of a year and rounded up to a
// whole per-thousand: 0.100 in a 7-month term is 5833, raised to 59 ‰.
int32_t scaledPerThousand(int32_t rate100k, int32_t m)
{
  const int64_t v = static_cast<int64_t>(rate100k) * m / 12;
  return static_cast<int32_t>((v + 99) / 100);
}

int64_t clampedToZero(int64_t v) { return v < 0 ? 0 : v; }

// A sum of decreases stops one beyond the output limit, as report sums do: each is at
// most the input limit, so no number of them carries a book value out of range.
int64_t plusDecrease(int64_t sum, int64_t amount) { return std::min(sum + amount, Kaisya::kMaxOutputAmountValue + 1); }

}  // namespace

struct ShisanSyoukyaku::Keisan {
  int64_t charge = -1;
  int32_t kaiteiRitsu = -1;  // the revised rate used, -1 when none
  int64_t phaseBase = -1;    // the base of an equal-instalment phase the term entered and that is not fixed yet
};

// ---------------------------------------------------------------- the asset

const SyoukyakuRitsuTable& ShisanSyoukyaku::ritsuTable(const GenkasyoukyakuShisan& a)
{
  return SyoukyakuRitsuTable::tableNamed(a.pListResource(), a.dateOfAdded());
}

bool ShisanSyoukyaku::isRemovedBefore(const GenkasyoukyakuShisan& a, Date date)
{
  return !a.dateOfRemoved().isNull() && Journal::compareDate(a.dateOfRemoved(), date) < 0;
}

bool ShisanSyoukyaku::takesDecreases(const GenkasyoukyakuShisan& a)
{
  return a.syoukyakuTypeStr() != GenkasyoukyakuShisan::kSokujiSyoukyaku &&
         a.syoukyakuTypeStr() != GenkasyoukyakuShisan::kIkkatsuSyoukyaku;
}

int64_t ShisanSyoukyaku::decreaseBefore(const GenkasyoukyakuShisan& a, Date date)
{
  int64_t sum = 0;
  if (!takesDecreases(a)) return sum;
  for (const GenkasyoukyakuShisanDecrease& d : a.decreaseArray())
    if (!d.dateOfDecrease().isNull() && Journal::compareDate(d.dateOfDecrease(), date) < 0)
      sum = plusDecrease(sum, d.amountOfDecrease());
  return sum;
}

// The decreases that have taken effect by the end of the term; those dated after a
// removal are void, the asset being gone by then.
int64_t ShisanSyoukyaku::decreaseThrough(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  int64_t sum = 0;
  if (!takesDecreases(a)) return sum;
  for (const GenkasyoukyakuShisanDecrease& d : a.decreaseArray()) {
    const Date date = d.dateOfDecrease();
    if (date.isNull() || Journal::compareDate(date, kikan.endDate()) > 0) continue;
    if (!a.dateOfRemoved().isNull() && Journal::compareDate(date, a.dateOfRemoved()) > 0) continue;
    sum = plusDecrease(sum, d.amountOfDecrease());
  }
  return sum;
}

// ---------------------------------------------------------------- rates

bool ShisanSyoukyaku::usesRate(const GenkasyoukyakuShisan& a)
{
  return a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeigakuHou ||
         a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeiritsuHou ||
         a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kKintouSyoukyaku;
}

int32_t ShisanSyoukyaku::syoukyakuRitsuPerThousand20070401ForKaisya(const GenkasyoukyakuShisan& a,
                                                                    const SyoukyakuKikan& kikan)
{
  const bool teigaku = a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeigakuHou;
  if (!teigaku && a.syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeiritsuHou) return -1;
  if (a.taiyouYears() < 1 || a.taiyouYears() > SyoukyakuRitsuTable::kMaxTaiyouYears) return -1;
  const SyoukyakuRitsuTable::Row* row =
      SyoukyakuRitsuTable::newerRuleTableForDate(a.dateOfAdded()).rowOfTaiyouYears(a.taiyouYears());
  const int32_t rate = row ? (teigaku ? row->teigakuHou : row->teiritsuHou) : -1;
  return rate < 0 ? 0 : scaledPerThousand(rate, kikan.numberOfKaikeiMonth());
}

int32_t ShisanSyoukyaku::kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(const GenkasyoukyakuShisan& a,
                                                                          const SyoukyakuKikan& kikan)
{
  if (a.syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeiritsuHou) return -1;
  if (a.taiyouYears() < 1 || a.taiyouYears() > SyoukyakuRitsuTable::kMaxTaiyouYears) return -1;
  const SyoukyakuRitsuTable::Row* row =
      SyoukyakuRitsuTable::newerRuleTableForDate(a.dateOfAdded()).rowOfTaiyouYears(a.taiyouYears());
  const int32_t rate = row ? row->kaiteiSyoukyakuRitsu : -1;
  return rate < 0 ? 0 : scaledPerThousand(rate, kikan.numberOfKaikeiMonth());
}

int32_t ShisanSyoukyaku::hosyouRitsuPerHundredThousand(const GenkasyoukyakuShisan& a)
{
  if (a.syoukyakuTypeStr() != GenkasyoukyakuShisan::kTeiritsuHou) return -1;
  const SyoukyakuRitsuTable::Row* row =
      SyoukyakuRitsuTable::newerRuleTableForDate(a.dateOfAdded()).rowOfTaiyouYears(a.taiyouYears());
  return row ? row->hosyouRitsu : -1;
}

// The rate the law's formula gives where the tables hold none: straight line 1/n,
// declining balance 1 − (residual)^(1/n), to a per-thousand rounded half up.
int32_t ShisanSyoukyaku::fallbackRitsuPerThousand(const GenkasyoukyakuShisan& a, int32_t life, int32_t m)
{
  int32_t v = 0;
  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeiritsuHou)
    v = static_cast<int32_t>(10000.0 - 10000.0 * std::pow(a.zanzonWariai() / 100.0, 1.0 / life));
  else
    v = 10000 / life;
  v = v % 10 > 4 ? v - v % 10 + 10 : v - v % 10;
  int32_t rate = v / 10;
  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeigakuHou) {
    const int64_t x = static_cast<int64_t>(m) * rate * 100 / 12;
    rate = static_cast<int32_t>((x + 99) / 100);
  }
  return rate;
}

int32_t ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  if (!a.isOlderRule()) {
    const int32_t rate = syoukyakuRitsuPerThousand20070401ForKaisya(a, kikan);
    if (rate >= 0) return rate;
  }
  if (!usesRate(a) || a.taiyouYears() < 1 || a.taiyouYears() > SyoukyakuRitsuTable::kMaxTaiyouYears) return -1;
  const int32_t m = kikan.numberOfKaikeiMonth();
  if (m <= 0) return -1;
  const SyoukyakuRitsuTable& kyuu = SyoukyakuRitsuTable::kyuu();
  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeiritsuHou) {
    // A term shorter than a year takes the rate of the life stretched over it.
    const int32_t life = m >= 12 ? a.taiyouYears() : (1200 * a.taiyouYears() / m) / 100;
    const SyoukyakuRitsuTable::Row* row = kyuu.rowOfTaiyouYears(life);
    if (a.zanzonWariai() == SyoukyakuRitsuTable::kTeiritsuHouZanzonWariai && row && row->teiritsuHou >= 0)
      return row->teiritsuHou / 100;
    return fallbackRitsuPerThousand(a, std::max(life, 1), m);
  }
  const SyoukyakuRitsuTable::Row* row = kyuu.rowOfTaiyouYears(a.taiyouYears());
  if (!row || row->teigakuHou < 0) return fallbackRitsuPerThousand(a, a.taiyouYears(), m);
  return a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeigakuHou ? scaledPerThousand(row->teigakuHou, m)
                                                                   : row->teigakuHou / 100;
}

// ---------------------------------------------------------------- the charge

int32_t ShisanSyoukyaku::numberOfSyoukyakuMonthForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  if (kikan.numberOfKaikeiMonth() <= 0) return 0;
  Date from = kikan.startDate();
  if (kikan.containsDate(a.dateOfAdded()))
    from = a.dateOfAdded();
  else if (!a.dateOfAdded().isNull() && Journal::compareDate(a.dateOfAdded(), kikan.endDate()) > 0)
    return 0;
  Date to = kikan.endDate();
  if (!a.dateOfRemoved().isNull() && Journal::compareDate(a.dateOfRemoved(), to) < 0) to = a.dateOfRemoved();
  const int32_t months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
  return std::max(months, 0);
}

ShisanSyoukyaku::Keisan ShisanSyoukyaku::keisan(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  Keisan k;
  const int32_t m = kikan.numberOfKaikeiMonth();
  const int64_t cost = a.syutokuKagaku();
  if (m <= 0 || cost < 0 || a.dateOfAdded().isNull()) return k;
  const Date S = kikan.startDate();
  const bool acquiredAfterTerm = Journal::compareDate(a.dateOfAdded(), kikan.endDate()) > 0;
  auto R = [&](Wide x) { return kikan.amountFromMultiplyThousandOfAmount(static_cast<int64_t>(x)); };

  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kSokujiSyoukyaku) {
    k.charge = kikan.containsDate(a.dateOfAdded()) ? cost : 0;
    return k;
  }
  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kIkkatsuSyoukyaku) {
    if (acquiredAfterTerm) {
      k.charge = 0;
      return k;
    }
    // A third of the cost a year, by the months of the term; a remainder smaller
    // than one month's share is charged at once.
    const int64_t rest = cost - a.kisyuSyoukyakugakuRuikei();
    int64_t t = R(Wide(cost) * m * 1000 / 36);
    if (Wide(cost) * 1000 / 36 > Wide(rest - t) * 1000) t = rest;
    if (a.isOlderRule()) {
      const int64_t gendo = zanzonGendoGaku(a, kikan);
      if (rest - t < gendo) t = rest - gendo;
    }
    k.charge = clampedToZero(t);
    return k;
  }
  if (!usesRate(a)) return k;
  const int32_t r = syoukyakuRitsuPerThousandForKaisya(a, kikan);
  if (r < 0) return k;

  const int32_t u = numberOfSyoukyakuMonthForKaisya(a, kikan);
  const bool acquiredBeforeTerm = Journal::compareDate(a.dateOfAdded(), S) < 0;
  // A decrease lowers the base and the book value from its term on.
  const int64_t decrease = decreaseThrough(a, kikan);
  const int64_t base = cost - decrease;
  const int64_t bk = cost - a.kisyuSyoukyakugakuRuikei() - decrease;
  if (acquiredBeforeTerm && cost - a.kisyuSyoukyakugakuRuikei() < 0) return k;
  if (u == 0 || isRemovedBefore(a, S)) {
    k.charge = 0;
    return k;
  }
  const int64_t book0 = acquiredBeforeTerm ? bk : -1;
  const bool houjin = kikan.isHoujin();
  // The rate of 定額法 and of the newer 定率法 is already scaled to the months of the
  // term, and the older 定率法 rate is that of the life stretched over the term, so
  // those spread over the term's months; 均等償却 takes a year's rate over twelve.
  const int32_t divisor = a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kKintouSyoukyaku ? 12 : m;

  auto straightLine = [&](int64_t b, int32_t rate, bool deductResidual) -> int64_t {
    if (deductResidual) {
      const Wide keep = 100000 - milliPercent(a.zanzonWariai());
      if (houjin) return R(Wide(b) * keep * rate * u / (Wide(100000) * divisor));
      const int64_t a = R(Wide(b) * keep * rate / 100000);
      return R(Wide(a) * u * 1000 / divisor);
    }
    if (houjin) return R(Wide(b) * rate * u / divisor);
    const int64_t a = R(Wide(b) * rate);
    return R(Wide(a) * u * 1000 / divisor);
  };
  auto declining = [&](int64_t value, int32_t rate) -> int64_t {
    if (houjin) return R(Wide(value) * rate * u / divisor);
    const int64_t a = R(Wide(value) * rate);
    return R(Wide(a) * u * 1000 / divisor);
  };

  const bool teiritsu = a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kTeiritsuHou;
  int64_t t = teiritsu ? declining(bk, r) : straightLine(base, r, a.isOlderRule());

  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kKintouSyoukyaku) {
    k.charge = clampedToZero(std::min(t, bk));
    return k;
  }
  if (a.isOlderRule()) {
    const int64_t gendo = R(Wide(base) * milliPercent(a.zanzonGendoWariai()) / 100);
    if (bk - t < gendo) t = bk - gendo;
    if (t > 0) {
      k.charge = t;
      return k;
    }
    // At the limit: from the first term that starts under the newer rule, what
    // remains goes in sixty monthly instalments down to 1.
    if (book0 <= 1 || S < GenkasyoukyakuShisan::newerRuleStartDate()) {
      k.charge = 0;
      return k;
    }
    int64_t phaseBase = a.basedCyoubokagakuForKaiteiSyoukyakuhi();
    if (phaseBase < 0) {
      if (book0 > gendo) {
        k.charge = 0;
        return k;
      }
      phaseBase = k.phaseBase = book0;
    }
    t = (phaseBase - 1) * u / 60;
    if (bk - t < (phaseBase - 1) / 60 || bk - t < 0) t = bk - 1;
    k.charge = clampedToZero(t);
    return k;
  }
  if (teiritsu) {
    // The revised rate takes over for good once a year's charge at the rate falls
    // below the guarantee amount; the test uses the whole year's charge, so an
    // asset bought late in the term does not switch early.
    const int32_t hosyou = hosyouRitsuPerHundredThousand(a);
    const int64_t hosyouGakuOfBase =
        hosyou < 0 ? -1 : kikan.amountFromMultiplyHundredThousandOfAmount(static_cast<int64_t>(Wide(base) * hosyou));
    const SyoukyakuRitsuTable::Row* row = ritsuTable(a).rowOfTaiyouYears(a.taiyouYears());
    const int64_t yearly =
        row && row->teiritsuHou >= 0
            ? kikan.amountFromMultiplyHundredThousandOfAmount(static_cast<int64_t>(Wide(bk) * row->teiritsuHou))
            : 0;
    if (a.basedCyoubokagakuForKaiteiSyoukyakuhi() >= 0 || hosyouGakuOfBase > yearly) {
      int64_t phaseBase = a.basedCyoubokagakuForKaiteiSyoukyakuhi();
      if (phaseBase < 0) phaseBase = k.phaseBase = bk;
      k.kaiteiRitsu = kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(a, kikan);
      t = straightLine(phaseBase, k.kaiteiRitsu, false);
    }
  }
  if (bk - t <= 0) t = bk - 1;
  k.charge = clampedToZero(t);
  return k;
}

int64_t ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan,
                                                      int32_t* kaiteiSyoukyakuRitsuPerThousand)
{
  const Keisan k = keisan(a, kikan);
  if (k.kaiteiRitsu >= 0 && kaiteiSyoukyakuRitsuPerThousand) *kaiteiSyoukyakuRitsuPerThousand = k.kaiteiRitsu;
  return k.charge;
}

// ---------------------------------------------------------------- derived amounts

int64_t ShisanSyoukyaku::kisyuCyoubokagakuForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  if (!a.dateOfAdded().isNull() && Journal::compareDate(a.dateOfAdded(), kikan.startDate()) >= 0) return -1;
  if (isRemovedBefore(a, kikan.startDate())) return 0;
  return a.syutokuKagaku() - a.kisyuSyoukyakugakuRuikei() - decreaseBefore(a, kikan.startDate());
}

int64_t ShisanSyoukyaku::zanzonKagaku(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  return kikan.amountFromMultiplyThousandOfAmount(
      static_cast<int64_t>(Wide(a.syutokuKagaku()) * milliPercent(a.zanzonWariai()) / 100));
}

int64_t ShisanSyoukyaku::zanzonGendoGaku(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  return kikan.amountFromMultiplyThousandOfAmount(
      static_cast<int64_t>(Wide(a.syutokuKagaku()) * milliPercent(a.zanzonGendoWariai()) / 100));
}

int64_t ShisanSyoukyaku::kimatsuCyoubokagakuForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  if (isRemovedBefore(a, kikan.startDate())) return 0;
  const int64_t opening = a.syutokuKagaku() - a.kisyuSyoukyakugakuRuikei() - decreaseBefore(a, kikan.startDate());
  return opening - toukiGensyougakuForKaisya(a, kikan) - a.toukiSyoukyakuhiGoukei();
}

int64_t ShisanSyoukyaku::keihisannyuugaku(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  return kikan.amountFromMultiplyThousandOfAmount(
      static_cast<int64_t>(Wide(a.toukiSyoukyakuhiGoukei()) * milliPercent(a.jigyouSenyouWariai()) / 100));
}

int64_t ShisanSyoukyaku::hosyouGaku(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  const int32_t rate = hosyouRitsuPerHundredThousand(a);
  if (rate < 0) return -1;
  return kikan.amountFromMultiplyHundredThousandOfAmount(static_cast<int64_t>(Wide(a.syutokuKagaku()) * rate));
}

int64_t ShisanSyoukyaku::toukiGensyougakuForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  if (isRemovedBefore(a, kikan.startDate())) return 0;
  // Removed in the term: all that was left of it leaves, earlier decreases of the
  // term included.
  if (kikan.containsDate(a.dateOfRemoved()))
    return a.syutokuKagaku() - a.kisyuSyoukyakugakuRuikei() - decreaseBefore(a, kikan.startDate()) -
           a.toukiSyoukyakuhiGoukei();
  int64_t sum = 0;
  if (!takesDecreases(a)) return sum;
  for (const GenkasyoukyakuShisanDecrease& d : a.decreaseArray())
    if (kikan.containsDate(d.dateOfDecrease())) sum = plusDecrease(sum, d.amountOfDecrease());
  return sum;
}

bool ShisanSyoukyaku::isFutsuuSyoukyakuhiFixed(const std::string& m)
{
  return m == GenkasyoukyakuShisan::kKintouSyoukyaku || m == GenkasyoukyakuShisan::kSokujiSyoukyaku ||
         m == GenkasyoukyakuShisan::kIkkatsuSyoukyaku;
}

int64_t ShisanSyoukyaku::futsuuSyoukyakuhiOfProgram(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan,
                                                    const Keisan& k)
{
  if (k.charge < 0) return k.charge;
  // What the term's charges may take in all is the book value before them, the
  // decreases taken; each figure is in range, so the sums and differences are too.
  const int64_t before = a.syutokuKagaku() - a.kisyuSyoukyakugakuRuikei() - decreaseThrough(a, kikan);
  const int64_t others = a.zoukaSyoukyakugaku() + a.warimashiSyoukyakuhi() + a.tokubetsuSyoukyakuhi();
  return clampedToZero(std::min(k.charge, before - others));
}

int64_t ShisanSyoukyaku::futsuuSyoukyakuhiOfProgram(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  return futsuuSyoukyakuhiOfProgram(a, kikan, keisan(a, kikan));
}

int64_t ShisanSyoukyaku::futsuuSyoukyakuhiOfEntered(const GenkasyoukyakuShisan& a, std::optional<int64_t> entered,
                                                    int64_t sansyutsu, int64_t ofProgram)
{
  if (!entered || *entered < 0 || isFutsuuSyoukyakuhiFixed(a.syoukyakuTypeStr()) || *entered > sansyutsu)
    return ofProgram;
  return *entered;
}

int64_t ShisanSyoukyaku::futsuuSyoukyakuhiForKaisya(const GenkasyoukyakuShisan& a, const SyoukyakuKikan& kikan)
{
  const Keisan k = keisan(a, kikan);
  if (k.charge < 0) return a.futsuuSyoukyakuhi();
  return futsuuSyoukyakuhiOfEntered(a, enteredFutsuuSyoukyakuhi(a), k.charge, futsuuSyoukyakuhiOfProgram(a, kikan, k));
}

std::optional<int64_t> ShisanSyoukyaku::enteredFutsuuSyoukyakuhi(const GenkasyoukyakuShisan& a)
{
  if (a.futsuuSyoukyakuhi() < 0 || a.isFutsuuSyoukyakuhiSetByProgram() ||
      isFutsuuSyoukyakuhiFixed(a.syoukyakuTypeStr()))
    return std::nullopt;
  return a.futsuuSyoukyakuhi();
}

void ShisanSyoukyaku::setFutsuuSyoukyakuhiOfEntered(GenkasyoukyakuShisan& a, std::optional<int64_t> entered,
                                                    const SyoukyakuKikan& kikan)
{
  const bool byUser = entered && *entered >= 0 && !isFutsuuSyoukyakuhiFixed(a.syoukyakuTypeStr());
  a.setFutsuuSyoukyakuhi(byUser ? *entered : futsuuSyoukyakuhiOfProgram(a, kikan));
  a.setIsFutsuuSyoukyakuhiSetByProgram(!byUser);
}

std::vector<ShisanSyoukyaku::CyoubokagakuStep> ShisanSyoukyaku::cyoubokagakuSteps(const GenkasyoukyakuShisan& a,
                                                                                  const SyoukyakuKikan& kikan)
{
  std::vector<CyoubokagakuStep> steps;
  if (a.syutokuKagaku() < 0) return steps;
  const std::vector<GenkasyoukyakuShisanDecrease>& decreases = a.decreaseArray();
  std::vector<size_t> order;
  if (takesDecreases(a)) {
    for (size_t i = 0; i < decreases.size(); ++i) {
      const Date date = decreases[i].dateOfDecrease();
      if (date.isNull()) continue;
      if (!a.dateOfRemoved().isNull() && Journal::compareDate(date, a.dateOfRemoved()) > 0) continue;
      order.push_back(i);
    }
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    return GenkasyoukyakuShisanDecrease::decreaseDateSort(decreases[x], decreases[y]) < 0;
  });
  // Each amount taken off is in range (a decrease, or the term's four charges); the
  // value stops one beyond the output limit below zero, however many there are.
  const int64_t floor = -(Kaisya::kMaxOutputAmountValue + 1);
  int64_t left = a.syutokuKagaku() - a.kisyuSyoukyakugakuRuikei();
  const auto take = [&](std::optional<size_t> decrease, int64_t amount) {
    left = std::max(left - amount, floor);
    steps.push_back({decrease, left});
  };
  const int64_t charges = std::max<int64_t>(futsuuSyoukyakuhiForKaisya(a, kikan), 0) + a.zoukaSyoukyakugaku() +
                          a.warimashiSyoukyakuhi() + a.tokubetsuSyoukyakuhi();
  bool charged = false;
  for (size_t i : order) {
    if (!charged && Journal::compareDate(decreases[i].dateOfDecrease(), kikan.endDate()) > 0) {
      take(std::nullopt, charges);
      charged = true;
    }
    take(i, decreases[i].amountOfDecrease());
  }
  if (!charged) take(std::nullopt, charges);
  return steps;
}

std::vector<bool> ShisanSyoukyaku::decreasesOfEdit(const GenkasyoukyakuShisan& edited,
                                                   const GenkasyoukyakuShisan& shown)
{
  std::vector<GenkasyoukyakuShisanDecrease> before = shown.decreaseArray();
  std::vector<bool> added(edited.decreaseArray().size(), true);
  for (size_t i = 0; i < added.size(); ++i) {
    const auto same = std::find(before.begin(), before.end(), edited.decreaseArray()[i]);
    if (same == before.end()) continue;
    added[i] = false;
    before.erase(same);
  }
  return added;
}

std::optional<ShisanSyoukyaku::Overdraw> ShisanSyoukyaku::overdrawOfEdit(const GenkasyoukyakuShisan& edited,
                                                                         const GenkasyoukyakuShisan& shown,
                                                                         const SyoukyakuKikan& kikan)
{
  const std::vector<CyoubokagakuStep> steps = cyoubokagakuSteps(edited, kikan);
  int64_t lowestShown = 0;
  for (const CyoubokagakuStep& s : cyoubokagakuSteps(shown, kikan)) lowestShown = std::min(lowestShown, s.cyoubokagaku);
  const auto overdrawn =
      std::find_if(steps.begin(), steps.end(), [&](const CyoubokagakuStep& s) { return s.cyoubokagaku < lowestShown; });
  if (overdrawn == steps.end()) return std::nullopt;

  const std::vector<bool> added = decreasesOfEdit(edited, shown);
  const bool tokubetsuRaised = edited.tokubetsuSyoukyakuhi() + edited.zoukaSyoukyakugaku() >
                               shown.tokubetsuSyoukyakuhi() + shown.zoukaSyoukyakugaku();
  const bool futsuuRaised = futsuuSyoukyakuhiForKaisya(edited, kikan) > futsuuSyoukyakuhiForKaisya(shown, kikan);
  const auto itemOf = [&](const CyoubokagakuStep& s) {
    if (s.decrease) return Overdraw{Overdraw::Item::Decrease, *s.decrease};
    const bool tokubetsu = tokubetsuRaised || (!futsuuRaised && edited.tokubetsuSyoukyakuhi() > 0);
    return Overdraw{tokubetsu ? Overdraw::Item::TokubetsuSyoukyakuhi : Overdraw::Item::FutsuuSyoukyakuhi, 0};
  };
  for (auto s = std::make_reverse_iterator(overdrawn + 1); s != steps.rend(); ++s)
    if (s->decrease ? added[*s->decrease] : tokubetsuRaised || futsuuRaised) return itemOf(*s);
  return itemOf(*overdrawn);
}

void ShisanSyoukyaku::addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikeiForKaisya(GenkasyoukyakuShisan& a,
                                                                                   const SyoukyakuKikan& closingTerm,
                                                                                   const SyoukyakuKikan& nextTerm)
{
  // The phase base comes from the closing term's figures, so it is taken before the
  // accumulated depreciation moves on.
  const Keisan closing = keisan(a, closingTerm);
  if (closing.phaseBase >= 0 && a.basedCyoubokagakuForKaiteiSyoukyakuhi() < 0)
    a.setBasedCyoubokagakuForKaiteiSyoukyakuhi(closing.phaseBase);
  // The closing term's ordinary charge as the register showed and printed it.
  if (closing.charge >= 0)
    a.setFutsuuSyoukyakuhi(futsuuSyoukyakuhiOfEntered(a, enteredFutsuuSyoukyakuhi(a), closing.charge,
                                                      futsuuSyoukyakuhiOfProgram(a, closingTerm, closing)));
  // The charges go in as far as the cost less the decreases taken by the term's end
  // leaves room, and never past the cost; while the cost is not entered, at most the
  // input limit, so that what the roll-forward writes is an amount the program reads
  // back.
  const int64_t kisyu = a.kisyuSyoukyakugakuRuikei();
  const int64_t cost = a.syutokuKagaku();
  const int64_t most = cost >= 0 ? std::min(cost, std::max(kisyu, cost - decreaseThrough(a, closingTerm)))
                                 : Kaisya::kMaxInputAmountValue;
  a.setKisyuSyoukyakugakuRuikei(std::min(kisyu + a.toukiSyoukyakuhiGoukei(), most));
  a.setZoukaSyoukyakugaku(0);
  a.setWarimashiSyoukyakuhi(0);
  a.setTokubetsuSyoukyakuhi(0);
  a.setFutsuuSyoukyakuhi(futsuuSyoukyakuhiOfProgram(a, nextTerm));
  a.setIsFutsuuSyoukyakuhiSetByProgram(true);
}

}  // namespace kivo
