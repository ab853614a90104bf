// The printed older-form statements (決算報告書) as paper shows them: rendered to PDF
// and read back with pdftotext.
#include <gtest/gtest.h>

#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/AlertSheet.h"
#include "statements/RiekiSyobunan.h"
#include "statements/gui/HoukokusyoPrintView.h"
#include "trial/TrialBooks.h"

namespace kivo::test {
namespace {

QString run(const QString& program, const QStringList& arguments)
{
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QPageLayout paper(double height = 842)
{
  return QPageLayout(QPageSize(QSizeF(595, height), QPageSize::Point), QPageLayout::Portrait, QMarginsF(36, 36, 36, 36),
                     QPageLayout::Point);
}

bool hasLine(const QString& page, const QString& pattern)
{
  for (const QString& l : page.split('\n'))
    if (l.contains(QRegularExpression(pattern))) return true;
  return false;
}

QString titleOf(const QString& page)
{
  for (const QString& l : page.split('\n'))
    if (!l.trimmed().isEmpty()) return l.trimmed();
  return {};
}

class HoukokusyoPrintTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(dir.isValid());
    AlertSheet::setResponderForTesting([this](const AlertSheet::Alert& a) {
      alerts.push_back(a);
      return 0;
    });
    doc = makeTrialBooks(ChartKind::HoujinOlder, true);
    kamokuNamed(*doc, "現金")->setStartBalance(1000, 99);
    kamokuNamed(*doc, "資本金")->setStartBalance(1000, 99);
    addShiwake(*doc, Date(2024, 5, 1), codeOf(*doc, "現金"), codeOf(*doc, "売上高"), 500);
    addShiwake(*doc, Date(2024, 6, 1), codeOf(*doc, "仕入高"), codeOf(*doc, "現金"), 200);
    addShiwake(*doc, Date(2024, 7, 1), codeOf(*doc, "給料手当"), codeOf(*doc, "現金"), 100);
    addShiwake(*doc, Date(2024, 8, 1), codeOf(*doc, "材料仕入高"), codeOf(*doc, "現金"), 50);
    Kaisya& k = doc->kaisya();
    k.setName("株式会社旧様式");
    k.setTitleOfHoukokusyo("決算報告書");
    k.setTermStartDateOfHoukokusyoCover(Date(2024, 4, 1));
    k.setTermEndDateOfHoukokusyoCover(Date(2025, 3, 31));
  }
  void TearDown() override { AlertSheet::setResponderForTesting({}); }

  QStringList print(const HoukokusyoPrintChoice& choice = {}, const QPageLayout& layout = paper())
  {
    statements = Houkokusyo::build(
        *doc,
        KaisyahouHoukokusyoBalances::postShiwakeArray(*doc, {Date(2024, 4, 1), Date::kessanSeiridukiDate(), false}),
        99);
    riekiSyobunan = RiekiSyobunan(statements.toukiMisyobunSonekiOfSyuuryouZandaka, {{"配当金", 50}, {"利益準備金", 20}},
                                  doc->kaisya().maxOutputAmountValue())
                        .rows();
    auto view = HoukokusyoPrintView::create(*doc, statements, riekiSyobunan, choice, layout);
    if (!view) return {};
    const QString path = dir.filePath("houkokusyo.pdf");
    EXPECT_TRUE(PrintOperation::writePdf(path, *view, layout));
    QStringList out = run("pdftotext", {"-layout", path, "-"}).split('\f');
    if (!out.isEmpty() && out.back().trimmed().isEmpty()) out.removeLast();
    return out;
  }

  QTemporaryDir dir;
  std::vector<AlertSheet::Alert> alerts;
  std::unique_ptr<MyDocument> doc;
  HoukokusyoStatements statements;
  std::vector<Shisan> riekiSyobunan;
};

TEST_F(HoukokusyoPrintTest, CoverAndTheTickedStatementsInOrderWithTheirNotes)
{
  Kaisya& k = doc->kaisya();
  k.setNoteOfTaisyakuTaisyouhyouOfHoukokusyo("有形固定資産の減価償却累計額　0円");
  k.setNoteOfSonekiKeisansyoOfHoukokusyo("1株当たり当期利益\n二行目の注記");
  k.setNoteOfRiekisyobunanOfHoukokusyo("配当は現金による");
  QStringList pages = print();
  QStringList titles;
  for (const QString& p : pages) titles << titleOf(p);
  EXPECT_EQ(titles, (QStringList{"決算報告書", "貸借対照表", "損益計算書", "販売費及び一般管理費", "製造原価報告書",
                                 "利益処分案"}));
  ASSERT_EQ(pages.size(), 6);
  EXPECT_TRUE(hasLine(pages[1], "資産の部合計\\s+1,150\\s+負債・資本の部合計\\s+1,150")) << pages[1].toStdString();
  EXPECT_TRUE(hasLine(pages[1], "2025年 3月31日現在"));
  EXPECT_TRUE(hasLine(pages[1], "^\\s*有形固定資産の減価償却累計額\\s+0円\\s*$")) << pages[1].toStdString();
  EXPECT_TRUE(hasLine(pages[2], "売上総利益\\s+250"));
  EXPECT_TRUE(hasLine(pages[2], "当期製品製造原価\\s+50"));
  EXPECT_TRUE(hasLine(pages[2], "当期未処分利益\\s+150"));
  EXPECT_TRUE(hasLine(pages[2], "^\\s*二行目の注記\\s*$"));
  EXPECT_FALSE(pages[3].contains("注記"));
  EXPECT_TRUE(hasLine(pages[4], "当期製品製造原価\\s+50"));
  // The appropriation: no company name, its items, total and carried-forward line.
  EXPECT_FALSE(pages[5].contains("株式会社旧様式"));
  EXPECT_TRUE(hasLine(pages[5], "当期未処分利益\\s+150"));
  EXPECT_TRUE(hasLine(pages[5], "利益処分合計\\s+70"));
  EXPECT_TRUE(hasLine(pages[5], "次期繰越利益\\s+80"));
  EXPECT_TRUE(hasLine(pages[5], "配当は現金による"));

  HoukokusyoPrintChoice some;
  some.coversheet = some.sonekiKeisansyo = some.seizougenka = false;
  titles.clear();
  for (const QString& p : print(some)) titles << titleOf(p);
  EXPECT_EQ(titles, (QStringList{"貸借対照表", "販売費及び一般管理費", "利益処分案"}));
  EXPECT_TRUE(alerts.empty());
}

TEST_F(HoukokusyoPrintTest, ALongStatementContinuesOnAFurtherPage)
{
  // Short paper: the balance sheet and the income statement take more than a page.
  HoukokusyoPrintChoice choice;
  choice.coversheet = choice.hanbaihi = choice.seizougenka = choice.riekisyobunan = false;
  doc->kaisya().setNoteOfSonekiKeisansyoOfHoukokusyo("損益の注記");
  const QStringList pages = print(choice, paper(260));
  ASSERT_GT(pages.size(), 2);
  QString all = pages.join('\n');
  for (const char* line : {"資産の部合計\\s+1,150\\s+負債・資本の部合計\\s+1,150", "当期未処分利益\\s+150",
                           "損益の注記", "売上高合計\\s+500"})
    EXPECT_TRUE(hasLine(all, QString::fromUtf8(line))) << line;
  EXPECT_TRUE(hasLine(pages.back(), "損益の注記"));
  for (const QString& p : pages) EXPECT_TRUE(titleOf(p) == "貸借対照表" || titleOf(p) == "損益計算書");
  EXPECT_TRUE(alerts.empty());
}

TEST_F(HoukokusyoPrintTest, RefusedOnPaperTooSmallAndForANoteLongerThanAPage)
{
  EXPECT_TRUE(print({}, paper(120)).isEmpty());
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text, QString::fromUtf8(HoukokusyoPrintView::kTooSmallMessage));
  doc->kaisya().setNoteOfHanbaihiOfHoukokusyo(std::string(200, '\n') + "end");
  EXPECT_TRUE(print().isEmpty());
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_TRUE(alerts[1].text.contains("販売費及び一般管理費")) << alerts[1].text.toStdString();
}

TEST_F(HoukokusyoPrintTest, FiguresAtTheLimitPrintTheOverflowMark)
{
  kamokuNamed(*doc, "現金")->setStartBalance(doc->kaisya().maxOutputAmountValue() + 1, 99);
  HoukokusyoPrintChoice choice;
  choice.coversheet = choice.sonekiKeisansyo = choice.hanbaihi = choice.seizougenka = choice.riekisyobunan = false;
  const QStringList pages = print(choice);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(hasLine(pages[0], "資産の部合計\\s+#Precision!")) << pages[0].toStdString();
}

}  // namespace
}  // namespace kivo::test
