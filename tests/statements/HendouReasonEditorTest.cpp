// The change-reason editor on the fixture corporation: the reasons' names and order,
// and the entries' assignment in journal order.
#include <gtest/gtest.h>

#include "statements/HendouReasonEditor.h"
#include "statements/KaisyahouBooks.h"

namespace kivo::test {
namespace {

class HendouReasonEditorTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    doc = makeKaisyahouBooks();
    bookFixtureTerm(*doc);
    // Four equity entries, booked out of date order.
    e[2] = book(*doc, Date(2024, 11, 30), "普通預金", "資本金", 30'000);
    e[0] = book(*doc, Date(2024, 9, 30), "繰越利益剰余金", "未払配当金", 100'000);
    e[3] = book(*doc, Date(2025, 1, 31), "普通預金", "資本金", 40'000);
    e[1] = book(*doc, Date(2024, 10, 31), "普通預金", "資本金", 20'000);
    e[0]->setTekiyou("剰余金の配当");
    e[1]->setTekiyou("新株の発行");
    e[3]->setTekiyou("新株の発行");
    doc->updateHendouReasonArray();
    doc->updateChangeCount(MyDocument::ChangeType::Cleared);
  }
  std::vector<std::string> names() const
  {
    std::vector<std::string> out;
    for (const auto& r : doc->hendouReasonArray()) out.push_back(r->reasonString());
    return out;
  }
  std::vector<ShiwakePtr> entriesOf(const std::string& name) const
  {
    return editor().reasonNamed(name)->shiwakeArray();
  }
  HendouReasonEditor editor() const { return HendouReasonEditor(*doc); }

  std::unique_ptr<MyDocument> doc;
  ShiwakePtr e[4];
};

const std::vector<std::string> kFixed = {"no reason", "当期純損益", "株主資本以外の項目の当期変動額(純額)"};

TEST_F(HendouReasonEditorTest, AddFromAnEntryNamesTheReasonAfterItsDescriptionAddTheFirstFreeNewReason)
{
  HendouReasonEditor ed = editor();
  // e[3] first: the reason made for it then receives e[1] before it, in journal order.
  EXPECT_EQ(ed.addReasonFromShiwake(e[3])->reasonString(), "新株の発行");
  EXPECT_EQ(ed.addReasonFromShiwake(e[1])->reasonString(), "新株の発行");
  EXPECT_EQ(entriesOf("新株の発行"), (std::vector<ShiwakePtr>{e[1], e[3]}));
  EXPECT_EQ(e[1]->hendouReasonStr(), "新株の発行");
  // Already with a reason, without description, or described as 理由なし (how "no
  // reason" is shown): nothing.
  e[0]->setTekiyou("理由なし");
  EXPECT_EQ(std::tuple(ed.addReasonFromShiwake(e[1]), ed.addReasonFromShiwake(e[2]), ed.addReasonFromShiwake(e[0]),
                       names().size()),
            std::tuple(nullptr, nullptr, nullptr, 4u));
  EXPECT_EQ(entriesOf("no reason"), (std::vector<ShiwakePtr>{e[0], e[2]}));

  // A new reason takes the first free name.
  EXPECT_EQ(ed.addReason()->reasonString(), "新しい理由");
  EXPECT_EQ(ed.addReason()->reasonString(), "新しい理由 2");
  ed.rename(ed.reasonNamed("新しい理由 2"), "新しい理由 3");
  EXPECT_EQ(ed.addReason()->reasonString(), "新しい理由 2");
  EXPECT_EQ(std::tuple(doc->isDocumentEdited(), ed.noReasonHoldsShiwake()), std::tuple(true, true));
}

TEST_F(HendouReasonEditorTest, RenameRefusesEmptyTakenAndFixedNames)
{
  HendouReasonEditor ed = editor();
  const HendouReasonPtr r = ed.addReasonFromShiwake(e[0]);
  const HendouReasonPtr other = ed.addReason();
  using Case = std::tuple<HendouReasonPtr, std::string, bool>;
  for (const auto& [reason, name, ok] :
       {Case{r, "", false}, Case{r, "新しい理由", false}, Case{r, "no reason", false}, Case{r, "理由なし", false},
        Case{r, "剰余金の配当", true}, Case{ed.reasonNamed("当期純損益"), "x", false}, Case{other, "配当", true}})
    EXPECT_EQ(ed.rename(reason, name), ok) << name;
  EXPECT_TRUE(ed.rename(r, "利益の配当"));
  EXPECT_EQ(e[0]->hendouReasonStr(), "利益の配当");
}

TEST_F(HendouReasonEditorTest, RemoveReturnsTheEntriesToNoReasonInJournalOrderThenReorderAndMove)
{
  HendouReasonEditor ed = editor();
  const HendouReasonPtr r = ed.addReason();
  ASSERT_TRUE(ed.moveShiwake(e[3], r));
  ASSERT_TRUE(ed.moveShiwake(e[1], r));
  EXPECT_EQ(entriesOf("新しい理由"), (std::vector<ShiwakePtr>{e[1], e[3]}));
  EXPECT_EQ(entriesOf("no reason"), (std::vector<ShiwakePtr>{e[0], e[2]}));
  EXPECT_TRUE(ed.removeReason(r));
  EXPECT_EQ(std::tuple(names(), entriesOf("no reason"), e[3]->hendouReasonStr()),
            std::tuple(kFixed, std::vector<ShiwakePtr>{e[0], e[1], e[2], e[3]}, "no reason"));
  for (const std::string& fixed : kFixed) EXPECT_FALSE(ed.removeReason(ed.reasonNamed(fixed))) << fixed;

  // Reorder reasons and move entries.
  const HendouReasonPtr a = ed.addReason();
  const HendouReasonPtr b = ed.addReason();
  // [no reason, 当期純損益, 純額, a, b]: a from index 3 to child index 5 stands last;
  // index 0 is refused, and "no reason" never moves.
  const std::tuple<HendouReasonPtr, int, bool, std::vector<std::string>> cases[] = {
      {a, 5, true, {kFixed[0], kFixed[1], kFixed[2], "新しい理由 2", "新しい理由"}},
      {a, 1, true, {kFixed[0], "新しい理由", kFixed[1], kFixed[2], "新しい理由 2"}},
      {b, 0, false, {kFixed[0], "新しい理由", kFixed[1], kFixed[2], "新しい理由 2"}},
      {ed.reasonNamed("no reason"), 3, false, {kFixed[0], "新しい理由", kFixed[1], kFixed[2], "新しい理由 2"}}};
  for (const auto& [reason, childIndex, ok, after] : cases) {
    EXPECT_EQ(ed.moveReason(reason, childIndex), ok) << childIndex;
    EXPECT_EQ(names(), after);
  }
  const bool toProfit = ed.moveShiwake(e[0], ed.reasonNamed("当期純損益"));
  const bool toB = ed.moveShiwake(e[0], b);
  EXPECT_EQ(std::tuple(toProfit, toB, ed.moveShiwake(e[0], b), ed.reasonOfShiwake(e[0].get())),
            std::tuple(false, true, false, b));
  // The document's own rebuild agrees with the editor.
  doc->hendouReasonArrayDidChange();
  doc->updateHendouReasonArray();
  EXPECT_EQ(entriesOf("新しい理由 2"), (std::vector<ShiwakePtr>{e[0]}));
}

}  // namespace
}  // namespace kivo::test
