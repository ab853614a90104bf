#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "fields/FieldsTestDocument.h"
#include "fields/HojyoKamokuFormatter.h"
#include "fields/JigyoubuFormatter.h"
#include "fields/KamokuFormatter.h"
#include "fields/StopChar.h"
#include "fields/TekiyouFormatter.h"
#include "fields/gui/HojyoKamokuFormatterListWindow.h"
#include "fields/gui/JigyoubuFormatterListWindow.h"
#include "fields/gui/KamokuFormatterListWindow.h"
#include "fields/gui/ModalDriver.h"
#include "fields/gui/TekiyouFormatterListWindow.h"
#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

using test::kAcceptKeys;
using test::kCancelKeys;
using test::Key;

// Types the text, then presses the key in the picker's search field once the picker is up.
void pressWhenUp(const Key& key, const QString& typed = {})
{
  test::whenModalWindowIsUp<FormatterListWindow>([key, typed](FormatterListWindow* w) {
    QTest::keyClicks(w->searchField(), typed);
    QTest::keyClick(w->searchField(), key.key, key.modifiers);
    if (w->isVisible()) QTest::keyClick(w->searchField(), Qt::Key_Escape);  // never left hanging
  });
}

// The names the picker shows, in order.
QStringList shownNames(QTreeWidget* view, int column)
{
  QStringList names;
  for (QTreeWidgetItemIterator it(view); *it; ++it) names << (*it)->text(column);
  return names;
}

int32_t showKamokuPicker(KamokuFormatter& f, const QString& start, bool withHojyo)
{
  return KamokuFormatterListWindow::showKamokuFormatterListWindowTextFieldFrameTopLeftPoint(f, QPoint(40, 40), start,
                                                                                            withHojyo);
}

TEST(KamokuFormatterListWindow, EveryAcceptKeyChoosesTheSelectedSubAccountAndAMissDoesNot)
{
  auto doc = test::makeFieldsTestDocument();
  for (const Key& key : kAcceptKeys) {
    KamokuFormatter f(*doc, false);
    pressWhenUp(key, "SUI");  // typing continues after the start text
    EXPECT_EQ(showKamokuPicker(f, "MIT", true), 110);
    EXPECT_EQ(f.selectedHojyoKamokuCodeOfFormatterList(), 2);
    EXPECT_EQ(f.stopFormatterListChar(), key.stopChar);
  }
  // Accept without any match keeps it open; Escape and Ctrl+W cancel.
  for (const Key& key : kCancelKeys) {
    KamokuFormatter f(*doc, false);
    f.setSelectedHojyoKamokuCodeOfFormatterList(5);
    f.setStopFormatterListChar(StopChar::kReturn);
    bool stillOpen = false;
    test::whenModalWindowIsUp<FormatterListWindow>([&stillOpen, key](FormatterListWindow* w) {
      QTest::keyClick(w->searchField(), Qt::Key_Return);
      stillOpen = w->isVisible();
      QTest::keyClick(w->searchField(), key.key, key.modifiers);
    });
    EXPECT_EQ(showKamokuPicker(f, "XYZ", true), -1);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(f.stopFormatterListChar(), StopChar::kNone);
    EXPECT_EQ(f.selectedHojyoKamokuCodeOfFormatterList(), -1);
  }
}

TEST(KamokuFormatterListWindow, TypingNarrowsTheListArrowsMoveAndTheCashPickerListsCashAccounts)
{
  auto doc = test::makeFieldsTestDocument();
  KamokuFormatter f(*doc, false);
  QStringList seen;
  test::whenModalWindowIsUp<FormatterListWindow>([&seen](FormatterListWindow* w) {
    seen = shownNames(w->listView(), 1);
    QTest::keyClicks(w->searchField(), "GEN");
    seen << "|" << shownNames(w->listView(), 1);
    QTest::keyClick(w->searchField(), Qt::Key_Down);
    QTest::keyClick(w->searchField(), Qt::Key_Down);  // stays on the last row
    QTest::keyClick(w->searchField(), Qt::Key_Return);
  });
  const int32_t code = showKamokuPicker(f, "", false);
  EXPECT_EQ(seen.join(","),
            "現金,当座預金,普通預金,売掛金,現金過不足,建物,車両運搬具,旅費交通費,通信費,消耗品費,|,現金,現金過不足");
  EXPECT_EQ(code, 199);
  EXPECT_EQ(f.stopFormatterListChar(), StopChar::kReturn);

  // The cash-account picker lists cash accounts and their sub-accounts.
  KamokuFormatter cash(*doc, true);
  QString shown;
  test::whenModalWindowIsUp<FormatterListWindow>([&shown](FormatterListWindow* w) {
    shown = shownNames(w->listView(), 1).join(",");
    QTest::keyClick(w->searchField(), Qt::Key_Down);
    QTest::keyClick(w->searchField(), Qt::Key_Tab);
  });
  const int32_t cashCode = KamokuFormatterListWindow::showSuitouKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
      cash, QPoint(40, 40), "", nullptr);
  EXPECT_EQ(shown, "現金,当座預金,みずほ銀行,三井銀行,りそな銀行,普通預金");
  EXPECT_EQ(cash.stopFormatterListChar(), StopChar::kTab);
  EXPECT_EQ(cashCode, 110);
  EXPECT_EQ(cash.selectedHojyoKamokuCodeOfFormatterList(), -1);  // an account row itself
}

TEST(FormatterListWindow, TheSubAccountAndDescriptionPickersChooseTheirRows)
{
  auto doc = test::makeFieldsTestDocument();
  HojyoKamokuFormatter f(*doc);
  f.setStopFormatterListChar(StopChar::kReturn);
  // Without a parent nothing opens.
  EXPECT_EQ(HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
                f, QPoint(40, 40), ""),
            -1);
  EXPECT_EQ(f.stopFormatterListChar(), StopChar::kNone);

  // The keys are the shared window's, tried on the account picker above.
  f.setParentKamokuFromKamokuCode(110);
  pressWhenUp(kAcceptKeys[2]);
  EXPECT_EQ(HojyoKamokuFormatterListWindow::showHojyoKamokuFormatterListWindowTextFieldFrameTopLeftPoint(
                f, QPoint(40, 40), "1"),
            1);
  EXPECT_EQ(f.stopFormatterListChar(), StopChar::kTab);

  // The description picker chooses descriptions and skips group headings.
  TekiyouFormatter tekiyou(*doc);
  tekiyou.setPrimeGroupNameToSearchFromFirstKamokuCode(500, std::nullopt);
  pressWhenUp(kAcceptKeys[0]);
  TekiyouPtr first = TekiyouFormatterListWindow::showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(
      tekiyou, QPoint(40, 40), "TAXI");
  EXPECT_EQ(first->tekiyou(), "タクシー代 出張");
  test::whenModalWindowIsUp<FormatterListWindow>([](FormatterListWindow* w) {
    QTest::keyClick(w->searchField(), Qt::Key_Down);  // タクシー代 出張
    QTest::keyClick(w->searchField(), Qt::Key_Down);  // over the heading "その他"
    QTest::keyClick(w->searchField(), Qt::Key_Return);
  });
  TekiyouPtr t =
      TekiyouFormatterListWindow::showTekiyouFormatterListWindowTextFieldFrameTopLeftPoint(tekiyou, QPoint(40, 40), "");
  EXPECT_EQ(t->tekiyou(), "タクシー代");
}

// The division picker without the whole company, at a point near the screen's edge or
// not; with it, the whole company chosen.
TEST(FormatterListWindow, OpensAtThePointAndStaysOnScreen)
{
  auto doc = test::makeFieldsTestDocument();
  JigyoubuFormatter all(*doc, true);
  pressWhenUp(kAcceptKeys[1]);
  EXPECT_EQ(
      JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(all, QPoint(40, 40), "99"),
      99);
  EXPECT_EQ(all.stopFormatterListChar(), StopChar::kReturn);
  const QRect screen = WindowPlacement::availableGeometryAt(QPoint(0, 0));
  // Where the window is asked for, and whether it can stand there.
  for (const auto& [point, keptAtPoint] :
       {std::pair(screen.topLeft() + QPoint(20, 30), true), std::pair(screen.bottomRight(), false)}) {
    QRect geometry;
    QString shown;
    test::whenModalWindowIsUp<FormatterListWindow>([&geometry, &shown](FormatterListWindow* w) {
      geometry = QRect(w->pos(), w->size());
      shown = shownNames(w->listView(), 1).join(",");
      QTest::keyClick(w->searchField(), Qt::Key_Escape);
    });
    JigyoubuFormatter f(*doc);
    JigyoubuFormatterListWindow::showJigyoubuFormatterListWindowTextFieldFrameTopLeftPoint(f, point, "");
    if (keptAtPoint) { EXPECT_EQ(geometry.topLeft(), point); }
    EXPECT_TRUE(screen.contains(geometry)) << geometry.x() << "," << geometry.y();
    EXPECT_EQ(shown, "本社,工場,支店,支社");
  }
}

TEST(WindowPlacement, KeepsWindowsInsideTheArea)
{
  const QRect area(0, 0, 800, 600);
  // The frame and where it is moved to.
  const std::pair<QRect, QPoint> cases[] = {
      {{100, 100, 200, 100}, {100, 100}},
      {{700, 550, 200, 100}, {600, 500}},
      {{-50, -20, 200, 100}, {0, 0}},
      {{10, 10, 900, 700}, {0, 0}},  // larger than the area: its top-left edge wins
  };
  for (const auto& [frame, expected] : cases) EXPECT_EQ(WindowPlacement::keptOnScreen(frame, area), expected);
  EXPECT_EQ(WindowPlacement::keptOnScreen({700, 550, 200, 100}, QRect()), QPoint(700, 550));
}

}  // namespace
}  // namespace kivo
