// Alerts: document-modal alert sheets with a short title, one sentence and "OK";
// application-modal alerts; the "削除" / "キャンセル" confirmation of destructive
// commands; the beep for refused keys.
//
// Every alert goes through one place, which tests can answer automatically
// (setResponderForTesting) to check the exact title and sentence shown.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace kivo {

class AlertSheet {
public:
  // The standard titles.
  static constexpr const char* kCannotExecuteTitle = "実行できません";
  // The refusal of a command while a sheet elsewhere is in the way.
  static constexpr const char* kCloseSheetMessage =
      "このメッセージを閉じた後、前面に表示されるウインドウのシートを閉じてください。";
  static constexpr const char* kInvalidDenpyouTitle = "無効な伝票";
  static constexpr const char* kInvalidShiwakeTitle = "無効な仕訳";
  static constexpr const char* kCannotPrintTitle = "印刷できません";
  // The standard buttons.
  static constexpr const char* kOKButton = "OK";
  static constexpr const char* kDeleteButton = "削除";
  static constexpr const char* kCancelButton = "キャンセル";

  // What an alert showed, as the test responder sees it.
  struct Alert {
    QString title;
    QString text;
    QStringList buttons;
    bool isSheet = false;  // attached to a window rather than application-modal
    QPointer<QWidget> window;
  };

  // A document-modal alert sheet on the window with the single button "OK"; onEnd runs
  // when it is dismissed, the window having the keyboard again (KeyboardReturn), and
  // never once the program has closed the window meanwhile. Without a window it is
  // application-modal, and the keyboard goes back to the window that was active.
  static void beginAlertSheet(QWidget* window, const QString& title, const QString& text,
                              std::function<void()> onEnd = {});
  // An application-modal alert with "OK"; returns when it is dismissed, the window that
  // was active having the keyboard again (KeyboardReturn), as after runQuestion.
  static void runAlert(const QString& title, const QString& text);
  // The confirmation of a destructive command: "削除" and "キャンセル" (the default),
  // as a sheet on the window; onEnd receives true when "削除" was chosen, the window
  // having the keyboard again.
  static void beginDeleteConfirmationSheet(QWidget* window, const QString& title, const QString& text,
                                           std::function<void(bool doDelete)> onEnd);
  // An application-modal question with the buttons in order, the first the default;
  // escape chooses escapeIndex. Placed over the window when one is given. Answers the
  // chosen index once the window has the keyboard again, and escapeIndex when the
  // window was closed (or the box went with it) before the answer could act.
  static int runQuestion(QWidget* window, const QString& title, const QString& text, const QStringList& buttons,
                         int escapeIndex);

  // The beep for a refused key or command.
  static void beep();

  // Tests: answer every alert with the index of a button instead of showing it (an
  // empty function shows alerts again).
  using Responder = std::function<int(const Alert&)>;
  static void setResponderForTesting(Responder responder);
  static int beepCountForTesting();
};

}  // namespace kivo
