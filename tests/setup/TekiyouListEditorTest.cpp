#include <gtest/gtest.h>

#include "setup/TekiyouListEditor.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::makeBooks;

TEST(TekiyouListEditor, OthersGroupStandsFirstAndStays)
{
  auto doc = makeBooks();
  // A document whose "その他" is not first.
  auto genkin = std::make_shared<TekiyouGroup>("現金");
  doc->tekiyouGroupArray().insert(doc->tekiyouGroupArray().begin(), genkin);
  TekiyouListEditor editor(*doc);
  ASSERT_EQ(editor.groupCount(), 2);
  EXPECT_TRUE(editor.group(0).isOthersGroup);
  EXPECT_EQ(editor.group(1).name, "現金");
  EXPECT_FALSE(editor.removeGroup(0));

  MyDocument bare;
  bare.tekiyouGroupArray().clear();
  TekiyouListEditor fresh(bare);
  ASSERT_EQ(fresh.groupCount(), 1);
  EXPECT_EQ(fresh.group(0).name, "その他");
}

TEST(TekiyouListEditor, GroupsAreNamedAfterActiveAccountsOnceAndLeaveTheirDescriptionsInOthers)
{
  auto doc = makeBooks();
  TekiyouListEditor editor(*doc);
  const std::vector<std::string> names = editor.namesAvailableForNewGroup();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "現金");
  // Once only, and never for an inactive account (通知預金) or a name of no account.
  EXPECT_EQ((std::vector{editor.addGroup("現金"), editor.addGroup("現金"), editor.addGroup("通知預金"),
                         editor.addGroup("どこにもない")}),
            (std::vector{1, -1, -1, -1}));

  // Removing a group keeps its descriptions in その他.
  const int g = 1;
  editor.addTekiyou(g, "切手代");
  editor.addTekiyou(0, "雑費");
  EXPECT_TRUE(editor.removeGroup(g));
  ASSERT_EQ(editor.groupCount(), 1);
  ASSERT_EQ(editor.group(0).items.size(), 2u);
  EXPECT_EQ(editor.group(0).items[1].tekiyou, "切手代");
}

TEST(TekiyouListEditor, EditsMovesAndChecks)
{
  auto doc = makeBooks();
  TekiyouListEditor editor(*doc);
  const int g = editor.addGroup("普通預金");
  const int a = editor.addTekiyou(0, " 振込手数料 ");
  EXPECT_EQ(editor.group(0).items[a].tekiyou, "振込手数料");
  EXPECT_EQ(editor.setKana(0, a, "ﾌﾘｺﾐ"), std::string("カナは、半角英数字24文字以内で入力してください。"));
  EXPECT_EQ(editor.setKana(0, a, "furikomi"), "");
  EXPECT_EQ(editor.group(0).items[a].kana, "FURIKOMI");
  EXPECT_EQ(editor.moveTekiyou(0, a, g), 0);
  EXPECT_TRUE(editor.group(0).items.empty());
  editor.addTekiyou(g, "預金利息");
  EXPECT_TRUE(editor.moveTekiyouWithinGroup(g, 1, 0));
  EXPECT_EQ(editor.group(g).items[0].tekiyou, "預金利息");
  EXPECT_FALSE(editor.validate().isRefused());

  editor.addTekiyou(g, "預金利息");
  TekiyouListEditor::Refusal r = editor.validate();
  EXPECT_EQ(
      std::tuple(r.message, r.group, r.item),
      std::tuple(std::string("グループ「普通預金」の 3 行目の摘要「預金利息」は、1 行目と重複しています。"), g, 2));
  editor.setTekiyou(g, 2, " ");
  r = editor.validate();
  EXPECT_EQ(r.message, "グループ「普通預金」の 3 行目の摘要を入力してください。");
  editor.removeTekiyou(g, 2);
  EXPECT_FALSE(editor.validate().isRefused());

  editor.writeBack(*doc);
  ASSERT_EQ(doc->tekiyouGroupArray().size(), 2u);
  EXPECT_TRUE(doc->othersTekiyouGroup());
  TekiyouPtr found = doc->matchTekiyouKana("FURI", "", "");
  EXPECT_EQ(found->tekiyou(), "振込手数料");
}

}  // namespace
}  // namespace kivo
