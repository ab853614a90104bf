#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "fields/FieldsTestDocument.h"
#include "fields/StopChar.h"
#include "fields/gui/InputHidukeController.h"
#include "fields/gui/InputKingakuController.h"
#include "fields/gui/ModalDriver.h"
#include "platform/WindowPlacement.h"

namespace kivo {
namespace {

using test::kAcceptKeys;
using test::kCancelKeys;
using test::Key;

// Resets the panel with the start text, runs it, and types then presses the key
// while it is up; a panel still open then shows its message and gets the closing key.
// Answers the message, or "closed".
QString runPanel(InputPanelController& panel, const QString& start, const QString& typed, const Key& key,
                 const Key& closing = kCancelKeys[0])
{
  QString message;
  test::whenModalWindowIsUp<InputPanelController>([&](InputPanelController* p) {
    QTest::keyClicks(p->textField(), typed);
    QTest::keyClick(p->textField(), key.key, key.modifiers);
    message = p->isVisible() ? p->messageLabel()->text() : QString("closed");
    if (p->isVisible()) QTest::keyClick(p->textField(), closing.key, closing.modifiers);
  });
  panel.resetTextFieldWithString(start);
  panel.setWindowFrameOriginByFrameTopLeftPoint(QPoint(100, 100));
  panel.runModal(nullptr);
  return message;
}

TEST(InputHidukeController, AcceptsADateWithEveryAcceptKeyKeepsUnreadableOnesOpenAndStaysOnScreen)
{
  auto doc = test::makeFieldsTestDocument();
  InputHidukeController panel(*doc);
  for (const Key& key : kAcceptKeys) {
    EXPECT_EQ(runPanel(panel, "1", "/15", key), "closed");
    EXPECT_EQ(panel.hiduke(), Date(2025, 1, 15));
    EXPECT_EQ(panel.stopModalChar(), key.stopChar);
  }
  // An unreadable date keeps the panel open with the reason.
  for (int i : {0, 1}) {
    EXPECT_EQ(runPanel(panel, "4", "/31", kAcceptKeys[1 + i], kCancelKeys[i]), "無効な日付です。");
    EXPECT_EQ(std::pair(panel.hiduke(), panel.stopModalChar()), std::pair(std::optional<Date>(), StopChar::kNone));
  }
  // Tab on an empty panel closes it without a date; the caller still moves on.
  EXPECT_EQ(runPanel(panel, "", "", kAcceptKeys[2]), "closed");
  EXPECT_EQ(panel.hiduke(), std::nullopt);
  EXPECT_EQ(panel.stopModalChar(), StopChar::kTab);

  // Reset keeps only partial dates.
  runPanel(panel, "4", "/1", kAcceptKeys[1]);
  ASSERT_TRUE(panel.hiduke());
  const std::pair<const char*, const char*> cases[] = {{"4", "4"}, {"0", "0"}, {"12/3", "12/3"},
                                                       {"a", ""},  {"\r", ""}, {"12345", ""}};
  for (const auto& [start, shown] : cases) {
    panel.resetTextFieldWithString(start);
    EXPECT_EQ(panel.textField()->text(), shown);
    EXPECT_EQ(std::pair(panel.hiduke(), panel.stopModalChar()), std::pair(std::optional<Date>(), StopChar::kNone));
  }

  // Placement puts the field on the point and stays on screen.
  panel.resetTextFieldWithString("");
  const QRect screen = WindowPlacement::availableGeometryAt(QPoint(0, 0));
  const QPoint p = screen.topLeft() + QPoint(120, 200);

  panel.setWindowFrameOriginByFrameTopLeftPoint(p);
  EXPECT_EQ(panel.pos().x(), p.x());
  EXPECT_EQ(panel.pos().y() + panel.textField()->mapTo(&panel, QPoint(0, panel.textField()->height())).y(), p.y());

  panel.setWindowFrameOriginByFrameTopLeftPoint(p, InputPanelController::Anchor::WindowTopLeft);
  EXPECT_EQ(panel.pos(), p);

  for (auto anchor : {InputPanelController::Anchor::FieldBottomLeft, InputPanelController::Anchor::WindowTopLeft}) {
    panel.setWindowFrameOriginByFrameTopLeftPoint(screen.bottomRight(), anchor);
    EXPECT_TRUE(screen.contains(QRect(panel.pos(), panel.size())));
  }
}

// Every reason the amount panel gives shows whole, the longest one too.
TEST(InputKingakuController, RefusesAnAmountOverTheLimitWithTheWholeSentence)
{
  InputKingakuController panel(0);
  const QString message = runPanel(panel, "", "999999999999", kAcceptKeys[1]);
  EXPECT_EQ(message, QString::fromUtf8(AmountFormatter::kOverLimitMessage));
  EXPECT_GE(panel.messageLabel()->contentsRect().width(),
            panel.messageLabel()->fontMetrics().horizontalAdvance(message));
}

}  // namespace
}  // namespace kivo
