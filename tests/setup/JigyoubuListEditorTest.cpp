#include <gtest/gtest.h>

#include "setup/JigyoubuListEditor.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::makeBooks;

TEST(JigyoubuListEditor, ADivisionInUseOrHoldingABalanceStaysActive)
{
  auto doc = makeBooks();
  addJigyoubu(*doc, 1, "本店");
  addJigyoubu(*doc, 2, "支店");
  addJigyoubu(*doc, 3, "倉庫");
  addShiwake(*doc, 100, 300, 10, -1, 1);
  auto sub = std::make_shared<HojyoKamoku>();
  sub->setCode(1);
  sub->setStartBalance(5, 2);
  doc->kamokuOfCode(103)->hojyoKamokuArray().push_back(sub);
  JigyoubuListEditor editor(*doc);
  EXPECT_NE(editor.setIsActive(1, false).find("仕訳で使われている"), std::string::npos);
  EXPECT_NE(editor.setIsActive(2, false).find("開始残高（「普通預金」ほか）がある"), std::string::npos);
  EXPECT_TRUE(editor.slot(1).isActive);
  EXPECT_TRUE(editor.slot(2).isActive);
  EXPECT_EQ(editor.setIsActive(3, false), "");
  EXPECT_FALSE(editor.slot(3).isActive);
}

TEST(JigyoubuListEditor, ActiveDivisionsNeedUniqueNames)
{
  auto doc = makeBooks();
  JigyoubuListEditor editor(*doc);
  editor.setIsActive(4, true);
  EXPECT_EQ(editor.validate().message, "事業部 04 の名前を入力してください。");
  EXPECT_EQ(editor.validate().slot, 4);
  editor.setName(4, " 本店 ");
  editor.setName(7, "本店");  // inactive: no clash
  EXPECT_FALSE(editor.validate().isRefused());
  editor.setIsActive(7, true);
  EXPECT_EQ(editor.validate().message, "事業部 04 と 07 の名前「本店」が重複しています。");
  EXPECT_EQ(editor.validate().slot, 7);
}

TEST(JigyoubuListEditor, WriteBackKeepsRecordsAndDropsEmptySlots)
{
  auto doc = makeBooks();
  JigyoubuPtr honten = addJigyoubu(*doc, 1, "本店");
  JigyoubuPtr souko = addJigyoubu(*doc, 5, "倉庫", false);
  JigyoubuListEditor editor(*doc);
  ASSERT_EQ(editor.slotCount(), 99);
  EXPECT_TRUE(editor.slot(1).isActive);
  EXPECT_FALSE(editor.slot(5).isActive);
  editor.setName(1, "本社");
  editor.setIsActive(2, true);
  editor.setName(2, "支店");
  editor.setKana(2, "shiten");
  editor.setName(9, "予備");              // named, not active: kept for later
  EXPECT_EQ(editor.writeBack(*doc), -1);  // divisions were in use already
  ASSERT_EQ(doc->jigyoubuArray().size(), 4u);
  EXPECT_EQ(doc->jigyoubuArray()[0], honten);
  EXPECT_EQ(honten->name(), "本社");
  EXPECT_EQ(doc->jigyoubuArray()[1]->kana(), "SHITEN");
  EXPECT_EQ(doc->jigyoubuArray()[2], souko);
  EXPECT_EQ(souko->name(), "倉庫");
  EXPECT_FALSE(souko->isActive());
  EXPECT_FALSE(doc->jigyoubuArray()[3]->isActive());
  EXPECT_EQ(doc->numberOfActiveJigyoubu(), 2);
}

TEST(JigyoubuListEditor, FirstDivisionsTakeOverTheCompanyOpeningBalances)
{
  auto doc = makeBooks();
  doc->kamokuOfCode(100)->setStartBalance(700, 99);
  doc->kamokuOfCode(270)->setStartBalance(700, 99);
  auto sub = std::make_shared<HojyoKamoku>();
  sub->setCode(1);
  sub->setStartBalance(40, 99);
  doc->kamokuOfCode(103)->hojyoKamokuArray().push_back(sub);
  JigyoubuListEditor editor(*doc);
  for (int i : {3, 6}) {
    editor.setIsActive(i, true);
    editor.setName(i, "部門" + std::to_string(i));
  }
  EXPECT_EQ(editor.writeBack(*doc), 3);
  // The company figure is still the sum of the divisions.
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(3), 700);
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(6), 0);
  EXPECT_EQ(doc->kamokuOfCode(100)->startBalanceOfJigyoubuCode(99), 700);
  EXPECT_EQ(doc->kamokuOfCode(270)->startBalanceOfJigyoubuCode(3), 700);
  EXPECT_EQ(sub->startBalanceOfJigyoubuCode(3), 40);
}

}  // namespace
}  // namespace kivo
