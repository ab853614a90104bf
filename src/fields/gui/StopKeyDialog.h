// A small modal window over a typed field that a stop key closes: Enter, Return, Tab
// and Back-tab accept with that key (Shift+Tab is Back-tab); Escape and Ctrl+W
// cancel. Its text field keeps what was typed when the focus arrives, so that typing
// goes on after it. The pickers and the input panels are such windows.
//
// Such a window opens on the first key typed in a field, and the keys typed after it
// are on their way to the window of the field until the new window has the focus.
// So it runs modally without blocking that window in the window system's sense:
// while it runs, every key sent to another window of the program goes to its text
// field, in order, and clicks and close requests elsewhere are ignored.
#pragma once

#include <QDialog>
#include <cstdint>

class QKeyEvent;
class QLineEdit;

namespace kivo {

class StopKeyDialog : public QDialog {
  Q_OBJECT
protected:
  StopKeyDialog(QWidget* parent, Qt::WindowFlags flags = {});

  // Runs the window modally (see above) until it closes; answers exec()'s result.
  int runModalKeepingKeys();

  // The field whose focus and keys the window watches.
  void watchTextField(QLineEdit* field);
  // A stop key that accepts: the window closes with it, or stays when it cannot.
  virtual void closeWithStopChar(uint16_t stopChar) = 0;
  // A key that is no stop key; false when not handled.
  virtual bool handleOtherKey(QKeyEvent*) { return false; }

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  class KeyForwarder;

  bool handleKey(QKeyEvent* event);

  QLineEdit* textField_ = nullptr;
};

}  // namespace kivo
