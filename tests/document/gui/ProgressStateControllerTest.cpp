// The shared progress sheet as a long job uses it: polled between steps.
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <tuple>

#include "document/gui/ProgressStateController.h"
#include "platform/ModalSession.h"
#include "support/AppTestFixture.h"
#include "support/ShowWatch.h"
#include "support/SlowMachine.h"
#include "support/TypedAhead.h"

namespace kivo::test {
namespace {

using Response = ProgressStateController::ModalResponse;

// A job of the given number of steps; before step `clickAt` the user presses cancel.
// Answers the number of steps done.
int runJob(ProgressStateController& progress, QWidget* over, int steps, int clickAt)
{
  progress.setProgressFieldStringValue(QStringLiteral("計算中"));
  progress.setSubProgressFieldStringValue(QString());
  progress.setProgressIndicatorMaxValue(steps);
  progress.beginModalSession(over);
  int done = 0;
  for (int i = 0; i < steps; ++i) {
    if (i == clickAt) QTest::mouseClick(progress.cancelButton(), Qt::LeftButton);
    if (progress.runModalSession() != Response::Continue) break;
    progress.setSubProgressFieldStringValue(QStringLiteral("科目 %1").arg(i));
    ++done;
    progress.incrementProgressIndicator();
  }
  progress.endModalSession();
  return done;
}

class ProgressStateControllerTest : public AppTest {};

// A field the user types in, on the window.
QLineEdit* fieldOf(QWidget* window)
{
  auto* field = new QLineEdit(window);
  field->show();
  return field;
}

TEST_F(ProgressStateControllerTest, CancelStopsThePolledJobAtItsNextStepAndTheBarShowsItsProgress)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  struct Case {
    bool cancelEnabled;
    int clickAt;
    int expectedSteps;
  };
  const Case cases[] = {
      {true, 3, 3},  // the step after the click is not started
      {true, 0, 0},
      {true, -1, 10},  // never clicked: every step
      {false, 3, 10},  // a job that cannot be cancelled ignores the button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "cancel enabled " << c.cancelEnabled << ", click at " << c.clickAt);
    progress->setCancelButtonEnabled(c.cancelEnabled);
    EXPECT_EQ(runJob(*progress, doc->documentInfoController(), 10, c.clickAt), c.expectedSteps);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(progress->isRunningModalSession());
  }
  // A new session starts afresh after a cancelled one.
  progress->setCancelButtonEnabled(true);
  EXPECT_EQ(runJob(*progress, doc->documentInfoController(), 4, -1), 4);

  // The sheet is application-modal and shows the job's progress.
  progress->setProgressFieldStringValue(QStringLiteral("書き出し中"));
  progress->setProgressIndicatorMaxValue(4);
  progress->beginModalSession(doc->documentInfoController());
  QThread::msleep(ModalSession::kShowDelay);
  EXPECT_EQ(progress->runModalSession(), Response::Continue);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_EQ(progress->windowModality(), Qt::ApplicationModal);
  progress->incrementProgressIndicator();
  EXPECT_EQ(progress->progressIndicatorValue(), 1.0);
  EXPECT_EQ(progress->progressIndicator()->value(), progress->progressIndicator()->maximum() / 4);
  // A new maximum starts the bar again at 0.
  progress->setProgressIndicatorMaxValue(2);
  EXPECT_EQ(progress->progressIndicator()->value(), 0);
  // Escape acts as the cancel button.
  progress->setCancelButtonEnabled(true);
  QTest::keyClick(progress, Qt::Key_Escape);
  EXPECT_EQ(progress->runModalSession(), Response::Aborted);
  progress->endModalSession();
}

// A job shorter than the delay shows no sheet, and what the user types meanwhile goes
// on, in order, to the field the user was in once the job ends; a job that lasts
// shows the sheet over the window at its first poll past the delay, and there the
// sheet is what the user faces.
TEST_F(ProgressStateControllerTest, OnlyAJobThatLastsShowsTheSheetAndKeysTypedMeanwhileReachTheirField)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  QWidget* window = doc->documentInfoController();
  QLineEdit* field = fieldOf(window);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  field->setFocus();
  for (const bool lasting : {false, true}) {
    SCOPED_TRACE(lasting ? "a job that lasts" : "a short job");
    field->clear();
    progress->beginModalSession(window);
    bool shown = false;
    for (int step = 0; step < 4; ++step) {
      if (step == 1 && !lasting) typeAhead(window, QStringLiteral("15000"));
      if (step == 2 && lasting) QThread::msleep(ModalSession::kShowDelay);
      ASSERT_EQ(progress->runModalSession(), Response::Continue);
      shown = shown || progress->isVisible();
    }
    progress->endModalSession();
    EXPECT_EQ(shown, lasting);
    flush();
    EXPECT_EQ(field->text(), QString::fromUtf8(lasting ? "" : "15000"));
  }
}

// Work begun in the middle of a job (a refresh that was waiting to run) runs within
// it: its end neither ends the job's session nor stops the job, which goes on to its
// last step and can still be cancelled.
TEST_F(ProgressStateControllerTest, WorkBegunInTheMiddleOfAJobNeitherEndsNorStopsIt)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  progress->setCancelButtonEnabled(true);
  progress->beginModalSession(doc->documentInfoController());
  EXPECT_EQ(progress->runModalSession(), Response::Continue);
  progress->beginNamedSteps(doc->documentInfoController(), 2);
  EXPECT_TRUE(progress->nextNamedStep("科目 1"));
  progress->endModalSession();
  EXPECT_TRUE(progress->isRunningModalSession());
  EXPECT_EQ(progress->runModalSession(), Response::Continue);
  progress->cancelButton()->click();
  EXPECT_EQ(progress->runModalSession(), Response::Aborted);
  progress->endModalSession();
  EXPECT_FALSE(progress->isRunningModalSession());
}

// Work that joins a job (a book behind brought up to date during a print, a print
// during such a book) leaves the job's sheet as the job set it, while it runs and
// after: its texts and bar, its cancel button and with it whether the user's input
// is held. Cancelling while only the job can be cancelled cancels the job, and the
// joined work's polls see it; a cancel button the joined work would enable inside a
// job that cannot be cancelled does nothing, and the input stays held for the field.
TEST_F(ProgressStateControllerTest, WorkThatJoinsAJobLeavesItsSheetCancelAndInputAsTheJobSetThem)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  QWidget* window = doc->documentInfoController();
  QLineEdit* field = fieldOf(window);
  const auto sheet = [progress] {
    return std::tuple(progress->progressFieldStringValue(), progress->cancelButton()->isEnabled(),
                      progress->progressIndicator()->minimum(), progress->progressIndicator()->maximum(),
                      progress->progressIndicator()->value());
  };
  enum class Cancel { Never, DuringJoinedWork };
  struct Case {
    bool jobCancellable;
    Cancel cancel;
  };
  for (const Case c :
       {Case{true, Cancel::Never}, Case{true, Cancel::DuringJoinedWork}, Case{false, Cancel::DuringJoinedWork}}) {
    SCOPED_TRACE(::testing::Message() << "job cancellable " << c.jobCancellable << ", cancel "
                                      << (c.cancel == Cancel::Never ? "never" : "during the joined work"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    field->setFocus();
    field->clear();
    // The job: a print of 40 pages at its 10th, or a book behind.
    progress->beginModalSession(window);
    progress->setProgressFieldStringValue(QStringLiteral("印刷中"));
    progress->setCancelButtonEnabled(c.jobCancellable);
    progress->setProgressIndicatorMaxValue(40);
    progress->setProgressIndicatorValue(10);
    QThread::msleep(ModalSession::kShowDelay);
    ASSERT_EQ(progress->runModalSession(), Response::Continue);
    ASSERT_TRUE(progress->isVisible());
    if (!c.jobCancellable) typeAhead(window, QStringLiteral("15"));
    const auto jobs = sheet();

    // The joined work sets the sheet as it would for a job of its own: the other kind.
    progress->beginModalSession(window);
    progress->setProgressFieldStringValue(QStringLiteral("残高を計算中"));
    progress->setSubProgressFieldStringValue(QString());
    progress->setCancelButtonEnabled(!c.jobCancellable);
    progress->startProgressIndicatorAnimation();
    EXPECT_EQ(sheet(), jobs);
    if (c.cancel == Cancel::DuringJoinedWork) progress->cancelButton()->click();
    const bool cancelled = c.jobCancellable && c.cancel == Cancel::DuringJoinedWork;
    EXPECT_EQ(progress->runModalSession(), cancelled ? Response::Aborted : Response::Continue);
    progress->stopProgressIndicatorAnimation();
    progress->setProgressIndicatorMaxValue(3);
    progress->incrementProgressIndicator();
    progress->endModalSession();
    EXPECT_TRUE(progress->isRunningModalSession());
    EXPECT_EQ(sheet(), jobs);

    // The job goes on as it was: cancelled, or still taking Escape typed at once, or
    // holding what is typed for the field.
    if (c.jobCancellable && !cancelled) typeAheadToKeyboard(Qt::Key_Escape);
    Response response = Response::Continue;
    for (int step = 0; step < 10 && response == Response::Continue; ++step) {
      response = progress->runModalSession();
      QThread::msleep(10);
    }
    EXPECT_EQ(response, c.jobCancellable ? Response::Aborted : Response::Continue);
    progress->endModalSession();
    flush();
    EXPECT_EQ(field->text(), QString::fromUtf8(c.jobCancellable ? "" : "15"));
  }
}

// A job that outlasts the delay, on a machine slower than this one. A job that cannot
// be cancelled holds what the user types, before and while its sheet shows, for the
// field the user is in; the keys typed before the sheet of a job that can be cancelled
// showed go to the sheet once it has the keyboard, so that Escape typed at once
// cancels the job.
TEST_F(ProgressStateControllerTest, AJobThatLastsHoldsTheKeysForTheUsersFieldOrGivesThemToItsSheet)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  QWidget* window = doc->documentInfoController();
  QLineEdit* field = fieldOf(window);
  for (const bool cancellable : {false, true}) {
    SCOPED_TRACE(cancellable ? "a job that can be cancelled" : "a job that cannot");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    field->setFocus();
    field->clear();
    progress->setCancelButtonEnabled(cancellable);
    progress->beginModalSession(window);
    if (cancellable)
      typeAheadToKeyboard(Qt::Key_Escape);
    else
      typeAhead(window, QStringLiteral("15"));
    int steps = 0;
    int shownAtStep = -1;
    ShowWatch watch(progress, [&] { shownAtStep = steps; });
    SlowMachine slow(2 * ModalSession::kShowDelay);
    slow.start();
    for (; steps < 40 && progress->runModalSession() == Response::Continue; ++steps) {
      // Typed while the sheet is up: held with the rest for the user's field.
      if (shownAtStep == steps && !cancellable) typeAhead(window, QStringLiteral("000"));
      QThread::msleep(20);
    }
    slow.stop();
    progress->endModalSession();
    flush();
    EXPECT_GT(shownAtStep, 0);
    // Stopped at the step the sheet showed at, or the next once the window system has
    // given the sheet the keyboard.
    if (cancellable) {
      EXPECT_GE(steps, shownAtStep);
      EXPECT_LE(steps, shownAtStep + 1);
    } else {
      EXPECT_EQ(steps, 40);
    }
    EXPECT_EQ(field->text(), QString::fromUtf8(cancellable ? "" : "15000"));
  }
}

// A job that polls for the first time, or the last, once it has lasted the delay: the
// sheet shows at that poll and takes the keys typed since the job began, so that an
// Escape typed before it showed cancels the job even when that poll is the job's last
// chance (an import about to register what it has read).
TEST_F(ProgressStateControllerTest, ThePollThatShowsTheSheetTakesTheEscapeTypedBefore)
{
  DocumentSession* doc = openBooks();
  ProgressStateController* progress = doc->progressStateController();
  QWidget* window = doc->documentInfoController();
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape typed" : "nothing typed");
    activate(doc->documentInfoController());
    progress->beginModalSession(window);
    progress->setCancelButtonEnabled(true);
    if (escape) typeAheadToKeyboard(Qt::Key_Escape);
    QThread::msleep(ModalSession::kShowDelay + 50);  // work that polls nothing meanwhile
    EXPECT_EQ(progress->runModalSession(), escape ? Response::Aborted : Response::Continue);
    progress->endModalSession();
    flush();
    // The keyboard is back in the window the job was begun over.
    EXPECT_EQ(QApplication::activeWindow(), window);
  }
}

}  // namespace
}  // namespace kivo::test
