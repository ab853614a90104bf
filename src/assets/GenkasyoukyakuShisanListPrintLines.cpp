#include "assets/GenkasyoukyakuShisanListPrintLines.h"

#include "assets/KamokuJigyoubuGroup.h"
#include "assets/ShisanSyoukyaku.h"
#include "document/MyDocument.h"
#include "model/KamokuKubun.h"

namespace kivo {
namespace {

GenkasyoukyakuShisanListPrintLines::Line named(GenkasyoukyakuShisanListPrintLines::Kind kind, std::string name)
{
  GenkasyoukyakuShisanListPrintLines::Line line;
  line.kind = kind;
  line.name = std::move(name);
  return line;
}

}  // namespace

GenkasyoukyakuShisanListPrintLines::Amounts GenkasyoukyakuShisanListPrintLines::amountsOfGenkasyoukyakuShisan(
    const GenkasyoukyakuShisan& stored, const SyoukyakuKikan& kikan)
{
  // The ordinary charge the register shows for the asset, and every figure after it.
  GenkasyoukyakuShisan a = stored;
  a.setFutsuuSyoukyakuhi(ShisanSyoukyaku::futsuuSyoukyakuhiForKaisya(stored, kikan));
  Amounts m;
  m.syutokuKagaku = a.syutokuKagaku();
  const Date added = a.dateOfAdded();
  // The register window's opening book value: earlier decreases deducted, 0 once the
  // asset was removed before the term, so that every row foots to its closing value.
  m.kisyuCyoubokagaku = ShisanSyoukyaku::kisyuCyoubokagakuForKaisya(a, kikan);
  m.toukiZoukagaku = !added.isNull() && kikan.containsDate(added) ? a.syutokuKagaku() : 0;
  m.toukiGensyougaku = std::max<int64_t>(0, ShisanSyoukyaku::toukiGensyougakuForKaisya(a, kikan));
  m.futsuuSyoukyakuhi = a.futsuuSyoukyakuhi();
  m.tokubetsuSyoukyakuhi = a.tokubetsuSyoukyakuhi();
  m.toukiSyoukyakuhiGoukei = a.toukiSyoukyakuhiGoukei();
  m.kimatsuCyoubokagaku = ShisanSyoukyaku::kimatsuCyoubokagakuForKaisya(a, kikan);
  m.kimatsuSyoukyakugakuRuikei = a.kimatsuSyoukyakugakuRuikei();
  return m;
}

void GenkasyoukyakuShisanListPrintLines::add(const Amounts& a, Amounts& s, int64_t limit)
{
  const auto plus = [limit](int64_t& sum, int64_t x) {
    if (sum <= limit) sum += x;
  };
  plus(s.syutokuKagaku, std::max<int64_t>(0, a.syutokuKagaku));
  if (a.kisyuCyoubokagaku > 0) plus(s.kisyuCyoubokagaku, a.kisyuCyoubokagaku);
  plus(s.toukiZoukagaku, a.toukiZoukagaku);
  plus(s.toukiGensyougaku, a.toukiGensyougaku);
  plus(s.futsuuSyoukyakuhi, std::max<int64_t>(0, a.futsuuSyoukyakuhi));
  plus(s.tokubetsuSyoukyakuhi, a.tokubetsuSyoukyakuhi);
  plus(s.toukiSyoukyakuhiGoukei, a.toukiSyoukyakuhiGoukei);
  plus(s.kimatsuCyoubokagaku, a.kimatsuCyoubokagaku);
  plus(s.kimatsuSyoukyakugakuRuikei, a.kimatsuSyoukyakugakuRuikei);
}

std::vector<GenkasyoukyakuShisanListPrintLines::Line> GenkasyoukyakuShisanListPrintLines::linesOfDocument(
    const MyDocument& document, const SyoukyakuKikan& kikan, int linesPerPage)
{
  std::vector<Line> lines;
  const int64_t limit = document.kaisya().maxOutputAmountValue();
  const int k = document.numberOfActiveJigyoubu() > 0 ? 5 : 3;
  const auto position = [&] { return static_cast<int>(lines.size() % static_cast<size_t>(linesPerPage)); };
  const auto pad = [&] {
    while (position() != 0) lines.push_back({});
  };
  const auto assetLine = [&](const GenkasyoukyakuShisanPtr& a) {
    Line l = named(Kind::Asset, a->name());
    l.asset = a;
    l.amounts = amountsOfGenkasyoukyakuShisan(*a, kikan);
    int32_t rate = ShisanSyoukyaku::syoukyakuRitsuPerThousandForKaisya(*a, kikan);
    if (rate > 0) ShisanSyoukyaku::sansyutuSyoukyakuhiForKaisya(*a, kikan, &rate);
    l.ritsuPerThousand = rate;
    return l;
  };
  for (const KamokuJigyoubuGroup& g : KamokuJigyoubuGroup::groupsOfDocument(document)) {
    if (position() != 0) lines.push_back({});
    if (position() >= linesPerPage - k) pad();
    lines.push_back(named(Kind::Title, g.title(document)));
    Line subTotal = named(Kind::SubTotal, "小計");
    for (const KamokuJigyoubuGroup& d : g.childrenGroups()) {
      if (position() > linesPerPage - 3) pad();
      const size_t at = lines.size();
      lines.push_back(named(Kind::Jigyoubu, "【" + d.title(document) + "】"));
      for (const GenkasyoukyakuShisanPtr& a : d.childrenAssets()) {
        lines.push_back(assetLine(a));
        if (a->quantity() > 0) add(lines.back().amounts, lines[at].amounts, limit);
      }
      add(lines[at].amounts, subTotal.amounts, limit);
    }
    for (const GenkasyoukyakuShisanPtr& a : g.childrenAssets()) {
      lines.push_back(assetLine(a));
      if (a->quantity() > 0) add(lines.back().amounts, subTotal.amounts, limit);
    }
    lines.push_back(std::move(subTotal));
  }
  if (position() != 0) lines.push_back({});
  if (position() > linesPerPage - 3) pad();

  Line grandTotal = named(Kind::GrandTotal, "合計");
  const size_t end = lines.size();
  for (size_t i = 0; i < end; ++i) {
    if (lines[i].kind != Kind::Asset || lines[i].asset->quantity() < 1) continue;
    const Amounts amounts = lines[i].amounts;
    const KamokuKubun* kubun =
        document.rootKamokuKubun()
            ? document.rootKamokuKubun()->childWhichHasChildrenKamokuCode(std::to_string(lines[i].asset->kamokuCode()))
            : nullptr;
    if (kubun) {
      const std::string name = kubun->kubunName() + "合計";
      size_t at = end;
      while (at < lines.size() && lines[at].name != name) ++at;
      if (at == lines.size()) lines.push_back(named(Kind::KubunTotal, name));
      add(amounts, lines[at].amounts, limit);
    }
    add(amounts, grandTotal.amounts, limit);
  }
  lines.push_back(std::move(grandTotal));
  return lines;
}

}  // namespace kivo
