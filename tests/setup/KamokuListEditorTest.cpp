#include <gtest/gtest.h>

#include "setup/KamokuListEditor.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::makeBooks;

constexpr int32_t kGenkin = 100;     // debit-natured, cash book
constexpr int32_t kFutsuu = 103;     // debit-natured, cash book
constexpr int32_t kUrikake = 111;    // debit-natured
constexpr int32_t kKaikake = 201;    // credit-natured
constexpr int32_t kShihonkin = 270;  // credit-natured
constexpr int32_t kUriage = 300;     // income: no opening balance

int at(const KamokuListEditor& e, int32_t code) { return e.indexOfKamokuCode(code); }

class KamokuListEditorTest : public ::testing::Test {
protected:
  int row(int32_t code) const { return editor->indexOfKamokuCode(code); }
  void open() { editor = std::make_unique<KamokuListEditor>(*doc); }

  std::unique_ptr<MyDocument> doc = makeBooks();
  std::unique_ptr<KamokuListEditor> editor;
};

TEST_F(KamokuListEditorTest, AnAccountInUseOrHoldingABalanceStaysActiveAndSaysWhy)
{
  addShiwake(*doc, kUrikake, kUriage, 1000);
  doc->kamokuOfCode(kKaikake)->setStartBalance(500, 99);
  auto sub = std::make_shared<HojyoKamoku>();
  sub->setCode(1);
  sub->setName("A銀行");
  sub->setStartBalance(70, 99);
  doc->kamokuOfCode(kFutsuu)->hojyoKamokuArray().push_back(sub);
  open();

  struct Case {
    int32_t code;
    const char* because;
  } cases[] = {{kUrikake, "仕訳で使われている"},
               {kUriage, "仕訳で使われている"},
               {kKaikake, "開始残高がある"},
               {kFutsuu, "開始残高がある"}};
  for (const Case& c : cases) {
    const std::string why = editor->setIsActive(row(c.code), false);
    EXPECT_NE(why.find(c.because), std::string::npos) << c.code << ": " << why;
    EXPECT_NE(why.find("無効にできません"), std::string::npos);
    EXPECT_TRUE(editor->row(row(c.code)).isActive);
  }
  // An account nobody uses goes, and comes back.
  EXPECT_EQ(editor->setIsActive(row(kGenkin), false), "");
  EXPECT_FALSE(editor->row(row(kGenkin)).isActive);
  EXPECT_EQ(editor->setIsActive(row(kGenkin), true), "");
  // The sub-account itself: in use through an entry, or by its balance.
  EXPECT_NE(editor->setHojyoIsActive(row(kFutsuu), 0, false).find("開始残高"), std::string::npos);
  addShiwake(*doc, kFutsuu, kUriage, 5, 1);
  open();
  EXPECT_NE(editor->setHojyoIsActive(row(kFutsuu), 0, false).find("仕訳"), std::string::npos);
}

TEST_F(KamokuListEditorTest, PendingAndRegularTypeEntriesCountAsUse)
{
  addShiwake(*doc, kGenkin, kUriage, 100, -1, -1, 0);    // a cash book's pending row
  addShiwake(*doc, kUrikake, kUriage, 100, -1, -1, -3);  // a regular-type voucher
  open();
  EXPECT_NE(editor->setIsActive(row(kGenkin), false), "");
  EXPECT_NE(editor->setIsActive(row(kUrikake), false), "");
}

TEST_F(KamokuListEditorTest, WithoutDivisionsTheCompanyFigureIsTyped)
{
  open();
  struct Case {
    int32_t code;
    int32_t jigyoubu;
    int64_t balance;
    bool taken;
  } cases[] = {
      {kGenkin, 99, 1000, true},
      {kGenkin, 1, 10, false},                                 // no such division in use
      {kUriage, 99, 10, false},                                // income starts at nothing
      {kGenkin, 99, -1, false},                                // negative
      {kGenkin, 99, Kaisya::kMaxInputAmountValue + 1, false},  // over the limit
      {kGenkin, 99, Kaisya::kMaxInputAmountValue, true},
      {kGenkin, 99, 0, true},
  };
  for (const Case& c : cases) {
    const int64_t before = editor->row(row(c.code)).startBalance.balanceOfJigyoubuCode(c.jigyoubu);
    const std::string why = editor->setStartBalance(row(c.code), c.jigyoubu, c.balance);
    EXPECT_EQ(why.empty(), c.taken) << c.code << " " << c.balance << ": " << why;
    EXPECT_EQ(editor->row(row(c.code)).startBalance.balanceOfJigyoubuCode(c.jigyoubu), c.taken ? c.balance : before);
  }
  EXPECT_TRUE(editor->row(row(kGenkin)).startBalance.isEmpty());
  // An inactive account takes no balance.
  ASSERT_EQ(editor->setIsActive(row(kGenkin), false), "");
  EXPECT_NE(editor->setStartBalance(row(kGenkin), 99, 5), "");
}

TEST_F(KamokuListEditorTest, WithDivisionsTheCompanyFigureIsTheirSum)
{
  addJigyoubu(*doc, 1, "本店");
  addJigyoubu(*doc, 2, "支店");
  addJigyoubu(*doc, 3, "閉鎖", false);
  open();
  const int g = row(kGenkin);
  EXPECT_FALSE(editor->canEditStartBalance(g, 99));
  EXPECT_FALSE(editor->canEditStartBalance(g, 3));
  EXPECT_NE(editor->setStartBalance(g, 99, 100), "");
  EXPECT_EQ(editor->setStartBalance(g, 1, 300), "");
  EXPECT_EQ(editor->setStartBalance(g, 2, 200), "");
  EXPECT_EQ(editor->row(g).startBalance.balanceOfJigyoubuCode(99), 500);
  EXPECT_EQ(editor->setStartBalance(g, 1, 0), "");
  EXPECT_EQ(editor->row(g).startBalance.balanceOfJigyoubuCode(99), 200);
  // Each division within the limit, the sum beyond it: refused, nothing changes.
  EXPECT_EQ(editor->setStartBalance(g, 1, Kaisya::kMaxInputAmountValue - 200), "");
  EXPECT_EQ(editor->row(g).startBalance.balanceOfJigyoubuCode(99), Kaisya::kMaxInputAmountValue);
  EXPECT_NE(editor->setStartBalance(g, 2, 201), "");
  EXPECT_EQ(editor->row(g).startBalance.balanceOfJigyoubuCode(2), 200);
  EXPECT_EQ(editor->row(g).startBalance.balanceOfJigyoubuCode(99), Kaisya::kMaxInputAmountValue);
}

TEST_F(KamokuListEditorTest, ChecksNameTheFirstOffendingRow)
{
  struct Case {
    const char* what;
    std::function<void(KamokuListEditor&)> edit;
    const char* expected;  // a part of the message
    int32_t kamokuCode;
    int hojyoIndex;
  };
  const std::vector<Case> cases = {
      {"duplicate account names", [](KamokuListEditor& e) { e.setName(at(e, kKaikake), "売掛金"); },
       "コード 111 と 201 の勘定科目名「売掛金」が重複しています", kKaikake, -1},
      {"an inactive account may share a name",
       [](KamokuListEditor& e) {
         e.setIsActive(at(e, kKaikake), false);
         e.setName(at(e, kKaikake), "売掛金");
       },
       nullptr, -1, -1},
      {"blank account name", [](KamokuListEditor& e) { e.setName(at(e, kGenkin), "  "); },
       "コード 100 の勘定科目名を入力してください", kGenkin, -1},
      {"諸口", [](KamokuListEditor& e) { e.setName(at(e, kGenkin), "諸口"); }, "「諸口」は勘定科目名に使えません",
       kGenkin, -1},
      {"duplicate sub-account names",
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setHojyoName(k, e.addHojyoKamoku(k), "A銀行");
         e.setHojyoName(k, e.addHojyoKamoku(k), "A銀行");
       },
       "「普通預金」の補助科目 01 と 02 の名前「A銀行」が重複しています", kFutsuu, 1},
      {"the same sub-account name under two accounts is fine",
       [](KamokuListEditor& e) {
         e.setHojyoName(at(e, kFutsuu), e.addHojyoKamoku(at(e, kFutsuu)), "A銀行");
         e.setHojyoName(at(e, kKaikake), e.addHojyoKamoku(at(e, kKaikake)), "A銀行");
       },
       nullptr, -1, -1},
      {"unbalanced sub-accounts",
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setStartBalance(k, 99, 1000);
         e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 600);
         e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 300);
       },
       "「普通預金」の会社全体の開始残高（1,000）が、補助科目の開始残高の合計（900）と一致しません", kFutsuu, -1},
      {"balanced sub-accounts",
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setStartBalance(k, 99, 900);
         e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 600);
         e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 300);
       },
       nullptr, -1, -1},
      {"sub-accounts with balances, account without",
       [](KamokuListEditor& e) { e.setHojyoStartBalance(at(e, kFutsuu), e.addHojyoKamoku(at(e, kFutsuu)), 99, 1); },
       "補助科目の開始残高の合計（1）と一致しません", kFutsuu, -1},
      {"one shortcut for two cash books",
       [](KamokuListEditor& e) {
         e.setKeyEquivalent(at(e, kGenkin), "1");
         e.setKeyEquivalent(at(e, kFutsuu), "１");
       },
       "出納帳のショートカット「1」が、「現金」と「普通預金」で重複しています", kFutsuu, -1},
      {"an account kept by sub-account uses its sub-accounts' shortcuts",
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setKeyEquivalent(at(e, kGenkin), "1");
         e.setKeyEquivalent(k, "1");  // unused: the books are the sub-accounts'
         const int h = e.addHojyoKamoku(k);
         e.setHojyoKeyEquivalent(k, h, "2");
       },
       nullptr, -1, -1},
  };
  for (const Case& c : cases) {
    open();
    c.edit(*editor);
    const KamokuListEditor::Refusal r = editor->validate();
    if (!c.expected) {
      EXPECT_FALSE(r.isRefused()) << c.what << ": " << r.message;
      continue;
    }
    EXPECT_NE(r.message.find(c.expected), std::string::npos) << c.what << ": " << r.message;
    EXPECT_EQ(r.kamokuIndex, row(c.kamokuCode)) << c.what;
    EXPECT_EQ(r.hojyoIndex, c.hojyoIndex) << c.what;
  }
}

TEST_F(KamokuListEditorTest, KanaAndShortcutsAreNormalizedOrRefused)
{
  open();
  const int g = row(kGenkin);
  EXPECT_EQ(editor->setKana(g, "ｇｅｎ ｋｉｎ"), KamokuListEditor::kKanaMessage);
  EXPECT_EQ(editor->setKana(g, "ｇｅｎｋｉｎ2"), "");
  EXPECT_EQ(editor->row(g).kana, "GENKIN2");
  EXPECT_EQ(editor->setKana(g, "げんきん"), KamokuListEditor::kKanaMessage);
  EXPECT_EQ(editor->setKana(g, std::string(25, 'A')), KamokuListEditor::kKanaMessage);
  EXPECT_EQ(editor->row(g).kana, "GENKIN2");
  for (const char* bad : {"0", "10", "a"})
    EXPECT_EQ(editor->setKeyEquivalent(g, bad), KamokuListEditor::kKeyEquivalentMessage);
  EXPECT_EQ(editor->setKeyEquivalent(g, "9"), "");
  EXPECT_EQ(editor->row(g).keyEquivalent, 9);
  EXPECT_EQ(editor->setKeyEquivalent(g, ""), "");
  EXPECT_EQ(editor->row(g).keyEquivalent, -1);
}

TEST_F(KamokuListEditorTest, SubAccountCodesAndOrder)
{
  auto used = std::make_shared<HojyoKamoku>();
  used->setCode(1);
  used->setName("A銀行");
  doc->kamokuOfCode(kFutsuu)->hojyoKamokuArray().push_back(used);
  addShiwake(*doc, kFutsuu, kUriage, 5, 1);
  open();
  const int k = row(kFutsuu);
  const int b = editor->addHojyoKamoku(k);
  EXPECT_EQ(editor->row(k).hojyo[b].code, 2);  // the lowest free code
  EXPECT_NE(editor->setHojyoCode(k, 0, 5).find("仕訳で使われている"), std::string::npos);
  EXPECT_NE(editor->setHojyoCode(k, b, 1).find("「A銀行」が使っています"), std::string::npos);
  EXPECT_NE(editor->setHojyoCode(k, b, 100), "");
  EXPECT_EQ(editor->setHojyoCode(k, b, 7), "");
  EXPECT_TRUE(editor->moveHojyoKamoku(k, 1, 0));
  EXPECT_EQ(editor->row(k).hojyo[0].code, 7);
  EXPECT_FALSE(editor->moveHojyoKamoku(k, 0, 2));

  // Codes 00 to 99: a hundred sub-accounts, then no more.
  while (editor->addHojyoKamoku(k) >= 0) {}
  EXPECT_EQ(editor->row(k).hojyo.size(), 100u);
}

TEST_F(KamokuListEditorTest, WriteBackKeepsTheRecordsAndTheDocumentUntouchedBefore)
{
  Kamoku* futsuu = doc->kamokuOfCode(kFutsuu).get();
  auto a = std::make_shared<HojyoKamoku>();
  a->setCode(1);
  a->setName("A銀行");
  futsuu->hojyoKamokuArray().push_back(a);
  open();
  const int k = row(kFutsuu);
  editor->setName(k, "普通預金口座");
  editor->setStartBalance(k, 99, 900);
  editor->setHojyoStartBalance(k, 0, 99, 400);
  const int b = editor->addHojyoKamoku(k);
  editor->setHojyoName(k, b, "B銀行");
  editor->setHojyoKana(k, b, "bginkou");
  editor->setHojyoStartBalance(k, b, 99, 500);
  editor->moveHojyoKamoku(k, b, 0);
  editor->setStartBalance(row(kShihonkin), 99, 900);
  // Nothing reaches the document before the write-back.
  EXPECT_EQ(futsuu->name(), "普通預金");
  EXPECT_EQ(futsuu->hojyoKamokuArray().size(), 1u);
  ASSERT_FALSE(editor->validate().isRefused()) << editor->validate().message;
  EXPECT_TRUE(editor->startBalanceTaisyakuTotal().isBalanced());

  editor->writeBack(*doc);
  EXPECT_EQ(doc->kamokuOfCode(kFutsuu).get(), futsuu);
  EXPECT_EQ(futsuu->name(), "普通預金口座");
  EXPECT_EQ(futsuu->startBalanceOfJigyoubuCode(99), 900);
  ASSERT_EQ(futsuu->hojyoKamokuArray().size(), 2u);
  EXPECT_EQ(futsuu->hojyoKamokuArray()[0]->name(), "B銀行");
  EXPECT_EQ(futsuu->hojyoKamokuArray()[0]->kana(), "BGINKOU");
  EXPECT_EQ(futsuu->hojyoKamokuArray()[0]->parentKamokuCode(), kFutsuu);
  EXPECT_EQ(futsuu->hojyoKamokuArray()[1], a);
  EXPECT_EQ(a->startBalanceOfJigyoubuCode(99), 400);
  const KamokuListEditor::TaisyakuTotal total = KamokuListEditor::startBalanceTaisyakuTotalOfDocument(*doc);
  EXPECT_EQ(total.karikata, 900);
  EXPECT_EQ(total.kashikata, 900);
}

}  // namespace
}  // namespace kivo
