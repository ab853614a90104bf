// The books of the sub-account balance list's tests: 売掛金 with customers A, B, C kept
// by divisions 1 and 2, and 普通預金 with two banks.
#pragma once

#include "trial/TrialBooks.h"

namespace kivo::test {

inline ShiwakePtr addHojyoShiwake(MyDocument& doc, Date date, int32_t kari, int32_t kariHojyo, int32_t kashi,
                                  int32_t kashiHojyo, int64_t amount, int32_t jigyoubu)
{
  ShiwakePtr s = addShiwake(doc, date, kari, kashi, amount, jigyoubu);
  s->setKarikataHojyoKamokuCode(kariHojyo);
  s->setKashikataHojyoKamokuCode(kashiHojyo);
  return s;
}

// Opening balances A 1,000 (1) and 500 (2), B 2,000 (1), C 300 (2), with stored
// company figures that disagree with them. April: A buys 400 (1). May to August: B
// buys 1,000 (1), A pays 300 (2), C buys 200 (2), B pays 500 (1), りそな receives 700
// (1). After August, and unregistered: more of A, which never counts in those months.
inline std::unique_ptr<MyDocument> makeHojyoZandakaBooks()
{
  auto doc = makeTrialBooks(ChartKind::HoujinOlder);
  addJigyoubu(*doc, 1);
  addJigyoubu(*doc, 2);
  const auto addSubs = [&](const std::string& kamoku, std::vector<std::string> names) {
    const KamokuPtr k = kamokuNamed(*doc, kamoku);
    for (size_t i = 0; i < names.size(); ++i) addHojyoKamoku(*k, static_cast<int32_t>(i + 1), names[i]);
    return k;
  };
  const KamokuPtr urikake = addSubs("売掛金", {"A商店", "B商店", "C商店"});
  const KamokuPtr yokin = addSubs("普通預金", {"みずほ", "りそな"});
  const std::vector<HojyoKamokuPtr>& subs = urikake->hojyoKamokuArray();
  subs[0]->setStartBalance(1000, 1);
  subs[0]->setStartBalance(500, 2);
  subs[1]->setStartBalance(2000, 1);
  subs[2]->setStartBalance(300, 2);
  subs[0]->setStartBalance(7777, 99);
  urikake->setStartBalance(3000, 1);
  urikake->setStartBalance(800, 2);
  urikake->setStartBalance(9999, 99);
  const int32_t uri = codeOf(*doc, "売上高");
  const int32_t genkin = codeOf(*doc, "現金");
  const int32_t u = urikake->code();
  addHojyoShiwake(*doc, Date(2024, 4, 10), u, 1, uri, -1, 400, 1);
  addHojyoShiwake(*doc, Date(2024, 5, 5), u, 2, uri, -1, 1000, 1);
  addHojyoShiwake(*doc, Date(2024, 5, 20), genkin, -1, u, 1, 300, 2);
  addHojyoShiwake(*doc, Date(2024, 6, 1), u, 3, uri, -1, 200, 2);
  addHojyoShiwake(*doc, Date(2024, 6, 2), yokin->code(), 2, uri, -1, 700, 1);
  addHojyoShiwake(*doc, Date(2024, 7, 1), genkin, -1, u, 2, 500, 1);
  addHojyoShiwake(*doc, Date(2024, 10, 1), u, 1, uri, -1, 999, 1);
  addHojyoShiwake(*doc, Date(2024, 6, 2), u, 1, uri, -1, 777, 1)->setDenpyouNo(0);
  return doc;
}

}  // namespace kivo::test
