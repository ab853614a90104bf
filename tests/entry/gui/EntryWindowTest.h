// What the voucher and cash-book window tests share: a document opened with the
// window under test, and typing into the grid's edited cell as a user would.
#pragma once

#include <QInputMethodEvent>
#include <QLineEdit>

#include "entry/gui/EntryGridView.h"
#include "entry/gui/FurikaedenpyouController.h"
#include "entry/gui/SuitoucyouController.h"
#include "support/AppTestFixture.h"

namespace kivo::test {

class EntryWindowTest : public AppTest {
protected:
  void openDocument(std::unique_ptr<MyDocument> books = makeBooks())
  {
    session = app->documentController()->addDocument(std::move(books));
    flush();
  }

  // The window shown, made the active one.
  template <typename Window>
  Window* shown(Window* w)
  {
    flush();
    activate(w);
    return w;
  }

  FurikaedenpyouController* openVoucherWindow(std::unique_ptr<MyDocument> books = makeBooks())
  {
    openDocument(std::move(books));
    return shown(FurikaedenpyouController::showFurikaedenpyouWindow(session));
  }

  SuitoucyouController* openBook(std::unique_ptr<MyDocument> books = makeBooks(), int32_t kamoku = kGenkin,
                                 int32_t hojyo = -1)
  {
    openDocument(std::move(books));
    return shown(SuitoucyouController::showSuitoucyouWindow(session, kamoku, hojyo));
  }

  MyDocument& books() { return session->document(); }

  // Types text as a user would: ASCII as key presses, Japanese as an input method
  // commits it.
  static void typeText(QWidget* target, const QString& text)
  {
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(target, text);
      return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(target, &commit);
  }

  // Types into the edited cell of the grid, then presses the key.
  static void typeInGrid(EntryGridView* grid, const QString& text, Qt::Key key = Qt::Key_Tab)
  {
    ASSERT_TRUE(grid->isEditing()) << "no cell is being edited";
    if (!text.isEmpty()) {
      grid->fieldEditor()->selectAll();
      typeText(grid->fieldEditor(), text);
    }
    QTest::keyClick(grid->fieldEditor(), key);
    flush();
  }

  // Types ASCII text, then the key, as the window system delivers keys: to whichever
  // widget of the window has the keyboard.
  static void typeInWindow(QWidget* window, const char* text, Qt::Key key = Qt::Key_Tab)
  {
    for (const char* c = text; *c; ++c) QTest::keyClick(window->windowHandle(), *c);
    QTest::keyClick(window->windowHandle(), key);
    flush();
  }

  // The 編集 menu's undo (or redo) key, typed in the grid's edited cell.
  static void pressUndoKey(EntryGridView* grid, bool redo = false)
  {
    const Qt::KeyboardModifiers modifiers = redo ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    QTest::keyClick(grid->isEditing() ? static_cast<QWidget*>(grid->fieldEditor()) : grid, Qt::Key_Z, modifiers);
    flush();
  }

  DocumentSession* session = nullptr;
};

}  // namespace kivo::test
