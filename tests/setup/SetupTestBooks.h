// Small documents for the tests of the setup logic: a company with the shipped chart,
// divisions and entries made on demand.
#pragma once

#include <memory>
#include <string>

#include "document/MyDocument.h"
#include "model/KamokuKubun.h"

namespace kivo::test {

inline std::unique_ptr<MyDocument> makeSetupBooks(bool houjin = true)
{
  auto doc = std::make_unique<MyDocument>();
  doc->kaisya().setName("テスト商事");
  doc->kaisya().setIsHoujin(houjin);
  doc->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
  doc->setRootKamokuKubun(KamokuKubun::rootKamokuKubunForKaisya(doc->kaisya()));
  return doc;
}

inline JigyoubuPtr addJigyoubu(MyDocument& doc, int32_t code, const std::string& name, bool active = true)
{
  auto j = std::make_shared<Jigyoubu>();
  j->setCode(code);
  j->setName(name);
  j->setIsActive(active);
  doc.jigyoubuArray().push_back(j);
  return j;
}

// One registered entry: debit account (sub-account, division) against credit account.
inline ShiwakePtr addShiwake(MyDocument& doc, int32_t kari, int32_t kashi, int64_t amount, int32_t kariHojyo = -1,
                             int32_t jigyoubu = -1, int32_t denpyouNo = 1)
{
  auto s = std::make_shared<Shiwake>();
  s->setDate(Date(2024, 5, 1));
  s->setDenpyouNo(denpyouNo);
  s->setKarikataKamokuCode(kari);
  s->setKarikataHojyoKamokuCode(kariHojyo);
  s->setKarikataJigyoubuCode(jigyoubu);
  s->setKarikataKingaku(amount);
  s->setKashikataKamokuCode(kashi);
  s->setKashikataJigyoubuCode(jigyoubu);
  s->setKashikataKingaku(amount);
  doc.journal().append(s);
  return s;
}

}  // namespace kivo::test
