#include "entry/FurikaedenpyouBrowser.h"

#include <algorithm>

#include "document/Journal.h"

namespace kivo {

bool FurikaedenpyouBrowser::isCardEntry(const Shiwake& s)
{
  return s.kindOfShiwake() == ShiwakeKind::Furikaedenpyou && !s.didCreateBeforeOpen() && s.denpyouNo() != 0;
}

std::vector<size_t> FurikaedenpyouBrowser::cardsOfDate(const MyDocument& document, Date date)
{
  const Journal& journal = document.journal();
  std::vector<size_t> cards;
  for (size_t i = 0; i < journal.size(); ++i) {
    const Shiwake& s = *journal[i];
    if (!isCardEntry(s) || Journal::compareDate(s.date(), date) != 0) continue;
    cards.push_back(i);
    // The voucher's other lines make no card of their own.
    while (i + 1 < journal.size() && journal[i + 1]->denpyouNo() == s.denpyouNo()) ++i;
  }
  return cards;
}

std::vector<ShiwakePtr> FurikaedenpyouBrowser::rowsOfCard(const MyDocument& document, size_t shiwakeIndex)
{
  const Journal& journal = document.journal();
  std::vector<ShiwakePtr> rows;
  if (shiwakeIndex >= journal.size()) return rows;
  const int32_t n = journal[shiwakeIndex]->denpyouNo();
  for (size_t i = shiwakeIndex; i < journal.size() && journal[i]->denpyouNo() == n; ++i) {
    if (!isCardEntry(*journal[i])) continue;
    rows.push_back(journal[i]);
    if (static_cast<int>(rows.size()) == kMaxRowsOfCard) break;
  }
  return rows;
}

std::optional<Date> FurikaedenpyouBrowser::previousDate(const MyDocument& document, const std::vector<size_t>& cards,
                                                        std::optional<Date> date)
{
  const Journal& journal = document.journal();
  if (!cards.empty()) {
    for (size_t i = std::min(cards.front(), journal.size()); i-- > 0;)
      if (isCardEntry(*journal[i])) return journal[i]->date();
    return std::nullopt;
  }
  if (!date) {
    for (const ShiwakePtr& s : journal)
      if (isCardEntry(*s)) return s->date();
    return std::nullopt;
  }
  for (size_t i = journal.size(); i-- > 0;)
    if (isCardEntry(*journal[i]) && Journal::compareDate(journal[i]->date(), *date) < 0) return journal[i]->date();
  return std::nullopt;
}

std::optional<Date> FurikaedenpyouBrowser::nextDate(const MyDocument& document, const std::vector<size_t>& cards,
                                                    std::optional<Date> date)
{
  const Journal& journal = document.journal();
  if (!cards.empty()) {
    const Date shown = cards.back() < journal.size() ? journal[cards.back()]->date() : Date();
    for (size_t i = cards.back() + 1; i < journal.size(); ++i)
      if (isCardEntry(*journal[i]) && Journal::compareDate(journal[i]->date(), shown) != 0) return journal[i]->date();
    return std::nullopt;
  }
  if (!date) {
    for (size_t i = journal.size(); i-- > 0;)
      if (isCardEntry(*journal[i])) return journal[i]->date();
    return std::nullopt;
  }
  for (const ShiwakePtr& s : journal)
    if (isCardEntry(*s) && Journal::compareDate(s->date(), *date) > 0) return s->date();
  return std::nullopt;
}

std::optional<size_t> FurikaedenpyouBrowser::firstIndexOfDenpyouNo(const MyDocument& document, int32_t n)
{
  const Journal& journal = document.journal();
  for (size_t i = 0; i < journal.size(); ++i)
    if (isCardEntry(*journal[i]) && journal[i]->denpyouNo() == n) return i;
  return std::nullopt;
}

}  // namespace kivo
