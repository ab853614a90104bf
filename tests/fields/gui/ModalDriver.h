// Drives a modal window from inside its own event loop: the steps run once the
// window is up, after the caller has started the modal run.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>

#include "fields/StopChar.h"
#include "fields/gui/StopKeyDialog.h"

namespace kivo::test {

// The window running modally now: a picker or panel (which Qt does not count as
// modal), else Qt's modal window.
inline QWidget* activeModalWindow()
{
  if (StopKeyDialog* running = StopKeyDialog::runningDialog()) return running;
  return QApplication::activeModalWidget();
}

template <typename Window>
void whenModalWindowIsUp(std::function<void(Window*)> steps)
{
  QTimer::singleShot(0, [steps] {
    auto* window = qobject_cast<Window*>(activeModalWindow());
    if (!window) {
      // Never leave a test hanging in a modal run it cannot see.
      if (QWidget* other = activeModalWindow()) other->close();
      ADD_FAILURE() << "no modal window of the expected kind";
      return;
    }
    steps(window);
  });
}

// Answers the picker or panel that comes up next: the text typed into its field, then
// the key, and Escape should the key leave it open. Its class and the text it came up
// with go to *opened.
inline void answerNextPanel(std::pair<QString, QString>* opened, const QString& typed, Qt::Key key)
{
  QTimer::singleShot(0, [=] {
    auto* panel = qobject_cast<StopKeyDialog*>(activeModalWindow());
    if (!panel) return;
    QLineEdit* field = panel->findChild<QLineEdit*>();
    if (opened) *opened = {QString::fromLatin1(panel->metaObject()->className()), field->text()};
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, key);
    if (panel->isVisible()) QTest::keyClick(field, Qt::Key_Escape);
  });
}

// The text put in the field and Return typed there; the events that follow run.
inline void typeReturnIn(QLineEdit* field, const QString& text)
{
  field->setFocus();
  field->setText(text);
  QTest::keyClick(field, Qt::Key_Return);
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// A key that closes a picker or an input panel, and the stop character it reports.
struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  uint16_t stopChar;
};

inline const Key kAcceptKeys[] = {
    {Qt::Key_Enter, Qt::KeypadModifier, StopChar::kEnter}, {Qt::Key_Return, Qt::NoModifier, StopChar::kReturn},
    {Qt::Key_Tab, Qt::NoModifier, StopChar::kTab},         {Qt::Key_Backtab, Qt::ShiftModifier, StopChar::kBacktab},
    {Qt::Key_Tab, Qt::ShiftModifier, StopChar::kBacktab},
};
inline const Key kCancelKeys[] = {
    {Qt::Key_Escape, Qt::NoModifier, StopChar::kNone},
    {Qt::Key_W, Qt::ControlModifier, StopChar::kNone},
};

}  // namespace kivo::test
