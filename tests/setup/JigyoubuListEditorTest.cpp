#include <gtest/gtest.h>

#include "setup/JigyoubuListEditor.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::makeBooks;

TEST(JigyoubuListEditor, ADivisionInUseOrHoldingABalanceStaysActiveAndActiveOnesNeedUniqueNames)
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
  EXPECT_EQ(editor.setIsActive(3, false), "");
  EXPECT_EQ(std::tuple(editor.slot(1).isActive, editor.slot(2).isActive, editor.slot(3).isActive),
            std::tuple(true, true, false));

  // Active divisions need unique names.
  editor.setIsActive(4, true);
  EXPECT_EQ(std::pair(editor.validate().message, editor.validate().slot),
            std::pair(std::string("事業部 04 の名前を入力してください。"), 4));
  editor.setName(4, " 工場 ");
  editor.setName(7, "工場");  // inactive: no clash
  EXPECT_FALSE(editor.validate().isRefused());
  editor.setIsActive(7, true);
  EXPECT_EQ(std::pair(editor.validate().message, editor.validate().slot),
            std::pair(std::string("事業部 04 と 07 の名前「工場」が重複しています。"), 7));
}

TEST(JigyoubuListEditor, WriteBackKeepsRecordsAndDropsEmptySlots)
{
  auto doc = makeBooks();
  JigyoubuPtr honten = addJigyoubu(*doc, 1, "本店");
  JigyoubuPtr souko = addJigyoubu(*doc, 5, "倉庫", false);
  JigyoubuListEditor editor(*doc);
  EXPECT_EQ(std::tuple(editor.slotCount(), editor.slot(1).isActive, editor.slot(5).isActive),
            std::tuple(99, true, false));
  editor.setName(1, "本社");
  editor.setIsActive(2, true);
  editor.setName(2, "支店");
  editor.setKana(2, "shiten");
  editor.setName(9, "予備");              // named, not active: kept for later
  EXPECT_EQ(editor.writeBack(*doc), -1);  // divisions were in use already
  ASSERT_EQ(doc->jigyoubuArray().size(), 4u);
  EXPECT_EQ(std::pair(doc->jigyoubuArray()[0], honten->name()), std::pair(honten, std::string("本社")));
  EXPECT_EQ(doc->jigyoubuArray()[1]->kana(), "SHITEN");
  EXPECT_EQ(doc->jigyoubuArray()[2], souko);
  EXPECT_EQ(std::pair(souko->name(), souko->isActive()), std::pair(std::string("倉庫"), false));
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
  const KamokuPtr genkin = doc->kamokuOfCode(100);
  EXPECT_EQ((std::vector{genkin->startBalanceOfJigyoubuCode(3), genkin->startBalanceOfJigyoubuCode(6),
                         genkin->startBalanceOfJigyoubuCode(99), doc->kamokuOfCode(270)->startBalanceOfJigyoubuCode(3),
                         sub->startBalanceOfJigyoubuCode(3)}),
            (std::vector<int64_t>{700, 0, 700, 700, 40}));
}

}  // namespace
}  // namespace kivo
