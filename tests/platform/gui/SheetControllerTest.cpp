// Sheets end through one action compared with their OK button; alerts carry the
// standard titles and buttons.
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface_p.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "platform/AlertSheet.h"
#include "platform/KeyboardReturn.h"
#include "platform/SheetController.h"
#include "platform/WindowController.h"
#include "support/DrawnOnScreen.h"
#include "support/RaiseWatch.h"
#include "support/TypedAhead.h"

namespace kivo {
namespace {

class ChoiceSheet : public SheetController {
public:
  ChoiceSheet()
      : ok(new QPushButton(QStringLiteral("OK"), this)), cancel(new QPushButton(QStringLiteral("キャンセル"), this))
  {
    connect(ok, &QPushButton::clicked, this, [this] { endSheetWithSender(ok); });
    connect(cancel, &QPushButton::clicked, this, [this] { endSheetWithSender(cancel); });
  }
  QPushButton* ok;
  QPushButton* cancel;
  int stored = 0;

protected:
  QAbstractButton* okButton() const override { return ok; }
  void storeChoice() override { ++stored; }
};

TEST(SheetControllerTest, OnlyTheOkButtonEndsWithOneSheetsLieCentredAndAlertsCarryTheStandardButtons)
{
  QMainWindow window;
  window.show();
  struct Case {
    const char* how;
    std::function<void(ChoiceSheet&)> end;
    int code;
  };
  const Case cases[] = {
      {"OK", [](ChoiceSheet& s) { QTest::mouseClick(s.ok, Qt::LeftButton); }, SheetController::kOK},
      {"cancel", [](ChoiceSheet& s) { QTest::mouseClick(s.cancel, Qt::LeftButton); }, SheetController::kCancel},
      {"abort", [](ChoiceSheet& s) { s.abortSheet(); }, SheetController::kCancel},
      {"escape", [](ChoiceSheet& s) { QTest::keyClick(&s, Qt::Key_Escape); }, SheetController::kCancel},
      {"another sender", [](ChoiceSheet& s) { s.endSheetWithSender(&s); }, SheetController::kCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    auto* sheet = new ChoiceSheet();
    std::vector<int> codes;
    sheet->beginSheet(&window, [&codes](int code) { codes.push_back(code); });
    EXPECT_EQ(std::pair(SheetController::attachedSheet(&window), sheet->windowModality()),
              std::pair(static_cast<SheetController*>(sheet), Qt::WindowModal));
    c.end(*sheet);
    // An answer acts once the sheet's own handling is over.
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(codes, sheet->stored, SheetController::attachedSheet(&window), sheet->isVisible()),
              std::tuple(std::vector<int>{c.code}, c.code == SheetController::kOK ? 1 : 0, nullptr, false));
    // Ending twice does not call the handler again.
    sheet->abortSheet();
    EXPECT_EQ(codes.size(), 1u);
    delete sheet;
  }

  // A sheet lies over the middle of its window and wholly on the screen, its title bar
  // included, also when the window is at the top edge or the sheet is larger than the
  // screen.
  const QRect screen(0, 0, 1600, 1000);
  struct Placement {
    const char* what;
    QRect window;
    QSize sheet;
    QRect expected;  // the frame's top-left and the contents' size
  };
  const Placement placements[] = {
      {"window at the top edge", QRect(400, 0, 800, 100), QSize(400, 300), QRect(599, 0, 400, 300)},
      {"window off the right edge", QRect(1400, 500, 600, 300), QSize(500, 200), QRect(1100, 533, 500, 200)},
      {"taller than the screen", QRect(0, 0, 400, 400), QSize(300, 1200), QRect(49, 0, 300, 968)},
  };
  for (const Placement& c : placements) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SheetController::placementOnWindow(c.sheet, c.window, screen), c.expected);
  }

  window.setGeometry(window.screen()->availableGeometry().adjusted(100, 0, -100, 0).adjusted(0, 0, 0, -400));
  window.show();
  ChoiceSheet sheet;
  sheet.resize(360, 300);
  sheet.beginSheet(&window, [](int) {});
  EXPECT_TRUE(window.screen()->availableGeometry().contains(sheet.frameGeometry()));
  EXPECT_LE(std::abs(sheet.frameGeometry().center().x() - window.frameGeometry().center().x()), 1);
  sheet.abortSheet();

  // Alerts carry the standard buttons and report the choice.
  std::vector<AlertSheet::Alert> shown;
  int reply = 0;
  AlertSheet::setResponderForTesting([&](const AlertSheet::Alert& a) {
    shown.push_back(a);
    return reply;
  });

  bool ended = false;
  AlertSheet::beginAlertSheet(&window, QString::fromUtf8(AlertSheet::kInvalidDenpyouTitle),
                              QStringLiteral("1 行目の日付が正しく入力されていません。"), [&] { ended = true; });
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(std::tuple(shown[0].title, shown[0].buttons, shown[0].isSheet, ended),
            std::tuple(QStringLiteral("無効な伝票"), QStringList{QStringLiteral("OK")}, true, true));

  for (int chosen : {0, 1}) {
    reply = chosen;
    bool deleted = false;
    AlertSheet::beginDeleteConfirmationSheet(&window, QStringLiteral("伝票を削除"), QStringLiteral("削除しますか?"),
                                             [&](bool d) { deleted = d; });
    EXPECT_EQ(shown.back().buttons, (QStringList{QStringLiteral("削除"), QStringLiteral("キャンセル")}));
    EXPECT_EQ(deleted, chosen == 0);
  }

  AlertSheet::runAlert(QStringLiteral("印刷できません"),
                       QStringLiteral("設定している用紙の印刷できる範囲が小さすぎます。"));
  EXPECT_FALSE(shown.back().isSheet);
  AlertSheet::setResponderForTesting({});
}

TEST(SheetControllerTest, TheDefaultButtonAnswersOnlyTheReturnsNoFieldTook)
{
  QMainWindow window;
  window.show();
  // The key typed in the field after each text, in turn; how often the field acted;
  // how the sheet ended.
  const std::tuple<Qt::Key, std::vector<const char*>, int, std::vector<int>> cases[] = {
      {Qt::Key_Return, {""}, 0, {SheetController::kOK}},
      {Qt::Key_Return, {"x"}, 1, {}},
      {Qt::Key_Enter, {"x"}, 1, {}},
      {Qt::Key_Return, {"x", "y"}, 2, {}},
      {Qt::Key_Return, {"x", ""}, 1, {SheetController::kOK}},
  };
  for (const auto& [key, texts, acted, codes] : cases) {
    // A sheet whose OK is its default button, with a field that acts on Return when it
    // holds text.
    ChoiceSheet sheet;
    sheet.ok->setDefault(true);
    auto* field = new QLineEdit(&sheet);
    int fieldActed = 0;
    QObject::connect(field, &QLineEdit::returnPressed, [&] {
      if (field->text().isEmpty()) return;
      SheetController::takeReturnKey(field);
      ++fieldActed;
    });
    std::vector<int> ended;
    sheet.beginSheet(&window, [&ended](int code) { ended.push_back(code); });
    for (const char* text : texts) {
      field->setFocus();
      field->setText(QString::fromLatin1(text));
      QTest::keyClick(field, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(std::tuple(fieldActed, ended), std::tuple(acted, codes)) << key << " after " << texts.size();
    sheet.abortSheet();
  }
  // Outside a Return's way through a sheet, taking it changes nothing.
  SheetController::takeReturnKey(&window);
  SheetController::takeReturnKey(nullptr);
}

// A window the window system activates while its alert or sheet is up (a second
// click of the double-click that opened the alert, a click on the window) hands the
// keyboard to the alert or sheet, where Return then answers it: keys typed to the
// window itself would go nowhere. So does a sheet under an alert of its own, whatever
// kind of window it is; another window, which the alert does not block, keeps the
// keyboard.
TEST(SheetControllerTest, AWindowActivatedUnderItsAlertOrSheetHandsItTheKeyboard)
{
  WindowController window(nullptr);
  window.show();
  QMainWindow other;
  other.show();
  const auto activate = [](QWidget* w) {
    QWindowSystemInterface::handleWindowActivated<test::Queued>(w->windowHandle());
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  };
  enum class Kind { Alert, Sheet, AlertOnASheet };
  for (const Kind kind : {Kind::Alert, Kind::Sheet, Kind::AlertOnASheet}) {
    SCOPED_TRACE(static_cast<int>(kind));
    ChoiceSheet sheet;
    sheet.ok->setDefault(true);
    int ended = 0;
    if (kind != Kind::Alert) sheet.beginSheet(&window, [&](int) { ++ended; });
    QWidget* blocked = kind == Kind::AlertOnASheet ? static_cast<QWidget*>(&sheet) : &window;
    if (kind != Kind::Sheet)
      AlertSheet::beginAlertSheet(blocked, QStringLiteral("無効な資産"), QStringLiteral("説明"), [&] { ++ended; });
    QCoreApplication::processEvents();
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    activate(&other);
    EXPECT_EQ(QApplication::activeWindow(), &other);
    activate(blocked);
    EXPECT_EQ(QApplication::activeWindow(), modal);
    test::typeAheadToKeyboard(Qt::Key_Return);
    for (int i = 0; i < 2; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(ended, 1);
    if (sheet.isSheetAttached()) sheet.abortSheet();
  }
}

// Keys the window system routed to an alert, a sheet or a question before the program
// read the Return that answers it (on a busy machine, every key typed meanwhile): once
// the answer has acted they reach the window that has the keyboard again, in order,
// rather than the hidden box or sheet.
TEST(SheetControllerTest, KeysSentToTheAnsweredBoxGoOnToItsWindowOnceTheAnswerActed)
{
  enum class Kind { Alert, Sheet, Question };
  for (const Kind kind : {Kind::Alert, Kind::Sheet, Kind::Question}) {
    SCOPED_TRACE(static_cast<int>(kind));
    QMainWindow window;
    auto* field = new QLineEdit(&window);
    window.setCentralWidget(field);
    window.show();
    QWindowSystemInterface::handleWindowActivated<test::Queued>(window.windowHandle());
    QCoreApplication::processEvents();
    field->setFocus();
    ChoiceSheet sheet;
    sheet.ok->setDefault(true);
    QString atAnswer = QStringLiteral("not answered");
    const auto answered = [&] { atAnswer = field->text(); };
    // Return and "ab", all sent to the modal window that has the keyboard.
    const auto typeIntoTheModal = [] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_NE(modal, nullptr);
      ASSERT_TRUE(QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 1000));
      ASSERT_TRUE(test::waitUntilDrawn(modal));
      QWindow* handle = modal->windowHandle();
      test::typeAheadKeyFor(handle, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
      test::typeAheadKeyFor(handle, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      test::typeAheadKeyFor(handle, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    };
    switch (kind) {
    case Kind::Alert:
      AlertSheet::beginAlertSheet(&window, QStringLiteral("無効な仕訳"), QStringLiteral("説明"), answered);
      typeIntoTheModal();
      break;
    case Kind::Sheet:
      sheet.beginSheet(&window, [&](int) { answered(); });
      typeIntoTheModal();
      break;
    case Kind::Question:
      QTimer::singleShot(0, typeIntoTheModal);
      AlertSheet::runQuestion(&window, QStringLiteral("削除"), QStringLiteral("説明"),
                              {QStringLiteral("削除"), QStringLiteral("キャンセル")}, 1);
      answered();
      break;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return field->text() == QStringLiteral("ab"); }, 2000))
        << field->text().toStdString();
    EXPECT_EQ(atAnswer, QString());
    EXPECT_EQ(QApplication::activeWindow(), &window);
  }
}

// A question takes no key typed before it showed on the screen, wherever the window
// system addressed it (a Return typed at once after Ctrl+W, sent to the question that
// had the keyboard before its first frame): the document is not saved by a key meant for
// something else. A key typed once it shows answers it, even one the window system
// addressed to the window it holds.
TEST(SheetControllerTest, AQuestionTakesNoKeyTypedBeforeItShowedAndTakesThoseTypedAfter)
{
  QMainWindow window;
  window.setCentralWidget(new QLineEdit(&window));
  window.show();
  QWindowSystemInterface::handleWindowActivated<test::Queued>(window.windowHandle());
  QCoreApplication::processEvents();
  // The window system's time as the question comes up, before its first frame.
  ulong beforeItShowed = 0;
  struct ShowTime : QObject {
    explicit ShowTime(ulong* at) : at_(at) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
      if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched) && !*at_)
        *at_ = static_cast<ulong>(QWindowSystemInterfacePrivate::eventTime.elapsed());
      return false;
    }
    ulong* at_;
  } showTime(&beforeItShowed);
  bool upAfterTheEarlyReturn = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(test::waitUntilDrawn(box));
    ASSERT_NE(beforeItShowed, 0u);
    QWindowSystemInterface::handleKeyEvent<test::Queued>(box->windowHandle(), beforeItShowed, QEvent::KeyPress,
                                                         Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QWindowSystemInterface::handleKeyEvent<test::Queued>(box->windowHandle(), beforeItShowed, QEvent::KeyRelease,
                                                         Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QTest::qWait(50);
    upAfterTheEarlyReturn = box->isVisible();
    test::typeAheadKeyFor(window.windowHandle(), Qt::Key_Escape, Qt::NoModifier, {});
    // Never left hanging.
    QTimer::singleShot(3000, box, [box] { box->close(); });
  });
  const int chosen = AlertSheet::runQuestion(&window, QStringLiteral("保存"), QStringLiteral("説明"),
                                             {QStringLiteral("保存"), QStringLiteral("キャンセル")}, 1);
  EXPECT_TRUE(upAfterTheEarlyReturn);
  EXPECT_EQ(chosen, 1);
}

// A window brought to the front takes its sheet above it, and the alert shown on that
// sheet above the sheet: without a window manager nothing else keeps them there.
TEST(SheetControllerTest, AWindowBroughtToTheFrontTakesItsSheetAndTheSheetsAlertAboveIt)
{
  WindowController window(nullptr);
  window.show();
  ChoiceSheet sheet;
  sheet.beginSheet(&window, [](int) {});
  AlertSheet::beginAlertSheet(&sheet, QStringLiteral("無効な資産"), QStringLiteral("説明"));
  QCoreApplication::processEvents();
  auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  ASSERT_TRUE(alert && alert->parentWidget() == &sheet);
  std::vector<QObject*> raised;
  {
    const test::RaiseWatch watch;
    window.showWindow();
    raised = watch.order;
  }
  EXPECT_EQ(raised, (std::vector<QObject*>{&window, &sheet, alert}));
  alert->reject();
  QCoreApplication::processEvents();
  sheet.abortSheet();
}

// Without a window manager, a press on a window that its own sheet holds, or on the
// sheet, reaches the program as the window system activating the one or the other (the
// window passes the activation on to its sheet): the window, its sheet and the alert on
// that sheet come to the front together, over a window that covered them, and the top
// one has the keyboard.
TEST(SheetControllerTest, AWindowHeldByItsSheetComesForwardWithItWhenEitherIsActivated)
{
  WindowController window(nullptr);
  window.setWindowTitle(QStringLiteral("window"));
  window.show();
  QMainWindow other;
  other.setWindowTitle(QStringLiteral("other"));
  other.show();
  const auto activate = [](QWidget* w) {
    QWindowSystemInterface::handleWindowActivated<test::Queued>(w->windowHandle());
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  };
  ChoiceSheet sheet;
  sheet.beginSheet(&window, [](int) {});
  QCoreApplication::processEvents();
  for (const bool withAlert : {false, true}) {
    SCOPED_TRACE(withAlert ? "an alert on the sheet" : "the sheet alone");
    if (withAlert) AlertSheet::beginAlertSheet(&sheet, QStringLiteral("無効な資産"), QStringLiteral("説明"));
    QCoreApplication::processEvents();
    QWidget* top = QApplication::activeModalWidget();
    ASSERT_TRUE(top && top->isVisible());
    std::vector<QWidget*> activated{&window, &sheet};
    if (withAlert) activated.push_back(top);
    for (QWidget* pressed : activated) {
      SCOPED_TRACE(pressed->windowTitle().toStdString());
      const test::RaiseWatch watch;
      // Another window comes over them all.
      other.raise();
      activate(&other);
      ASSERT_EQ(QApplication::activeWindow(), &other);
      activate(pressed);
      EXPECT_TRUE(watch.lastOver(&window, &other));
      EXPECT_TRUE(watch.lastOver(&sheet, &window));
      if (withAlert) { EXPECT_TRUE(watch.lastOver(top, &sheet)); }
      EXPECT_EQ(QApplication::activeWindow(), top);
    }
    if (withAlert) {
      static_cast<QMessageBox*>(top)->reject();
      QCoreApplication::processEvents();
    }
  }
  sheet.abortSheet();
}

// A window that closes with its sheet shown ends the sheet as Cancel would; the sheet
// goes back to its own parent and outlives the window, with what was chosen in it (the
// document keeps the journal's condition sheet, and the condition, for the next
// journal).
TEST(SheetControllerTest, AWindowClosingWithItsSheetShownEndsItAsCancelAndTheSheetOutlivesIt)
{
  for (const bool keptByAWidget : {false, true}) {
    SCOPED_TRACE(keptByAWidget ? "a sheet kept by a widget" : "a sheet kept by no widget");
    QWidget keeper;
    auto* window = new WindowController(nullptr);
    window->show();
    auto* sheet = new ChoiceSheet;
    if (keptByAWidget) sheet->setParent(&keeper, sheet->windowFlags());
    const QPointer<ChoiceSheet> alive = sheet;
    int ended = -1;
    sheet->beginSheet(window, [&ended](int code) { ended = code; });
    QCoreApplication::processEvents();
    ASSERT_EQ(window->attachedSheetController(), sheet);
    window->close();
    EXPECT_EQ(ended, SheetController::kCancel);
    EXPECT_FALSE(sheet->isSheetAttached());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->parentWidget(), keptByAWidget ? &keeper : nullptr);
    delete window;
    ASSERT_FALSE(alive.isNull());
    // Shown again on a new window, it ends with its answer there.
    WindowController next(nullptr);
    next.show();
    sheet->beginSheet(&next, [&ended](int code) { ended = code; });
    sheet->ok->click();
    EXPECT_TRUE(QTest::qWaitFor([&ended] { return ended == SheetController::kOK; }, 2000));
    delete alive.data();
  }
}

// An alert or a sheet over a window, answered: the window has the keyboard again before
// the answer acts, whatever the window system does as it closes (gives the keyboard to
// no window, as without a window manager, or to another window). So does a panel's own
// alert (a warning the panel itself raises) while the panel runs: the keyboard goes back
// to the panel.
TEST(SheetControllerTest, AnAnsweredAlertOrSheetGivesTheKeyboardBackToItsWindow)
{
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("window"));
  window.show();
  QMainWindow other;
  other.setWindowTitle(QStringLiteral("other"));
  other.show();
  const auto settle = [] {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  };
  const auto activate = [&settle](QWidget* w) {
    QWindowSystemInterface::handleWindowActivated<test::Queued>(w->windowHandle());
    settle();
  };
  // The modal window shown last.
  const auto shownModal = [] {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() ? modal : nullptr;
  };

  enum class Kind { Alert, DeleteConfirmation, Sheet, AlertOnASheet, PanelsOwnAlert };
  const std::pair<Kind, const char*> kinds[] = {{Kind::Alert, "an alert sheet"},
                                                {Kind::DeleteConfirmation, "a delete confirmation"},
                                                {Kind::Sheet, "a sheet"},
                                                {Kind::AlertOnASheet, "an alert on a sheet"},
                                                {Kind::PanelsOwnAlert, "a panel's own alert"}};
  for (const auto& [kind, what] : kinds)
    for (const bool toNoWindow : {true, false}) {
      SCOPED_TRACE(testing::Message() << what
                                      << (toNoWindow ? ", no window given the keyboard as it closes"
                                                     : ", another window given it"));
      activate(&window);
      ChoiceSheet sheet;
      QDialog panel(&window);
      QWidget* under = kind == Kind::AlertOnASheet    ? static_cast<QWidget*>(&sheet)
                       : kind == Kind::PanelsOwnAlert ? static_cast<QWidget*>(&panel)
                                                      : &window;
      // Where the keyboard was when the answer acted.
      QPointer<QWidget> atAnswer;
      const auto answered = [&atAnswer] { atAnswer = QApplication::activeWindow(); };
      // What the user then sees in front, answering it with Return.
      const auto answer = [&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        (void)QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 1000);
        EXPECT_EQ(QApplication::activeWindow(), modal);
        // The window system's choice as the modal window goes, made before the program
        // sees it go.
        test::WindowSystemChoice choice(modal, toNoWindow ? nullptr : &other);
        if (auto* box = qobject_cast<QMessageBox*>(modal))
          box->defaultButton()->click();
        else
          static_cast<ChoiceSheet*>(modal)->ok->click();
      };
      if (kind == Kind::Sheet || kind == Kind::AlertOnASheet) {
        sheet.beginSheet(&window, [&](int) { answered(); });
        settle();
      }
      switch (kind) {
      case Kind::Alert:
      case Kind::AlertOnASheet:
        AlertSheet::beginAlertSheet(under, QStringLiteral("書き出せません"), QStringLiteral("説明"), answered);
        settle();
        answer(shownModal());
        break;
      case Kind::DeleteConfirmation:
        AlertSheet::beginDeleteConfirmationSheet(under, QStringLiteral("削除"), QStringLiteral("説明"),
                                                 [&](bool) { answered(); });
        settle();
        answer(shownModal());
        break;
      case Kind::Sheet: answer(&sheet); break;
      case Kind::PanelsOwnAlert: {
        // The panel's own warning, as the print panel raises over itself; a key typed
        // as it is answered reaches the panel's field.
        auto* field = new QLineEdit(&panel);
        field->setFocus();
        QTimer::singleShot(0, &panel, [&] {
          QTimer::singleShot(0, [&] { answer(shownModal()); });
          QMessageBox::warning(&panel, QStringLiteral("印刷"), QStringLiteral("書き込めません"));
          test::typeAheadToKeyboard(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
          QTimer::singleShot(50, &panel, [&] {
            answered();
            EXPECT_EQ(field->text(), QStringLiteral("x"));
            panel.reject();
          });
        });
        const KeyboardReturn back(&window);
        panel.exec();
        break;
      }
      }
      settle();
      EXPECT_EQ(atAnswer.data(), under);
      if (kind == Kind::AlertOnASheet) {
        // The sheet, answered in turn, gives it back to the window.
        atAnswer = nullptr;
        answer(&sheet);
        settle();
        EXPECT_EQ(atAnswer.data(), &window);
      }
      EXPECT_EQ(QApplication::activeWindow(), &window);
      if (sheet.isSheetAttached()) sheet.abortSheet();
    }
}

// The window of an answered alert, sheet or question closing while the keyboard is
// waited for before the answer acts. Asked by the window manager (its close box), the
// close waits until the answer has acted on the window as it stood, and then closes it.
// Made by the program itself, whether the window is deleted as it closes or kept for
// later (as the documents keep theirs), the answer acts on nothing: an alert's or a
// sheet's handler does not run, a question answers its escape button, and nothing
// reads the sheet or the box that went with the window.
TEST(SheetControllerTest, AWindowClosingWhileTheKeyboardIsWaitedForAfterAnAnswer)
{
  QMainWindow other;
  other.setWindowTitle(QStringLiteral("other"));
  other.show();
  const auto settle = [] {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  };
  enum class Kind { Alert, DeleteConfirmation, Sheet, Question };
  const std::pair<Kind, const char*> kinds[] = {{Kind::Alert, "an alert sheet"},
                                                {Kind::DeleteConfirmation, "a delete confirmation"},
                                                {Kind::Sheet, "a sheet"},
                                                {Kind::Question, "a question"}};
  enum class Closing { ByTheWindowManager, ByTheProgram, ByTheProgramKeepingIt };
  const std::pair<Closing, const char*> closings[] = {
      {Closing::ByTheWindowManager, ", its window's close box clicked"},
      {Closing::ByTheProgram, ", its window closed and deleted by the program"},
      {Closing::ByTheProgramKeepingIt, ", its window closed by the program, which keeps it"}};
  for (const auto& [kind, what] : kinds)
    for (const auto& [closing, how] : closings) {
      SCOPED_TRACE(testing::Message() << what << how);
      const bool byTheWindowManager = closing == Closing::ByTheWindowManager;
      auto* window = new QMainWindow;
      window->setAttribute(Qt::WA_DeleteOnClose, closing != Closing::ByTheProgramKeepingIt);
      window->setWindowTitle(QStringLiteral("window"));
      window->show();
      QWindowSystemInterface::handleWindowActivated<test::Queued>(window->windowHandle());
      settle();
      const QPointer<QMainWindow> alive = window;
      const auto closed = [&alive] { return alive.isNull() || !alive->isVisible(); };
      // What the answer found: -1 it did not act, 0 its window gone, 1 its window there.
      int actedOnWindow = -1;
      const auto answered = [&actedOnWindow, alive] { actedOnWindow = alive && alive->isVisible() ? 1 : 0; };

      // Once the user answers, the window refuses the keyboard for a while, so that the
      // wait for it lasts; 50 ms into it, the window is closed.
      const auto closeDuringTheWait = [&, window] {
        QWindow* handle = window->windowHandle();
        handle->setFlag(Qt::WindowDoesNotAcceptFocus, true);
        QTimer::singleShot(50, [&, handle = QPointer<QWindow>(handle)] {
          if (byTheWindowManager) {
            QWindowSystemInterface::handleCloseEvent<test::Queued>(handle);
            QTimer::singleShot(20, [handle] {
              if (!handle) return;
              handle->setFlag(Qt::WindowDoesNotAcceptFocus, false);
              handle->requestActivate();
            });
          } else if (alive) {
            alive->close();
          }
        });
      };
      // The modal window in front, answered with its default button.
      const auto answer = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        test::WindowSystemChoice choice(modal, nullptr);
        closeDuringTheWait();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
          box->defaultButton()->click();
        else
          static_cast<ChoiceSheet*>(modal)->ok->click();
      };

      std::unique_ptr<ChoiceSheet> sheet;
      switch (kind) {
      case Kind::Alert:
        AlertSheet::beginAlertSheet(window, QStringLiteral("書き出せません"), QStringLiteral("説明"), answered);
        settle();
        answer();
        break;
      case Kind::DeleteConfirmation:
        AlertSheet::beginDeleteConfirmationSheet(window, QStringLiteral("削除"), QStringLiteral("説明"),
                                                 [&](bool) { answered(); });
        settle();
        answer();
        break;
      case Kind::Sheet: {
        sheet = std::make_unique<ChoiceSheet>();
        sheet->beginSheet(window, [&](int) { answered(); });
        settle();
        answer();
        break;
      }
      case Kind::Question: {
        // The caller acts on the answer "保存" once runQuestion returns.
        QTimer::singleShot(0, [&] { answer(); });
        const int chosen = AlertSheet::runQuestion(window, QStringLiteral("保存しますか?"), QStringLiteral("説明"),
                                                   {QStringLiteral("保存"), QStringLiteral("キャンセル")}, 1);
        if (chosen == 0) answered();
        EXPECT_EQ(chosen, byTheWindowManager ? 0 : 1);
        break;
      }
      }
      // The wait, and the answer after it, run once the sheet's or box's own handling
      // of the click is over.
      (void)QTest::qWaitFor([&] { return actedOnWindow != -1 || closed(); }, 2000);
      settle();
      if (byTheWindowManager) {
        // The answer acted on the window as it stood; the close came after it.
        EXPECT_EQ(actedOnWindow, 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000)) << "the window's close was lost";
      } else {
        EXPECT_TRUE(closed());
        EXPECT_EQ(actedOnWindow, -1);
        if (closing == Closing::ByTheProgram) {
          EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000)) << "the window was not deleted";
        }
      }
      settle();
      if (sheet && sheet->isSheetAttached()) sheet->abortSheet();
      sheet.reset();
      if (alive) delete alive.data();
    }
}

}  // namespace
}  // namespace kivo
