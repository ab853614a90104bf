// What the voucher and cash-book window tests share: typing into the grid's edited
// cell as a user would.
#pragma once

#include <QInputMethodEvent>
#include <QLineEdit>

#include "entry/gui/EntryGridView.h"
#include "support/AppTestFixture.h"

namespace kivo::test {

class EntryWindowTest : public AppTest {
protected:
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
  static void typeInGrid(EntryGridView* grid, const QString& text, Qt::Key key)
  {
    ASSERT_TRUE(grid->isEditing()) << "no cell is being edited";
    if (!text.isEmpty()) {
      grid->fieldEditor()->selectAll();
      typeText(grid->fieldEditor(), text);
    }
    QTest::keyClick(grid->fieldEditor(), key);
    flush();
  }
};

}  // namespace kivo::test
