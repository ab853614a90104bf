#include <gtest/gtest.h>

#include "fields/FieldsTestDocument.h"
#include "fields/FormatterList.h"
#include "fields/TekiyouFormatter.h"

namespace kivo {
namespace {

// The names of the rows a search shows, "*" marking the preferred one.
std::string shown(const FormatterList& list, const std::string& search)
{
  const std::vector<int> visible = list.visibleRows(search);
  const int preferred = list.preferredRow(visible, search);
  std::string out;
  for (int i : visible) {
    if (!out.empty()) out += ",";
    out += (i == preferred ? "*" : "") + list.rows()[i].name;
  }
  return out;
}

TEST(FormatterList, AccountSubAccountDivisionAndDescriptionLists)
{
  auto doc = test::makeFieldsTestDocument();
  const FormatterList plain = FormatterList::kamokuList(doc->codeSortedActiveKamokuArray(), false);
  EXPECT_EQ(plain.rows().size(), 10u);  // active accounts only
  const FormatterList withSubs = FormatterList::kamokuList(doc->codeSortedActiveKamokuArray(), true);
  EXPECT_EQ(withSubs.rows().size(), 14u);  // and the four active sub-accounts

  // The search text and the rows shown, "*" marking the preferred one.
  const std::pair<const char*, const char*> cases[] = {
      {"GEN", "*現金,現金過不足"},
      {"genkink", "*現金過不足"},
      {"11", "*当座預金,みずほ銀行,三井銀行,りそな銀行,普通預金"},  // a matching account shows its subs
      {"MITSUI", "当座預金,*三井銀行"},                             // a matching sub shows its account
      {"預金", "*当座預金,みずほ銀行,三井銀行,りそな銀行,普通預金"},
      {"XYZ", ""},
  };
  for (const auto& [search, expected] : cases) EXPECT_EQ(shown(withSubs, search), expected) << search;
  const std::vector<int> all = withSubs.visibleRows("");
  EXPECT_EQ(all.size(), withSubs.rows().size());
  EXPECT_EQ(withSubs.rows()[withSubs.preferredRow(all, "")].name, "現金");

  const int mitsui = withSubs.preferredRow(withSubs.visibleRows("MITSUI"), "MITSUI");
  EXPECT_EQ(withSubs.rows()[mitsui].code, 110);
  EXPECT_EQ(withSubs.rows()[mitsui].hojyoCode, 2);

  // Sub-account and division lists.
  const FormatterList subs = FormatterList::hojyoKamokuList(*doc->kamokuOfCode(110));
  EXPECT_EQ(shown(subs, ""), "*みずほ銀行,三井銀行,りそな銀行");
  EXPECT_EQ(shown(subs, "1"), "*みずほ銀行,りそな銀行");  // 01 by its value, 10 by its digits
  EXPECT_EQ(shown(subs, "0"), "*みずほ銀行,三井銀行");

  EXPECT_EQ(shown(FormatterList::jigyoubuList(*doc, false), ""), "*本社,工場,支店,支社");
  EXPECT_EQ(shown(FormatterList::jigyoubuList(*doc, true), "SI"), "*支店,支社");
  EXPECT_EQ(shown(FormatterList::jigyoubuList(*doc, true), "99"), "*すべての事業部");

  // Descriptions under their groups.
  TekiyouFormatter f(*doc);
  f.setPrimeGroupNameToSearchFromFirstKamokuCode(500, std::nullopt);
  const FormatterList list = FormatterList::tekiyouList(f.searchOrderedTekiyouGroupArray());
  EXPECT_EQ(shown(list, "TAXI"), "旅費交通費,*タクシー代 出張,その他,タクシー代");
  EXPECT_EQ(shown(list, "電"), "旅費交通費,*電車代,その他,電話代");
  EXPECT_EQ(shown(list, "旅費"), "旅費交通費,*電車代,タクシー代 出張");  // a group shows its descriptions
  EXPECT_FALSE(list.rows()[0].selectable);
}

}  // namespace
}  // namespace kivo
