#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/Kaisya.h"
#include "model/KamokuChartTemplate.h"
#include "model/KamokuKubun.h"

namespace kivo {
namespace {

// ---------------------------------------------------------------------------------
// The charts the program ships, one per company kind.

enum class Kind { Kaisyahou, Older, Kojin, Kakeibo };

struct ChartCase {
  const char* label;  // also the test's name
  Kind kind;
  const char* pListResource;
  // Every category the reports look up by name, which therefore must exist.
  std::vector<std::string> categories;
  // The exact set of group numbers the chart uses (0 aside).
  std::set<int> groups;
};

const std::vector<std::string> kAssetAndLiabilityCategories = {"流動資産", "有形固定資産", "無形固定資産", "投資等",
                                                               "繰延資産", "流動負債",     "固定負債",     "引当金"};
const std::vector<std::string> kIncomeCategories = {"販売費及び一般管理費", "営業外収益", "営業外費用", "特別利益",
                                                    "特別損失"};
const std::vector<std::string> kCostCategories = {"労務費", "経費", "外注加工費"};

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts)
{
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const std::vector<ChartCase>& chartCases()
{
  static const std::vector<ChartCase> cases = {
      {"Kaisyahou",
       Kind::Kaisyahou,
       "Kamoku20060501",
       concat({kAssetAndLiabilityCategories, {"純資産の部"}, kIncomeCategories, kCostCategories}),
       {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30}},
      {"Older",
       Kind::Older,
       "Kamoku",
       concat({kAssetAndLiabilityCategories, {"資本の部"}, kIncomeCategories, kCostCategories}),
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 18, 19, 20}},
      {"Kojin",
       Kind::Kojin,
       "Kamoku",
       concat({kAssetAndLiabilityCategories,
               {"資本の部", "販売費及び一般管理費", "営業外収益", "特別利益", "特別損失"},
               kCostCategories}),
       {1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
      {"Kakeibo",
       Kind::Kakeibo,
       "Kamoku",
       {"流動資産", "有形固定資産", "投資等", "流動負債", "固定負債", "資本の部"},
       {1, 2, 3, 14, 15, 18}},
  };
  return cases;
}

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ChartCase& c, std::ostream* os) { *os << c.label; }

Kaisya kaisyaOfKind(Kind kind)
{
  Kaisya k;
  k.setIsHoujin(kind == Kind::Kaisyahou || kind == Kind::Older);
  k.setIsKakeibo(kind == Kind::Kakeibo);
  return k;
}

KamokuKubunPtr chartOf(Kind kind)
{
  return KamokuKubun::rootKamokuKubunForKaisya(kaisyaOfKind(kind), kind != Kind::Older);
}

std::vector<KamokuPtr> accountsOf(const KamokuKubun& root)
{
  std::vector<KamokuPtr> all;
  root.getChildrenKamokuArray(all);
  return all;
}

class ShippedChart : public ::testing::TestWithParam<ChartCase> {};

TEST_P(ShippedChart, IsTheChartOfItsKindWithUniqueNamesAndTheMarksGroupsAndFlagsItsReportsRead)
{
  const ChartCase& c = GetParam();
  KamokuKubunPtr root = chartOf(c.kind);
  EXPECT_EQ(root->pListResource(), c.pListResource);

  // Manufacturing and construction are flags, not charts; a sole proprietor or a
  // household has one chart whatever the corporate chart choice says.
  Kaisya flagged = kaisyaOfKind(c.kind);
  flagged.setIsSeizou(true);
  flagged.setIsKensetu(true);
  EXPECT_EQ(&KamokuChartTemplate::templateForKaisya(flagged, c.kind != Kind::Older),
            &KamokuChartTemplate::templateForKaisya(kaisyaOfKind(c.kind), c.kind != Kind::Older));
  if (c.kind == Kind::Kojin || c.kind == Kind::Kakeibo) {
    EXPECT_EQ(&KamokuChartTemplate::templateForKaisya(kaisyaOfKind(c.kind), false),
              &KamokuChartTemplate::templateForKaisya(kaisyaOfKind(c.kind), true));
  }
  // A corporation never gets the household chart.
  if (c.kind == Kind::Kaisyahou || c.kind == Kind::Older) {
    flagged.setIsKakeibo(true);
    EXPECT_EQ(&KamokuChartTemplate::templateForKaisya(flagged, c.kind != Kind::Older),
              &KamokuChartTemplate::templateForKaisya(kaisyaOfKind(c.kind), c.kind != Kind::Older));
  }

  // Categories are unique and hold their accounts directly.
  std::set<std::string> names;
  for (const KamokuKubunPtr& child : root->children()) {
    EXPECT_TRUE(names.insert(child->kubunName()).second) << "category " << child->kubunName() << " twice";
    EXPECT_TRUE(child->children().empty()) << child->kubunName() << " has sub-categories";
  }
  EXPECT_TRUE(root->childrenKamoku().empty()) << "accounts directly under the root";
  for (const std::string& name : c.categories) {
    KamokuKubunPtr found = root->childForName(name);
    ASSERT_TRUE(found) << "category " << name << " missing";
    EXPECT_EQ(found->kubunName(), name);
    EXPECT_FALSE(found->childrenKamoku().empty()) << "category " << name << " is empty";
  }
  // The capital part is named after the chart's layout.
  const bool netAssets = c.kind == Kind::Kaisyahou;
  EXPECT_EQ(root->childForName("純資産の部") != nullptr, netAssets);
  EXPECT_EQ(root->childForName("資本の部") != nullptr, !netAssets);

  // Codes, names and kana identify each account.
  std::set<int> codes;
  names.clear();
  for (const KamokuPtr& k : accountsOf(*root)) {
    EXPECT_GE(k->code(), 100) << k->name();
    EXPECT_LE(k->code(), 998) << k->name();
    EXPECT_TRUE(codes.insert(k->code()).second) << "code " << k->code() << " twice";
    EXPECT_TRUE(names.insert(k->name()).second) << "name " << k->name() << " twice";
    EXPECT_NE(k->name(), "諸口");
    EXPECT_FALSE(k->kana().empty()) << k->name();
    for (char ch : k->kana())
      EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) << k->name() << " kana " << k->kana();
    // What a user types finds exactly this account (three digits each: no code
    // begins another).
    EXPECT_EQ(root->matchKamokuCode(std::to_string(k->code()), true), k);
    if (k->isActive()) { EXPECT_EQ(root->kamokuForName(k->name()), k); }
  }

  // Which report takes each account is the trial balance's own test, run over these
  // charts; here only the mark that carries a balance into the next term: every account
  // of the asset, liability and capital categories has it (the older chart's profit
  // brought forward too, which reaches the balance sheet through the income
  // statement's unappropriated profit), no other. Which equity accounts the
  // carry-forward picks is its own test's; here the kinds it reads.
  std::set<std::string> balanceSheet(kAssetAndLiabilityCategories.begin(), kAssetAndLiabilityCategories.end());
  balanceSheet.insert({"純資産の部", "資本の部"});
  for (const KamokuKubunPtr& kubun : root->children())
    for (const KamokuPtr& k : kubun->childrenKamoku()) {
      const bool shown = balanceSheet.count(kubun->kubunName()) != 0;
      EXPECT_EQ((k->type() & 0x100) != 0, shown) << k->code() << " " << k->name() << " type " << k->type();
      const uint32_t bits = k->type() & ~Kamoku::kTypeA;  // the kind, without the mark
      EXPECT_TRUE(bits == 0 || bits == Kamoku::kTypeF || bits == Kamoku::kTypeO || bits == Kamoku::kTypeB ||
                  bits == Kamoku::kTypeP)
          << k->name() << " type " << k->type();
      // Only type f carries its own closing balance.
      EXPECT_EQ(k->doSetEndBalanceToStartBalanceWhenKurikoshi(), bits == Kamoku::kTypeF) << k->name();
    }

  // Groups have the nature their rows expect.
  std::map<int, std::vector<KamokuPtr>> byGroup;
  for (const KamokuPtr& k : accountsOf(*root))
    if (k->group() != 0) byGroup[k->group()].push_back(k);
  std::set<int> used;
  for (const auto& [g, ks] : byGroup) used.insert(g);
  EXPECT_EQ(used, c.groups);

  // Sales and income are credit-natured, stock at the start and purchases debit,
  // stock at the end credit (subtracted by the rows that read them). A contra
  // account of the other nature may sit beside them, but not as the only one.
  const std::map<int, bool> debitNatured = {{1, true},   {3, false},  {4, true},   {5, true},   {6, false},
                                            {7, true},   {9, true},   {10, false}, {11, true},  {12, true},
                                            {13, false}, {14, false}, {15, true},  {16, false}, {17, true},
                                            {18, false}, {19, false}, {20, false}, {24, false}, {25, false}};
  for (const auto& [g, debit] : debitNatured) {
    if (!byGroup.count(g)) continue;
    bool anyActiveOfNature = false;
    for (const KamokuPtr& k : byGroup[g])
      if (k->isActive() && k->isKarikataKamoku() == debit) anyActiveOfNature = true;
    const bool allInactive =
        std::none_of(byGroup[g].begin(), byGroup[g].end(), [](const KamokuPtr& k) { return k->isActive(); });
    EXPECT_TRUE(anyActiveOfNature || allInactive) << "group " << g;
  }
  // Only the first account of these groups is read: a second would be lost.
  for (int g : {9, 10, 12, 13}) {
    if (byGroup.count(g)) { EXPECT_EQ(byGroup[g].size(), 1u) << "group " << g; }
  }

  // The flags.
  for (const char* name : {"現金", "普通預金"}) {
    KamokuPtr k = root->kamokuForName(name);
    ASSERT_TRUE(k) << name;
    EXPECT_TRUE(k->isSuitouKamoku()) << name;
  }
  if (c.kind != Kind::Kakeibo) {
    for (const char* name :
         {"建物", "建物附属設備", "構築物", "機械装置", "車両運搬具", "工具器具備品", "ソフトウェア"}) {
      KamokuPtr k = root->kamokuForName(name);
      ASSERT_TRUE(k) << name;
      EXPECT_TRUE(k->isGenkasyoukyakuShisanKamoku()) << name;
    }
    for (const char* name : {"機械装置", "工具器具備品"})
      EXPECT_TRUE(root->kamokuForName(name)->isSyoukyakushisanShinkokusyoKamoku()) << name;
    for (const char* name : {"土地", "建物", "車両運搬具", "ソフトウェア"})
      EXPECT_FALSE(root->kamokuForName(name)->isSyoukyakushisanShinkokusyoKamoku()) << name;
  }

  std::set<const Kamoku*> fixedAssets, tangible;
  for (const char* cat : {"有形固定資産", "無形固定資産", "投資等", "繰延資産"})
    if (KamokuKubunPtr k = root->childForName(cat))
      for (const KamokuPtr& a : k->childrenKamoku()) {
        fixedAssets.insert(a.get());
        if (std::string(cat) == "有形固定資産") tangible.insert(a.get());
      }
  std::set<const Kamoku*> equity;
  if (KamokuKubunPtr netAssets = root->childForName("純資産の部"))
    for (const KamokuPtr& a : netAssets->childrenKamoku()) equity.insert(a.get());

  for (const KamokuPtr& k : accountsOf(*root)) {
    if (k->isSuitouKamoku()) {
      EXPECT_TRUE(k->group() == 1 || k->group() == 2) << k->name() << ": cash books are for money";
    }
    if (k->isGenkasyoukyakuShisanKamoku()) {
      EXPECT_TRUE(fixedAssets.count(k.get()) && k->isKarikataKamoku()) << k->name();
    }
    if (k->isSyoukyakushisanShinkokusyoKamoku()) {
      EXPECT_TRUE(tangible.count(k.get()) && k->isGenkasyoukyakuShisanKamoku()) << k->name();
    }
    // The statement of changes in net assets follows every equity account, and only those.
    EXPECT_EQ(k->isKabunushiShihonKamoku(), equity.count(k.get()) == 1) << k->name();
  }

  // Every build is a fresh tree: a document's changes to its chart stay in that document.
  const std::vector<KamokuPtr> a = accountsOf(*root);
  const std::string name = a[0]->name();
  a[0]->setName("変更した科目");
  root->children()[0]->childrenKamoku().clear();
  const std::vector<KamokuPtr> b = accountsOf(*chartOf(c.kind));
  EXPECT_EQ(b.size(), a.size());
  EXPECT_EQ(b[0]->name(), name);
}

INSTANTIATE_TEST_SUITE_P(Charts, ShippedChart, ::testing::ValuesIn(chartCases()),
                         [](const ::testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.label); });

// ---------------------------------------------------------------------------------
// The parser.

const char* const kMinimal =
    "\xEF\xBB\xBF# a chart\r\n"
    "chart Test\r\n"
    "\r\n"
    "category 流動資産\r\n"
    "  100 | 現金 | GENKIN | 借 | 1 | fa | suitou, genka,shinkoku ,kabunushi | on\r\n"
    "category 流動負債\n"
    "200|未払金|MIBARAIKIN|貸|0|-|-|off\n";

// The valid account line with field `i` replaced by `v` (-1 replaces nothing).
std::string account(int i = -1, const std::string& v = "")
{
  std::vector<std::string> f = {"100", "現金", "GENKIN", "借", "1", "f", "-", "on"};
  if (i >= 0) f[i] = v;
  std::string line;
  for (const std::string& x : f) line += (line.empty() ? "" : " | ") + x;
  return line + "\n";
}

TEST(KamokuChartTemplateParse, ReadsEveryFieldAndRejectsMalformedTextNamingTheLine)
{
  std::string error;
  std::optional<KamokuChartTemplate> t = KamokuChartTemplate::parse(kMinimal, &error);
  ASSERT_TRUE(t) << error;
  KamokuKubunPtr root = t->build();
  ASSERT_EQ(root->children().size(), 2u);
  EXPECT_EQ(std::tuple(root->pListResource(), root->children()[0]->kubunName()), std::tuple("Test", "流動資産"));
  // name, kana, group, type, then debit, cash book, asset, depreciation return, equity, active
  const auto fieldsOf = [](const Kamoku& k) {
    return std::tuple(
        k.name(), k.kana(), k.group(), k.type(),
        std::vector<bool>{k.isKarikataKamoku(), k.isSuitouKamoku(), k.isGenkasyoukyakuShisanKamoku(),
                          k.isSyoukyakushisanShinkokusyoKamoku(), k.isKabunushiShihonKamoku(), k.isActive()});
  };
  EXPECT_EQ(fieldsOf(*root->kamokuOfCode(100)),
            std::tuple("現金", "GENKIN", 1, Kamoku::kTypeF | Kamoku::kTypeA, std::vector<bool>(6, true)));
  KamokuPtr payable = root->children()[1]->childrenKamoku().front();
  EXPECT_EQ(payable, root->kamokuOfCode(200));
  EXPECT_EQ(fieldsOf(*payable), std::tuple("未払金", "MIBARAIKIN", 0, 0u, std::vector<bool>(6, false)));

  // Malformed text is rejected, naming the line.
  const std::string head = "chart T\ncategory A\n";
  const std::string ok = account();
  struct Case {
    const char* what;
    std::string text;
    const char* line;  // expected in the message; nullptr for a whole-text error
  };
  const Case cases[] = {{"no chart line", "category A\n" + ok, "line 1"},
                        {"empty text", "", nullptr},
                        {"category without accounts", head, nullptr},
                        {"second chart line", head + "chart U\n" + ok, "line 3"},
                        {"chart without name", "chart\n", "line 1"},
                        {"account before a category", "chart T\n" + ok, "line 2"},
                        {"category twice", head + ok + "category A\n", "line 4"},
                        {"category without name", "chart T\ncategory\n", "line 2"},
                        {"too few fields", head + "100 | 現金 | GENKIN | 借 | 1 | f | on\n", "line 3"},
                        {"unknown directive", head + "account 100\n", "line 3"},
                        {"code twice", head + ok + account(1, "預金"), "line 4"},
                        {"name twice", head + ok + account(0, "101"), "line 4"},
                        {"not UTF-8", head + account(1, "\xE7\x8F"), nullptr},
                        {"overlong UTF-8", head + account(1, "\xC0\xAF"), nullptr},
                        {"truncated UTF-8 at the end", head + ok + "# \xE7", nullptr}};
  // Values no field of an account line takes: each refused naming line 3.
  const std::pair<int, std::vector<std::string>> badFields[] = {{0, {"99", "999", "10a"}},
                                                                {1, {"", "諸口", "現\x01金"}},
                                                                {2, {"genkin", "", "ABCDEFGHIJKLMNOPQRSTUVWXY"}},
                                                                {3, {"D"}},
                                                                {4, {"31", "-1"}},
                                                                {5, {"fp", "faa", "x"}},
                                                                {6, {"cash", "suitou,suitou", "suitou,"}},
                                                                {7, {"yes"}}};
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (const auto& [field, values] : badFields)
    for (const std::string& v : values) all.push_back({"a bad field", head + account(field, v), "line 3"});
  for (const Case& c : all) {
    std::string error;
    EXPECT_FALSE(KamokuChartTemplate::parse(c.text, &error)) << c.what << " " << c.text;
    EXPECT_FALSE(error.empty()) << c.what;
    if (c.line) { EXPECT_NE(error.find(c.line), std::string::npos) << c.what << ": " << error; }
  }
  EXPECT_TRUE(KamokuChartTemplate::parse(head + ok)) << "the cases above differ from a valid text in one point";
}

}  // namespace
}  // namespace kivo
