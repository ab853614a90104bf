#include <gtest/gtest.h>

#include "setup/KamokuListEditor.h"
#include "support/TestBooks.h"

namespace kivo {
namespace {

using test::addJigyoubu;
using test::addShiwake;
using test::makeBooks;

constexpr int32_t kGenkin = 100;     // debit-natured, cash book
constexpr int32_t kTouza = 102;      // debit-natured
constexpr int32_t kFutsuu = 103;     // debit-natured, cash book
constexpr int32_t kUrikake = 111;    // debit-natured
constexpr int32_t kKaikake = 201;    // credit-natured
constexpr int32_t kShihonkin = 270;  // credit-natured
constexpr int32_t kUriage = 300;     // income: no opening balance

int at(const KamokuListEditor& e, int32_t code) { return e.indexOfKamokuCode(code); }

// Adds the sub-account 01 to the account in the books.
HojyoKamokuPtr addHojyo(MyDocument& doc, int32_t kamoku, const std::string& name, int64_t balance = 0)
{
  auto sub = std::make_shared<HojyoKamoku>();
  sub->setCode(1);
  sub->setName(name);
  if (balance != 0) sub->setStartBalance(balance, 99);
  doc.kamokuOfCode(kamoku)->hojyoKamokuArray().push_back(sub);
  return sub;
}

class KamokuListEditorTest : public ::testing::Test {
protected:
  int row(int32_t code) const { return editor->indexOfKamokuCode(code); }
  void open() { editor = std::make_unique<KamokuListEditor>(*doc); }

  std::unique_ptr<MyDocument> doc = makeBooks();
  std::unique_ptr<KamokuListEditor> editor;
};

TEST_F(KamokuListEditorTest, AnAccountInUseEvenByPendingOrRegularTypeEntriesOrHoldingABalanceStaysActive)
{
  addShiwake(*doc, kUrikake, kUriage, 1000);
  doc->kamokuOfCode(kKaikake)->setStartBalance(500, 99);
  addHojyo(*doc, kFutsuu, "A銀行", 70);
  addShiwake(*doc, kGenkin, kUriage, 100, -1, -1, 0);      // a cash book's pending row
  addShiwake(*doc, kShihonkin, kUriage, 100, -1, -1, -3);  // a regular-type voucher
  open();

  const std::pair<int32_t, const char*> cases[] = {{kUrikake, "仕訳で使われている"}, {kUriage, "仕訳で使われている"},
                                                   {kKaikake, "開始残高がある"},     {kFutsuu, "開始残高がある"},
                                                   {kGenkin, "無効にできません"},    {kShihonkin, "無効にできません"}};
  for (const auto& [code, because] : cases) {
    const std::string why = editor->setIsActive(row(code), false);
    EXPECT_NE(why.find(because), std::string::npos) << code << ": " << why;
    EXPECT_NE(why.find("無効にできません"), std::string::npos);
    EXPECT_TRUE(editor->row(row(code)).isActive);
  }
  // An account nobody uses goes, and comes back.
  EXPECT_EQ(editor->setIsActive(row(kTouza), false), "");
  EXPECT_FALSE(editor->row(row(kTouza)).isActive);
  EXPECT_EQ(editor->setIsActive(row(kTouza), true), "");
  // The sub-account itself: in use through an entry, or by its balance.
  EXPECT_NE(editor->setHojyoIsActive(row(kFutsuu), 0, false).find("開始残高"), std::string::npos);
  addShiwake(*doc, kFutsuu, kUriage, 5, 1);
  open();
  EXPECT_NE(editor->setHojyoIsActive(row(kFutsuu), 0, false).find("仕訳"), std::string::npos);
}

TEST_F(KamokuListEditorTest, WithoutDivisionsTheCompanyFigureIsTypedAndKanaAndShortcutsAreNormalized)
{
  open();
  // Account, division, balance, taken. Refused: a division not in use, income (which
  // starts at nothing), a negative figure, one over the limit.
  constexpr int64_t max = Kaisya::kMaxInputAmountValue;
  const std::tuple<int32_t, int32_t, int64_t, bool> cases[] = {
      {kGenkin, 99, 1000, true},     {kGenkin, 1, 10, false},  {kUriage, 99, 10, false}, {kGenkin, 99, -1, false},
      {kGenkin, 99, max + 1, false}, {kGenkin, 99, max, true}, {kGenkin, 99, 0, true}};
  for (const auto& [code, jigyoubu, balance, taken] : cases) {
    const int64_t before = editor->row(row(code)).startBalance.balanceOfJigyoubuCode(jigyoubu);
    const std::string why = editor->setStartBalance(row(code), jigyoubu, balance);
    EXPECT_EQ(why.empty(), taken) << code << " " << balance << ": " << why;
    EXPECT_EQ(editor->row(row(code)).startBalance.balanceOfJigyoubuCode(jigyoubu), taken ? balance : before);
  }
  EXPECT_TRUE(editor->row(row(kGenkin)).startBalance.isEmpty());
  // An inactive account takes no balance.
  ASSERT_EQ(editor->setIsActive(row(kGenkin), false), "");
  EXPECT_NE(editor->setStartBalance(row(kGenkin), 99, 5), "");

  // Kana and shortcuts are normalized or refused.
  const int g = row(kFutsuu);
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
  using Edit = std::function<void(KamokuListEditor&)>;
  // 普通預金 with the company figure and sub-accounts of 600 and 300.
  const auto subAccounts = [](int64_t balance) -> Edit {
    return [balance](KamokuListEditor& e) {
      const int k = at(e, kFutsuu);
      e.setStartBalance(k, 99, balance);
      e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 600);
      e.setHojyoStartBalance(k, e.addHojyoKamoku(k), 99, 300);
    };
  };
  // What, a part of the message (nullptr: accepted), the row and sub-account row
  // selected, the edit.
  const std::tuple<const char*, const char*, int32_t, int, Edit> cases[] = {
      {"duplicate account names", "コード 111 と 201 の勘定科目名「売掛金」が重複しています", kKaikake, -1,
       [](KamokuListEditor& e) { e.setName(at(e, kKaikake), "売掛金"); }},
      {"an inactive account may share a name", nullptr, -1, -1,
       [](KamokuListEditor& e) {
         e.setIsActive(at(e, kKaikake), false);
         e.setName(at(e, kKaikake), "売掛金");
       }},
      {"blank account name", "コード 100 の勘定科目名を入力してください", kGenkin, -1,
       [](KamokuListEditor& e) { e.setName(at(e, kGenkin), "  "); }},
      {"諸口", "「諸口」は勘定科目名に使えません", kGenkin, -1,
       [](KamokuListEditor& e) { e.setName(at(e, kGenkin), "諸口"); }},
      {"duplicate sub-account names", "「普通預金」の補助科目 01 と 02 の名前「A銀行」が重複しています", kFutsuu, 1,
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setHojyoName(k, e.addHojyoKamoku(k), "A銀行");
         e.setHojyoName(k, e.addHojyoKamoku(k), "A銀行");
       }},
      {"the same sub-account name under two accounts is fine", nullptr, -1, -1,
       [](KamokuListEditor& e) {
         e.setHojyoName(at(e, kFutsuu), e.addHojyoKamoku(at(e, kFutsuu)), "A銀行");
         e.setHojyoName(at(e, kKaikake), e.addHojyoKamoku(at(e, kKaikake)), "A銀行");
       }},
      {"unbalanced sub-accounts",
       "「普通預金」の会社全体の開始残高（1,000）が、補助科目の開始残高の合計（900）と一致しません", kFutsuu, -1,
       subAccounts(1000)},
      {"balanced sub-accounts", nullptr, -1, -1, subAccounts(900)},
      {"sub-accounts with balances, account without", "補助科目の開始残高の合計（1）と一致しません", kFutsuu, -1,
       [](KamokuListEditor& e) { e.setHojyoStartBalance(at(e, kFutsuu), e.addHojyoKamoku(at(e, kFutsuu)), 99, 1); }},
      {"one shortcut for two cash books", "出納帳のショートカット「1」が、「現金」と「普通預金」で重複しています",
       kFutsuu, -1,
       [](KamokuListEditor& e) {
         e.setKeyEquivalent(at(e, kGenkin), "1");
         e.setKeyEquivalent(at(e, kFutsuu), "１");
       }},
      {"an account kept by sub-account uses its sub-accounts' shortcuts", nullptr, -1, -1,
       [](KamokuListEditor& e) {
         const int k = at(e, kFutsuu);
         e.setKeyEquivalent(at(e, kGenkin), "1");
         e.setKeyEquivalent(k, "1");  // unused: the books are the sub-accounts'
         const int h = e.addHojyoKamoku(k);
         e.setHojyoKeyEquivalent(k, h, "2");
       }},
  };
  for (const auto& [what, expected, kamokuCode, hojyoIndex, edit] : cases) {
    open();
    edit(*editor);
    const KamokuListEditor::Refusal r = editor->validate();
    if (!expected) {
      EXPECT_FALSE(r.isRefused()) << what << ": " << r.message;
      continue;
    }
    EXPECT_NE(r.message.find(expected), std::string::npos) << what << ": " << r.message;
    EXPECT_EQ(std::pair(r.kamokuIndex, r.hojyoIndex), std::pair(row(kamokuCode), hojyoIndex)) << what;
  }
}

TEST_F(KamokuListEditorTest, SubAccountCodesAndOrder)
{
  addHojyo(*doc, kFutsuu, "A銀行");
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
  const HojyoKamokuPtr a = addHojyo(*doc, kFutsuu, "A銀行");
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
  const HojyoKamoku& first = *futsuu->hojyoKamokuArray()[0];
  EXPECT_EQ(std::tuple(first.name(), first.kana(), first.parentKamokuCode()),
            std::tuple(std::string("B銀行"), std::string("BGINKOU"), kFutsuu));
  EXPECT_EQ(futsuu->hojyoKamokuArray()[1], a);
  EXPECT_EQ(a->startBalanceOfJigyoubuCode(99), 400);
  const KamokuListEditor::TaisyakuTotal total = KamokuListEditor::startBalanceTaisyakuTotalOfDocument(*doc);
  EXPECT_EQ(std::pair(total.karikata, total.kashikata), std::pair(int64_t{900}, int64_t{900}));
}

// A file may hold any opening balance: the totals saturate instead of wrapping
// around (two debits of INT64_MAX made -2), and with divisions a company figure
// beyond the input limit is refused however large the other division's balance.
TEST_F(KamokuListEditorTest, OpeningTotalsOfBalancesAtTheInt64LimitsSaturateAndNeverBalance)
{
  for (const auto& [code, balance] : {std::pair(kGenkin, INT64_MAX), std::pair(kTouza, INT64_MAX),
                                      std::pair(kKaikake, int64_t{-2}), std::pair(kShihonkin, INT64_MIN)})
    doc->kamokuOfCode(code)->setStartBalance(balance, 99);
  open();
  for (const KamokuListEditor::TaisyakuTotal& total :
       {KamokuListEditor::startBalanceTaisyakuTotalOfDocument(*doc), editor->startBalanceTaisyakuTotal()}) {
    EXPECT_EQ(std::tuple(total.karikata, total.kashikata, total.difference(), total.isBalanced()),
              std::tuple(INT64_MAX, INT64_MIN, INT64_MAX, false));
  }
  // Divisions: the company figure of an account is the sum of its divisions'.
  addJigyoubu(*doc, 1, "本店", true);
  addJigyoubu(*doc, 2, "支店", true);
  doc->kamokuOfCode(kUrikake)->setStartBalance(INT64_MAX, 2);
  open();
  EXPECT_FALSE(editor->setStartBalance(row(kUrikake), 1, 5).empty());
}

}  // namespace
}  // namespace kivo
