// The voucher browser over the voucher window, offscreen: the cards of a date, the
// slider and the number field choosing the front card, a double click opening it.
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

#include "entry/gui/EntryWindowTest.h"
#include "entry/gui/FurikaedenpyouSelectController.h"

namespace kivo::test {
namespace {

class FurikaedenpyouSelectControllerTest : public EntryWindowTest {
protected:
  int32_t frontDenpyouNo(FurikaedenpyouSelectController* browser)
  {
    const int front = browser->frontCard();
    if (front < 0) return 0;
    return session->document().journal()[browser->cards()[static_cast<size_t>(front)]]->denpyouNo();
  }

  FurikaedenpyouController* w = nullptr;
};

TEST_F(FurikaedenpyouSelectControllerTest, TheSliderAndTheNumberFieldChooseTheFrontCardADoubleClickShowsIt)
{
  auto b = makeBooks();
  b->journal().assign({makeEntry(Date(2024, 4, 1), 1, kGenkin, kUriagedaka, 10),
                       makeEntry(Date(2024, 4, 2), 2, kGenkin, kUriagedaka, 20),
                       makeEntry(Date(2024, 4, 2), 3, kGenkin, kUriagedaka, 30),
                       makeEntry(Date(2024, 4, 2), 4, kGenkin, kUriagedaka, 40)});
  b->kaisya().setMinAvailableDenpyouNo(5);
  openDocument(std::move(b));
  w = shown(FurikaedenpyouController::showDenpyouOfDenpyouNo(session, 1));
  w->selectDisplayDenpyouButton()->click();
  flush();
  auto* browser = FurikaedenpyouSelectController::selectControllerOfDocument(session);
  EXPECT_TRUE(browser->isVisible());
  EXPECT_EQ(browser->windowTitle(), QStringLiteral("表示する振替伝票の日付を入力"));
  // Wide enough for the cards and more, yet never wider than the screen; its frame as
  // high as the screen and within it, also over a window framed otherwise (a maximized
  // one, borderless).
  const QRect screen = browser->screen()->availableGeometry();
  QWidget borderless(nullptr, Qt::FramelessWindowHint);
  for (QWidget* covered : {static_cast<QWidget*>(w), &borderless}) {
    if (covered == &borderless) {
      QTest::keyClick(browser->dateField(), Qt::Key_Escape);
      borderless.setGeometry(screen);
      borderless.show();
      browser->setWindowFrameToCoverWindow(&borderless);
      browser->show();
      flush();
    }
    EXPECT_GE(browser->frameGeometry().width(), std::min(browser->totalWidth() + 200, screen.width()));
    EXPECT_EQ(std::pair(screen.contains(browser->frameGeometry()), browser->frameGeometry().height()),
              std::pair(true, screen.height()));
  }
  borderless.hide();

  browser->dateField()->setText(QStringLiteral("4/2"));
  QTest::keyClick(browser->dateField(), Qt::Key_Return);
  // Which cards, the browser model's test says.
  EXPECT_EQ(std::tuple(browser->windowTitle(), browser->denpyouSlider()->maximum(), frontDenpyouNo(browser)),
            std::tuple(QStringLiteral("3 件の伝票"), 2, 2));

  browser->denpyouSlider()->setValue(2);
  EXPECT_EQ(frontDenpyouNo(browser), 4);
  // The number typed, the front card's voucher (0: emptied) and the cards shown.
  const std::tuple<const char*, int32_t, int> cases[] = {{"3", 3, 3}, {"1", 1, 1}, {"77", 1, 1}, {"x", 0, 0}};
  for (const auto& [typed, front, cards] : cases) {
    browser->denpyouNoField()->setText(QString::fromLatin1(typed));
    QTest::keyClick(browser->denpyouNoField(), Qt::Key_Return);
    EXPECT_EQ(frontDenpyouNo(browser), front) << typed;
    EXPECT_EQ(browser->numberOfDenpyou(), cards) << typed;
    EXPECT_TRUE(browser->denpyouNoField()->text().isEmpty());
  }

  // Next and previous dates; past the first, nothing changes.
  browser->nextDateButton()->click();  // no cards, no date: the last voucher's date
  EXPECT_EQ(browser->dateField()->text(), QStringLiteral("04/02"));
  browser->previousDateButton()->click();
  browser->previousDateButton()->click();
  EXPECT_EQ(browser->cards(), std::vector<size_t>{0});

  // A double click on the front card shows its voucher.
  browser->dateField()->setText(QStringLiteral("4/2"));
  QTest::keyClick(browser->dateField(), Qt::Key_Return);
  QTest::qWait(FurikaedenpyouSelectController::kAnimationMilliseconds + 100);

  // A click on a card behind brings it to the front.
  // Its top band shows between the tilted tops of the cards in front.
  QWidget* back = browser->cardWidget(2);
  const int step = browser->cardWidget(1)->y() - back->y();
  const int tiltedTop = back->height() / 2 - static_cast<int>(back->height() / 2 * 0.866);
  QTest::mouseClick(browser->animationView(), Qt::LeftButton, {},
                    QPoint(back->geometry().center().x(), back->y() + tiltedTop + step / 2));
  EXPECT_EQ(frontDenpyouNo(browser), 4);
  QTest::qWait(FurikaedenpyouSelectController::kAnimationMilliseconds + 100);

  browser->denpyouSlider()->setValue(1);
  QTest::qWait(FurikaedenpyouSelectController::kAnimationMilliseconds + 100);
  QWidget* front = browser->cardWidget(1);
  QTest::mouseDClick(browser->animationView(), Qt::LeftButton, {}, front->geometry().center());
  QTest::qWait(FurikaedenpyouSelectController::kAnimationMilliseconds + 200);
  EXPECT_FALSE(browser->isVisible());
  EXPECT_EQ(w->displayingDenpyouNo(), 3);
}

}  // namespace
}  // namespace kivo::test
