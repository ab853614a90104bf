// The register printout written as PDF and read back: its group, category and grand
// totals add up the assets' own figures, and a total past the output limit says so;
// management codes of any length print whole within their column.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>

#include "assets/gui/GenkasyoukyakuShisanListPrintView.h"
#include "assets/gui/SyoukyakushisanShinkokusyoPrintView.h"
#include "platform/PrintInfo.h"
#include "support/AppTestFixture.h"
#include "support/PaperChosenInPanel.h"
#include "support/PdfText.h"

namespace kivo::test {
namespace {

using G = GenkasyoukyakuShisan;
using Ptr = GenkasyoukyakuShisanPtr;

class GenkasyoukyakuShisanPrintTest : public AppTest {
protected:
  void SetUp() override
  {
    AppTest::SetUp();
    books = makeBooks();
    books->kaisya().setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));
    books->setSortedKamokuArray();
  }
  Ptr add(const std::string& name, int32_t kamoku, Date added, int64_t cost, int64_t ruikei, int64_t futsuu)
  {
    auto a = std::make_shared<G>(G::kTeigakuHou);
    a->setName(name);
    a->setKanriCode("C");
    a->setKamokuCode(kamoku);
    a->setDateOfAdded(added);
    a->setSyutokuKagaku(cost);
    a->setKisyuSyoukyakugakuRuikei(ruikei);
    a->setTaiyouYears(10);
    a->setFutsuuSyoukyakuhi(futsuu);
    books->genkasyoukyakuShisanArray().push_back(a);
    return a;
  }
  QString printed()
  {
    auto view = GenkasyoukyakuShisanListPrintView::create(*books, PrintInfo::defaultPageLayout(), 0);
    EXPECT_TRUE(view);
    if (!view) return {};
    const QString path = dir.filePath(QStringLiteral("register.pdf"));
    EXPECT_TRUE(PrintOperation::writePdf(path, *view, PrintInfo::defaultPageLayout()));
    return pdfText(path);
  }
  // The printed line whose name column holds exactly the label.
  static QString lineOf(const QString& text, const QString& label)
  {
    const QRegularExpression re(QStringLiteral("(^|\\s)") + QRegularExpression::escape(label) + QStringLiteral("\\s"));
    for (const QString& line : text.split('\n'))
      if (re.match(line).hasMatch()) return line;
    return {};
  }

  std::unique_ptr<MyDocument> books;
  QTemporaryDir dir;
};

TEST_F(GenkasyoukyakuShisanPrintTest,
       TotalsAreTheSumsOfTheAssetsFiguresOrSayTheyPassTheLimitAndTheDeclarationListsItsYear)
{
  add("営業車", 155, Date(2020, 4, 1), 3000000, 1200000, 270000);
  add("トラック", 155, Date(2024, 7, 1), 5000000, 0, 375000);
  add("会計ソフト", 173, Date(2022, 4, 1), 800000, 320000, 160000)->setTaiyouYears(5);
  const QString text = printed();
  ASSERT_FALSE(text.isEmpty());
  // Cost, the term's charge, the closing book value and the closing accumulated
  // depreciation; one sub-total per group, in order: 車両運搬具, then ソフトウェア.
  const QStringList sharyou = {"8,000,000", "645,000", "6,155,000", "1,845,000"};
  const QStringList soft = {"800,000", "160,000", "320,000", "480,000"};
  QStringList subTotals;
  for (const QString& line : text.split('\n'))
    if (line.contains(QStringLiteral("小計"))) subTotals << line;
  ASSERT_EQ(subTotals.size(), 2);
  const std::pair<QString, QStringList> cases[] = {
      {lineOf(text, QStringLiteral("合計")), {"8,800,000", "805,000", "6,475,000", "2,325,000"}},
      {lineOf(text, QStringLiteral("有形固定資産合計")), sharyou},
      {lineOf(text, QStringLiteral("無形固定資産合計")), soft},
      {subTotals[0], sharyou},
      {subTotals[1], soft}};
  for (const auto& [line, figures] : cases)
    for (const QString& f : figures) EXPECT_TRUE(line.contains(f)) << line.toStdString() << ": " << f.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("1 / 1 ページ"))) << text.toStdString();

  // A total past the output limit says so.
  add("A", 155, Date(2020, 4, 1), 600'000'000'000, 0, 0);
  add("B", 155, Date(2020, 4, 1), 600'000'000'000, 0, 0);
  const QString line = lineOf(printed(), QStringLiteral("小計"));
  EXPECT_TRUE(line.contains(QStringLiteral("#Precision!"))) << line.toStdString();

  // The declaration of a year lists that year's assets of the declared accounts only.
  add("空調設備", 151, Date(2020, 4, 1), 1200000, 0, 0);
  add("照明設備", 151, Date(2024, 8, 1), 300000, 0, 0);
  add("新設備", 151, Date(2025, 2, 1), 500000, 0, 0);
  auto view = SyoukyakushisanShinkokusyoPrintView::create(*books, PrintInfo::defaultPageLayout(), 2024);
  const QString path = dir.filePath(QStringLiteral("declaration.pdf"));
  ASSERT_TRUE(PrintOperation::writePdf(path, *view, PrintInfo::defaultPageLayout()));
  const QString declaration = pdfText(path);
  EXPECT_TRUE(declaration.contains(QStringLiteral("2024年12月31日"))) << declaration.toStdString();
  EXPECT_EQ(
      std::tuple(declaration.contains(QStringLiteral("照明設備")), declaration.contains(QStringLiteral("新設備"))),
      std::tuple(true, false));
  EXPECT_TRUE(lineOf(declaration, QStringLiteral("現在所有中の資産")).contains("1,500,000"));
}

// A management code prints whole within its column, centred, as large as it can on
// one line or two: at the data font when it fits, never over the name beside it or
// off the paper, in the register and the declaration, on any paper.
TEST_F(GenkasyoukyakuShisanPrintTest, AManagementCodePrintsWholeWithinItsColumn)
{
  const QString codes[] = {"K",
                           "KA-1",
                           "KA2-DB-start",
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                           "機",
                           "機械番号",
                           "第一工場第二号機械装置群",
                           QString(36, QChar(u'番'))};
  int n = 0;
  for (const QString& code : codes)
    add("資産" + std::to_string(++n), 151, Date(2020, 4, 1), 1200000, 0, 0)->setKanriCode(code.toStdString());
  const auto printouts = [this](const QPageLayout& layout) -> std::vector<std::unique_ptr<Printout>> {
    std::vector<std::unique_ptr<Printout>> out;
    out.push_back(GenkasyoukyakuShisanListPrintView::create(*books, layout, 0));
    out.push_back(SyoukyakushisanShinkokusyoPrintView::create(*books, layout, 2024));
    return out;
  };
  for (const PaperChosenInPanel& paper : kPapersChosenInPanel) {
    const QPageLayout layout(QPageSize(paper.size), paper.orientation, QMarginsF(36, 36, 36, 36), QPageLayout::Point);
    int printout = 0;
    for (const std::unique_ptr<Printout>& view : printouts(layout)) {
      SCOPED_TRACE(std::string(paper.name) + (printout++ ? " declaration" : " register"));
      const QString path = dir.filePath(QStringLiteral("codes.pdf"));
      ASSERT_TRUE(view && PrintOperation::writePdf(path, *view, layout));
      // The code column: from the frame's left edge to the first rule after it.
      double left = 1e9, right = 1e9;
      const std::vector<QPointF> points = pdfPathPoints(path, 0);
      for (const QPointF& p : points) left = std::min(left, p.x());
      for (const QPointF& p : points)
        if (p.x() > left + 1) right = std::min(right, p.x());
      // The words below the heading that start in the column, top to bottom; those
      // that reach past it; and the height of the data font's text in either script.
      const std::vector<PdfWord> words = pdfWords(path, 1);
      const auto heading =
          std::find_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "コード"; });
      ASSERT_NE(heading, words.end());
      std::vector<PdfWord> column;
      QStringList outside;
      double latinHeight = 0;
      for (const PdfWord& w : words) {
        if (w.text.contains(QStringLiteral("1,200,000"))) latinHeight = w.box.height();
        if (w.box.top() < heading->box.bottom() || w.box.left() >= right) continue;
        column.push_back(w);
        if (w.box.left() < left || w.box.right() > right) outside << w.text;
      }
      std::sort(column.begin(), column.end(),
                [](const PdfWord& a, const PdfWord& b) { return a.box.center().y() < b.box.center().y(); });
      QString read;
      // Heights of the one-character codes to those of the data font, in hundredths.
      std::map<QString, long> heights;
      for (const PdfWord& w : column) {
        read += w.text;
        heights[w.text] = std::lround(100 * w.box.height() / (w.text == "機" ? heading->box.height() : latinHeight));
      }
      EXPECT_EQ(std::tuple(read.toStdString(), outside.join(' ').toStdString(), heights["K"], heights["機"]),
                std::tuple(QStringList(std::begin(codes), std::end(codes)).join(QString()).toStdString(), std::string(),
                           100, 100))
          << left << " " << right;
    }
  }
}

}  // namespace
}  // namespace kivo::test
