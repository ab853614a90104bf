#include "assets/KurikoshiDocument.h"

#include <algorithm>
#include <set>

#include "assets/KurikoshiZandaka.h"
#include "assets/ShisanSyoukyaku.h"
#include "assets/SyoukyakuKikan.h"
#include "document/DocumentFile.h"
#include "document/MyDocument.h"

namespace kivo {

TermSettings KurikoshiDocument::defaultTermSettings(const Kaisya& kaisya)
{
  TermSettings term;
  term.name = kaisya.name();
  term.isHoujin = kaisya.isHoujin();
  term.isKakeibo = kaisya.isKakeibo();
  const Date oldEnd = kaisya.termEndDate();
  if (!oldEnd.isNull()) {
    const Date start = oldEnd.addingDays(1);
    term.startDate = start;
    term.endDate = TermSettings::defaultEndDateForStartDate(start);
    // A year on may pass the last day the file holds, a month end: the term ends there.
    if (!term.endDate->isInSupportedRange() && start.isInSupportedRange()) term.endDate = Date::latestSupportedDate();
  }
  if (kaisya.isHoujin()) term.termNoText = std::to_string(Kaisya::nextTermNo(kaisya.termNo()));
  return term;
}

bool KurikoshiDocument::hasNextTerm(const Kaisya& kaisya)
{
  const Date oldEnd = kaisya.termEndDate();
  return oldEnd.isNull() || oldEnd.addingDays(1).isInSupportedRange();
}

std::unique_ptr<MyDocument> KurikoshiDocument::make(const MyDocument& old, const KurikoshiZandaka& zandaka,
                                                    const TermSettings& term, bool doUseWareki, int32_t roundingType)
{
  // A deep copy of every record through the document's own archive.
  DocumentFile::Result result;
  std::unique_ptr<MyDocument> doc = DocumentFile::documentFromData(DocumentFile::dataOfDocument(old), &result);
  if (!doc) return nullptr;

  Kaisya& kaisya = doc->kaisya();
  kaisya.setHasDoneKurikoshi(false);
  kaisya.setIsCreatedByKurikoshiFunction(true);
  if (kaisya.isHoujin())
    kaisya.setTermNo(TermSettings::termNoOfText(term.termNoText).value_or(Kaisya::nextTermNo(old.kaisya().termNo())));
  else
    kaisya.setTermYear(TermSettings::trimmedName(term.termNoText));
  kaisya.setMinAvailableDenpyouNo(1);
  kaisya.setDoUseWareki(doUseWareki);
  const Date start = term.startDate.value_or(Date());
  const Date end = term.endDate.value_or(Date());
  kaisya.setMonthOfTermArrayFrom(start, end);
  // The statements' period moves to the new term. An end at the closing-adjustment
  // month (or never chosen, which reads as it) stays there, so that the new term's
  // statements take in its closing entries as the old term's did.
  const Date kessan = Date::kessanSeiridukiDate();
  const Date oldEnd = old.kaisya().termEndDateOfHoukokusyo();
  kaisya.setTermStartDateOfHoukokusyo(start);
  kaisya.setTermEndDateOfHoukokusyo(oldEnd.isNull() || oldEnd == kessan ? kessan : end);
  // The cover names the new term's dates, not the old term's.
  kaisya.setTermStartDateOfHoukokusyoCover(start);
  kaisya.setTermEndDateOfHoukokusyoCover(end);

  // Opening balances: the carried ones; none for income and expense accounts.
  std::vector<KamokuPtr> chart;
  if (doc->rootKamokuKubun()) doc->rootKamokuKubun()->getChildrenKamokuArray(chart);
  for (const KamokuPtr& k : chart) {
    k->startBalanceArray() = zandaka.startBalanceOfKamoku(k->code());
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
      h->startBalanceArray() = zandaka.startBalanceOfHojyoKamoku(k->code(), h->code());
  }
  doc->setRootKamokuKubun(doc->rootKamokuKubun());

  // Only the regular-type vouchers go across, with their bookmarks.
  Journal::Entries kept;
  std::set<int32_t> keptNumbers;
  const Date regular = Date::regularTypeDenpyouDate();
  for (const ShiwakePtr& s : doc->journal().entries()) {
    if (s->denpyouNo() < 0 && !s->date().isNull() && s->date() == regular) {
      kept.push_back(s);
      keptNumbers.insert(s->denpyouNo());
    }
  }
  doc->journal().assign(std::move(kept));
  std::vector<BookmarkPtr>& bookmarks = doc->furikaedenpyouBookmarkArray();
  std::erase_if(bookmarks,
                [&](const BookmarkPtr& b) { return b->denpyouNo() >= 0 || !keptNumbers.count(b->denpyouNo()); });
  doc->hendouReasonArray().clear();

  // Every asset rolled forward from the old term into the new one.
  const SyoukyakuKikan closingTerm(old.kaisya(), roundingType);
  const SyoukyakuKikan nextTerm(kaisya, roundingType);
  for (const GenkasyoukyakuShisanPtr& asset : doc->genkasyoukyakuShisanArray())
    ShisanSyoukyaku::addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikeiForKaisya(*asset, closingTerm, nextTerm);

  doc->makeAllOutputWindowDisplayArrayVoid();
  return doc;
}

}  // namespace kivo
