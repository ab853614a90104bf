#include "trial/HojyozandakaIchiranPaginator.h"

#include "document/MyDocument.h"
#include "journal/KanjyoumotocyouPaginator.h"
#include "trial/HojyoZandaka.h"

namespace kivo {

HojyozandakaIchiranPaginator::HojyozandakaIchiranPaginator(const MyDocument& document,
                                                           const std::vector<Shisan>& shisanArray, int32_t periodFrom,
                                                           int32_t periodTo, int rowsPerPage)
    : PrintPaginator(rowsPerPage),
      document_(document),
      periodText_(KanjyoumotocyouPaginator::periodText(document.kaisya(), periodFrom, periodTo))
{
  if (isTooSmall()) return;
  rows_.reserve(shisanArray.size() * 2 + 16);
  const Shisan* previous = nullptr;
  for (const Shisan& s : shisanArray) {
    const bool newAccount = !previous || previous->kamokuCode() != s.kamokuCode() ||
                            previous->jigyoubuCode() != s.jigyoubuCode() || HojyoZandaka::isGoukeiRow(*previous);
    if (newAccount) {
      while (!isPageFull()) rows_.push_back(Row{});
      startPage(s);
    } else if (isPageFull()) {
      if (HojyoZandaka::isGoukeiRow(s) && rows_.back().kind == Row::Kind::Shisan) {
        // The total would stand alone: the row before it goes along.
        Row moved = std::move(rows_.back());
        rows_.back() = Row{};
        startPage(s);
        rows_.push_back(std::move(moved));
      } else {
        startPage(s);
      }
    }
    rows_.push_back(Row{Row::Kind::Shisan, s});
    previous = &s;
  }
  while (!isPageFull()) rows_.push_back(Row{});
  setRowCount(rows_.size());
}

bool HojyozandakaIchiranPaginator::isPageFull() const { return rows_.size() % static_cast<size_t>(rowsPerPage()) == 0; }

void HojyozandakaIchiranPaginator::startPage(const Shisan& of)
{
  Row heading{Row::Kind::Heading, Shisan()};
  heading.shisan.setJigyoubuCode(of.jigyoubuCode());
  heading.shisan.setKamokuCode(of.kamokuCode());
  heading.shisan.setTitle(headingTitle(document_, of.jigyoubuCode(), of.kamokuCode()));
  Row period{Row::Kind::Period, heading.shisan};
  period.shisan.setTitle(periodText_);
  rows_.push_back(std::move(heading));
  rows_.push_back(std::move(period));
}

std::string HojyozandakaIchiranPaginator::headingTitle(const MyDocument& document, int32_t jigyoubuCode,
                                                       int32_t kamokuCode)
{
  std::string title = kHeadingTitlePrefix;
  if (const KamokuPtr k = document.kamokuOfCode(kamokuCode)) title += k->name();
  if (jigyoubuCode != Jigyoubu::kAllJigyoubuCode)
    for (const JigyoubuPtr& j : document.jigyoubuArray())
      if (j->code() == jigyoubuCode) {
        title += "（" + j->name() + "）";
        break;
      }
  return title;
}

int HojyozandakaIchiranPaginator::lineOfRow(size_t r) const
{
  const size_t onPage = r % static_cast<size_t>(rowsPerPage());
  return static_cast<int>(onPage) + (onPage > 1 ? 2 : 1);
}

}  // namespace kivo
