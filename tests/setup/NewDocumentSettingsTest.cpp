#include <gtest/gtest.h>

#include "document/MyDocument.h"
#include "model/KamokuKubun.h"
#include "setup/NewDocumentSettings.h"

namespace kivo {
namespace {

NewDocumentSettings corporation()
{
  NewDocumentSettings s;
  s.term.name = "  テスト商事 ";
  s.term.termNoText = "5";
  s.term.startDate = Date(2024, 4, 1);
  s.term.endDate = Date(2025, 3, 31);
  return s;
}

std::vector<KamokuPtr> accountsOf(const MyDocument& doc)
{
  std::vector<KamokuPtr> all;
  doc.rootKamokuKubun()->getChildrenKamokuArray(all);
  return all;
}

bool isActive(const MyDocument& doc, int32_t code) { return doc.kamokuOfCode(code)->isActive(); }

TEST(NewDocumentSettings, FillsTheCompanyAndBuildsTheChartOfItsKindForEveryKindOfBooks)
{
  MyDocument doc;
  NewDocumentSettings s = corporation();
  s.applyToDocument(doc);
  const Kaisya& k = doc.kaisya();
  EXPECT_EQ(std::tuple(k.name(), k.isHoujin(), k.termNo(), k.minAvailableDenpyouNo(),
                       k.minAvailableRegularTypeDenpyouNo(), k.monthArray().size(), k.termStartDate(), k.termEndDate()),
            std::tuple(std::string("テスト商事"), true, 5, 1, 1, size_t{12}, Date(2024, 4, 1), Date(2025, 3, 31)));
  EXPECT_EQ(doc.rootKamokuKubun()->pListResource(), KamokuKubun::kKaisyahouChartName);
  EXPECT_FALSE(doc.codeSortedKamokuArray().empty());

  MyDocument older;
  s.useKaisyahouChart = false;
  s.applyToDocument(older);
  EXPECT_EQ(older.rootKamokuKubun()->pListResource(), KamokuKubun::kOlderChartName);
  EXPECT_TRUE(older.rootKamokuKubun()->childForName("資本の部"));

  // A corporation is never a household book, whatever the box said.
  MyDocument corp;
  s.term.isKakeibo = true;
  s.applyToDocument(corp);
  EXPECT_FALSE(corp.kaisya().isKakeibo());

  // A sole proprietor keeps the year text; a household book drops the industry.
  MyDocument sole;
  s = corporation();
  s.term.isHoujin = false;
  s.term.termNoText = " 令和6 ";
  s.term.isKakeibo = true;
  s.isSeizou = true;
  s.isKensetu = true;
  s.applyToDocument(sole);
  const Kaisya& soleKaisya = sole.kaisya();
  EXPECT_EQ(std::tuple(soleKaisya.isHoujin(), soleKaisya.isKakeibo(), soleKaisya.isSeizou(), soleKaisya.isKensetu(),
                       soleKaisya.termYear()),
            std::tuple(false, true, false, false, std::string("令和6")));
  EXPECT_TRUE(sole.rootKamokuKubun()->childForName("支出"));
}

TEST(NewDocumentSettings, IndustryTurnsOnTheCostAccountsOfEveryShippedChart)
{
  MyDocument plain, seizou, kensetu;
  corporation().applyToDocument(plain);
  NewDocumentSettings s = corporation();
  s.isSeizou = true;
  s.applyToDocument(seizou);
  s.isSeizou = false;
  s.isKensetu = true;
  s.applyToDocument(kensetu);

  // Materials (groups 9 to 11), labour, expenses, subcontracting, work in process.
  for (int32_t code : {600, 601, 602, 610, 620, 650, 670, 671})
    EXPECT_EQ(std::tuple(isActive(plain, code), isActive(seizou, code), isActive(kensetu, code)),
              std::tuple(false, true, true))
        << code;
  // The construction accounts only for construction.
  for (int32_t code : {112, 119, 202, 212, 301, 651}) {
    EXPECT_FALSE(isActive(seizou, code) && code != 651) << code;
    EXPECT_TRUE(isActive(kensetu, code)) << code;
  }
  // Nothing else is touched: only inactive accounts of the cost categories or named
  // for construction became active.
  const std::vector<KamokuPtr> before = accountsOf(plain);
  const std::vector<KamokuPtr> after = accountsOf(seizou);
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i)
    if (before[i]->isActive()) { EXPECT_TRUE(after[i]->isActive()) << before[i]->code(); }
  int newlyActive = 0;
  for (size_t i = 0; i < before.size(); ++i)
    if (!before[i]->isActive() && after[i]->isActive()) {
      ++newlyActive;
      EXPECT_GE(after[i]->code(), 600) << after[i]->name();
    }
  EXPECT_GT(newlyActive, 20);

  // Every shipped chart has cost accounts to turn on.
  for (bool houjin : {true, false})
    for (bool kaisyahou : {true, false}) {
      MyDocument doc;
      NewDocumentSettings s = corporation();
      s.term.isHoujin = houjin;
      s.useKaisyahouChart = kaisyahou;
      s.isSeizou = true;
      s.applyToDocument(doc);
      int cost = 0;
      for (const KamokuPtr& k : accountsOf(doc))
        if (k->isActive() && k->group() >= 9 && k->group() <= 13) ++cost;
      EXPECT_GE(cost, 4) << houjin << kaisyahou;
    }
}

}  // namespace
}  // namespace kivo
