#include "assets/SyoukyakushisanShinkokusyoPrintLines.h"

#include "assets/KamokuJigyoubuGroup.h"
#include "document/MyDocument.h"
#include "model/Kamoku.h"
#include "model/KamokuKubun.h"

namespace kivo {
namespace {

using Line = SyoukyakushisanShinkokusyoPrintLines::Line;
using Kind = SyoukyakushisanShinkokusyoPrintLines::Kind;

Line named(Kind kind, std::string name)
{
  Line line;
  line.kind = kind;
  line.name = std::move(name);
  return line;
}

}  // namespace

bool SyoukyakushisanShinkokusyoPrintLines::isDeclaredInYear(const GenkasyoukyakuShisan& a, int year)
{
  if (a.syoukyakuTypeStr() == GenkasyoukyakuShisan::kIkkatsuSyoukyaku) return false;
  const Date added = a.dateOfAdded();
  const Date removed = a.dateOfRemoved();
  return !added.isNull() && added <= Date(year, 12, 31) && (removed.isNull() || removed >= Date(year, 1, 1));
}

bool SyoukyakushisanShinkokusyoPrintLines::belongsToGoukei(const GenkasyoukyakuShisan& a, Goukei goukei, int year)
{
  const Date first(year, 1, 1);
  const Date last(year, 12, 31);
  const Date added = a.dateOfAdded();
  const Date removed = a.dateOfRemoved();
  switch (goukei) {
  case AddedBeforeThisYear: return !added.isNull() && added < first;
  case RemovedInThisYear:
    return (!removed.isNull() && removed >= first && removed <= last) || a.doDecreaseFrom(first, last);
  case AddedInThisYear: return !added.isNull() && added >= first && added <= last;
  case Owning: return removed.isNull();
  default: return false;
  }
}

std::vector<Line> SyoukyakushisanShinkokusyoPrintLines::linesOfDocument(const MyDocument& document, int year,
                                                                        int linesPerPage)
{
  std::vector<Line> lines;
  const int64_t limit = document.kaisya().maxOutputAmountValue();
  const int r = document.numberOfActiveJigyoubu() > 0 ? 8 : 6;
  const auto position = [&] { return static_cast<int>(lines.size() % static_cast<size_t>(linesPerPage)); };
  const auto pad = [&] {
    while (position() != 0) lines.push_back({});
  };
  const auto declared = [&](const std::vector<GenkasyoukyakuShisanPtr>& assets) {
    std::vector<GenkasyoukyakuShisanPtr> out;
    for (const GenkasyoukyakuShisanPtr& a : assets)
      if (isDeclaredInYear(*a, year)) out.push_back(a);
    return out;
  };
  for (const KamokuJigyoubuGroup& g : KamokuJigyoubuGroup::groupsOfDocument(document)) {
    const KamokuPtr kamoku = document.rootKamokuKubun()
                                 ? document.rootKamokuKubun()->matchKamokuCode(std::to_string(g.kamokuCode()), true)
                                 : nullptr;
    if (!kamoku || !kamoku->isSyoukyakushisanShinkokusyoKamoku() || declared(g.allAssets()).empty()) continue;
    if (position() != 0) lines.push_back({});
    if (position() >= linesPerPage - r) pad();
    lines.push_back(named(Kind::Heading, g.title(document)));
    Line totals[GoukeiCount];
    for (int i = 0; i < GoukeiCount; ++i) totals[i] = named(Kind::Total, kGoukeiTitles[i]);
    const auto addAssets = [&](const std::vector<GenkasyoukyakuShisanPtr>& assets) {
      for (const GenkasyoukyakuShisanPtr& a : assets) {
        Line line = named(Kind::Asset, a->name());
        line.asset = a;
        lines.push_back(std::move(line));
        if (a->quantity() < 1 || a->syutokuKagaku() < 0) continue;  // no cost entered: nothing to add
        for (int i = 0; i < GoukeiCount; ++i)
          if (belongsToGoukei(*a, static_cast<Goukei>(i), year) && totals[i].syutokuKagaku <= limit)
            totals[i].syutokuKagaku += a->syutokuKagaku();
      }
    };
    for (const KamokuJigyoubuGroup& d : g.childrenGroups()) {
      const std::vector<GenkasyoukyakuShisanPtr> assets = declared(d.childrenAssets());
      if (assets.empty()) continue;
      if (position() > linesPerPage - 3) pad();
      lines.push_back(named(Kind::Jigyoubu, "【" + d.title(document) + "】"));
      addAssets(assets);
    }
    addAssets(declared(g.childrenAssets()));
    for (Line& t : totals) lines.push_back(std::move(t));
  }
  return lines;
}

}  // namespace kivo
