// Printing into a PDF file: a file that cannot be written whole, or a job cancelled
// midway, leaves the previous file as it was; the user is told of a failure. The
// pages are those of the paper the print panel ends with.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <vector>

#include "files/SafeFileWriter.h"
#include "platform/AlertSheet.h"
#include "platform/PrintFonts.h"
#include "platform/PrintInfo.h"
#include "platform/PrintOperation.h"
#include "support/AccessControl.h"
#include "support/AnotherUser.h"
#include "support/KilledWrite.h"
#include "support/PaperChosenInPanel.h"

namespace kivo {
namespace {

using test::PaperChosenInPanel;

class LinesOfText : public Printout {
public:
  int pageCount() const override { return 120; }
  void drawPage(QPainter& painter, int page) override
  {
    for (int line = 0; line < 60; ++line)
      painter.drawText(40, 40 + 12 * line, QStringLiteral("page %1 line %2 of a long report").arg(page).arg(line));
  }
};

// A hundred numbered lines, 12 points apart between the margins of the paper it is
// laid out for; paper with room for fewer than 30 a page cannot hold it.
class LinesOnPaper : public Printout {
public:
  explicit LinesOnPaper(const QPageLayout& layout)
      : paper_(PrintInfo::geometryOfPageLayout(layout)),
        perPage_(PrintPaginator::linesThatFit(paper_.printableHeight(), 12))
  {
  }
  static std::unique_ptr<Printout> layOut(const QPageLayout& layout)
  {
    auto printout = std::make_unique<LinesOnPaper>(layout);
    return printout->perPage_ < 30 ? nullptr : std::move(printout);
  }
  int pageCount() const override { return (100 + perPage_ - 1) / perPage_; }
  void drawPage(QPainter& painter, int page) override
  {
    painter.setFont(PrintFonts::printFont(QString::fromUtf8(PrintFonts::kHelvetica), 10));
    painter.setPen(QPen(Qt::black, 0.5));
    for (int line = page * perPage_; line < std::min(100, (page + 1) * perPage_); ++line) {
      const double y = paper_.topMargin + 12 * (line - page * perPage_ + 1);
      painter.drawLine(QLineF(paper_.leftMargin, y, paper_.paperWidth - paper_.rightMargin, y));
      painter.drawText(QPointF(paper_.leftMargin, y - 2), QStringLiteral("line %1.").arg(line + 1));
    }
  }

private:
  PrintPageGeometry paper_;
  int perPage_;
};

// Writes past `bytes` of any file fail while it lives, as on a full disk.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes)
  {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit()
  {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

QByteArray contents(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PrintOperationTest, APdfNotWrittenWholeLeavesThePreviousFileAndAFailureIsSaid)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("report.pdf"));
  {
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the previous report");
  }
  LinesOfText printout;
  const QPageLayout layout = PrintInfo::defaultPageLayout();
  const auto linesOfText = [](const QPageLayout&) { return std::make_unique<LinesOfText>(); };
  std::vector<AlertSheet::Alert> alerts;
  AlertSheet::setResponderForTesting([&](const AlertSheet::Alert& a) {
    alerts.push_back(a);
    return 0;
  });
  PrintOperation::setPrintPanelResponderForTesting([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  });

  {
    const FileSizeLimit fullDisk(16 << 10);
    EXPECT_FALSE(PrintOperation::writePdf(file, printout, layout));
    EXPECT_FALSE(PrintOperation::runPrintPanel(nullptr, layout, linesOfText, {}));
  }
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].title, QStringLiteral("PDF ファイルを保存できません"));
  for (const QString& part :
       {QStringLiteral("report.pdf"), QStringLiteral("前からあったファイルはそのまま残っています")})
    EXPECT_TRUE(alerts[0].text.contains(part)) << alerts[0].text.toStdString();
  // A job cancelled midway says nothing.
  EXPECT_FALSE(PrintOperation::runPrintPanel(nullptr, layout, linesOfText, {}, [](int done, int) { return done < 3; }));
  EXPECT_EQ(alerts.size(), 1u);
  // One that would give another user's file to the one printing is refused, saying why.
  if (::geteuid() == 0) {
    const QByteArray name = QFile::encodeName(file);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    ASSERT_EQ(::chown(name.constData(), 2001, 4000), 0);
    {
      const test::AsAnotherUserOnThisThread saver(2002, 2002);
      EXPECT_FALSE(PrintOperation::runPrintPanel(nullptr, layout, linesOfText, {}));
    }
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1].text.toStdString(), "PDF ファイル“report.pdf”を書き出せませんでした（" +
                                                std::string(SafeFileWriter::kOwnershipNotKeptText) +
                                                "）。前からあったファイルはそのまま残っています。");
    ASSERT_EQ(::chown(name.constData(), 0, 0), 0);
  }
  EXPECT_EQ(contents(file), QByteArray("the previous report"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")});

  // A whole job replaces it.
  EXPECT_TRUE(PrintOperation::runPrintPanel(nullptr, layout, linesOfText, {}));
  EXPECT_TRUE(contents(file).startsWith("%PDF"));
  EXPECT_GT(contents(file).size(), 16 << 10);
  AlertSheet::setResponderForTesting({});
  PrintOperation::setPrintPanelResponderForTesting({});
}

TEST(PrintOperationTest, ANewPdfTakesTheUmasksModeAndAKilledPrintsLeftoverIsCleared)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("report.pdf"));
  const std::string path = QFile::encodeName(file).toStdString();
  const std::string leftover = test::temporaryOfKilledWrite(path, "%PDF-1.4\n% a print cut short", "%PDF-");
  ASSERT_FALSE(leftover.empty());
  LinesOfText printout;
  const mode_t saved = ::umask(077);
  EXPECT_TRUE(PrintOperation::writePdf(file, printout, PrintInfo::defaultPageLayout()));
  ::umask(saved);
  EXPECT_TRUE(contents(file).startsWith("%PDF"));
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_FALSE(std::filesystem::exists(leftover));
  // One that replaces a file keeps that file's ACL and user attributes.
  EXPECT_TRUE(test::keepsAccess(
      path, [&] { return PrintOperation::writePdf(file, printout, PrintInfo::defaultPageLayout()); }));
}

TEST(PrintOperationTest, ThePagesAreLaidOutForThePaperThePanelEndsWithAndARangeCountsThem)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("lines.pdf"));
  // Stored: A4 portrait, 64 lines a page. In the panel: the paper, a range typed; the
  // pages printed and their first and last lines (none: refused, nothing printed).
  struct Case {
    PaperChosenInPanel paper;
    const char* range;
    int pages;
    int first, last;
  };
  for (const Case& c :
       {Case{{"A4", QPageSize::A4, QPageLayout::Portrait}, "", 2, 1, 100},
        Case{test::kPapersChosenInPanel[0], "", 3, 1, 100}, Case{test::kPapersChosenInPanel[1], "", 3, 1, 100},
        Case{test::kPapersChosenInPanel[0], "3", 1, 87, 100},
        Case{{"A6", QPageSize::A6, QPageLayout::Portrait}, "", 0, 0, 0}}) {
    SCOPED_TRACE(c.paper.name);
    QFile::remove(file);
    test::choosePaperInPrintPanel(c.paper, file, [&c](QPrinter& printer, QWidget*) {
      if (*c.range) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(QString::fromUtf8(c.range)));
      }
      return true;
    });
    EXPECT_EQ(PrintOperation::runPrintPanel(nullptr, PrintInfo::defaultPageLayout(), LinesOnPaper::layOut, {}),
              c.pages > 0);
    if (c.pages == 0) {
      EXPECT_FALSE(QFile::exists(file));
      continue;
    }
    const QString text = test::pdfText(file);
    EXPECT_EQ(std::tuple(test::pdfPageCount(file), test::pagesOffPaper(file, c.paper).toStdString(),
                         text.contains(QStringLiteral("line %1.").arg(c.first)),
                         text.contains(QStringLiteral("line %1.").arg(c.last)),
                         text.contains(QStringLiteral("line %1.").arg(c.first - 1))),
              std::tuple(c.pages, std::string(), true, true, false));
  }
  PrintOperation::setPrintPanelResponderForTesting({});
}

TEST(PrintOperationTest, APrintoutIsLaidOutAgainOnlyWhenThePanelChangedItsPageLayout)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Stored: A4 portrait with margins of 20, 25, 30 and 35 points (7.06, 8.82, 10.58
  // and 12.35 mm, as the panel rounds them).
  const QPageLayout stored(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 25, 30, 35),
                           QPageLayout::Point);
  // The stored layout as the panel hands it back, the left margin moved, outside a
  // printable area of that many millimetres.
  const auto inMillimetres = [&stored](double moved, double unprintable = 0) {
    const QMarginsF m = stored.margins(QPageLayout::Millimeter);
    const auto rounded = [](double mm) { return std::round(mm * 100) / 100; };
    return QPageLayout(stored.pageSize(), stored.orientation(),
                       QMarginsF(rounded(m.left()) + moved, rounded(m.top()), rounded(m.right()), rounded(m.bottom())),
                       QPageLayout::Millimeter, QMarginsF(unprintable, unprintable, unprintable, unprintable));
  };
  // What the panel hands back, and the layouts made: once before the panel, and again
  // only for a layout changed there.
  const std::pair<QPageLayout, int> cases[] = {
      {stored, 1},
      {inMillimetres(0), 1},
      {inMillimetres(0.1), 2},
      {inMillimetres(0, 4), 2},
      {QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, stored.margins(), QPageLayout::Point), 2},
      {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, stored.margins(), QPageLayout::Point), 2},
  };
  std::vector<int> layouts;
  for (const auto& [handedBack, made] : cases) {
    PrintOperation::setPrintPanelResponderForTesting([&, handedBack = handedBack](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(dir.filePath(QStringLiteral("lines.pdf")));
      printer.setPageLayout(handedBack);
      return true;
    });
    int count = 0;
    EXPECT_TRUE(PrintOperation::runPrintPanel(nullptr, stored,
                                              [&count](const QPageLayout& layout) {
                                                ++count;
                                                return LinesOnPaper::layOut(layout);
                                              },
                                              {}));
    layouts.push_back(count);
  }
  EXPECT_EQ(layouts, (std::vector<int>{1, 1, 2, 2, 2, 2}));
  PrintOperation::setPrintPanelResponderForTesting({});
}

TEST(PrintOperationTest, ARangeTypedInThePanelChoosesThePagesThePrintoutHas)
{
  // Page ranges as the panel sets them (pages from 1), over a printout of five pages.
  struct Case {
    const char* typed;
    std::vector<int> pages;  // from 0
  };
  for (const Case& c : {Case{"", {0, 1, 2, 3, 4}}, Case{"2-3", {1, 2}}, Case{"4-9", {3, 4}}, Case{"1,3-4", {0, 2, 3}},
                        Case{"5,7", {4}}, Case{"6-8", {}}}) {
    QPrinter printer;
    if (*c.typed) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setPageRanges(QPageRanges::fromString(QString::fromUtf8(c.typed)));
    }
    EXPECT_EQ(PrintOperation::pagesInRange(printer, 5), c.pages) << c.typed;
  }
}

}  // namespace
}  // namespace kivo
