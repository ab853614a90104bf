// The small modal panel of the date input (more kinds of input may share it): a caption, one
// field and a line for what is wrong with the typed text. A caller resets it with
// the typed start text, places it at a screen point and runs it; the panel ends its
// own modal run when a key closes it.
//
// Enter, Return, Tab and Back-tab accept a readable value and are remembered as the
// stop character (3, 13, 9, 25). Tab and Back-tab on an empty field close the panel
// without a value (the caller still moves on); Escape and Ctrl+W cancel (stop
// character 0). Text that cannot be read keeps the panel open with a beep and the
// reason.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "fields/FieldValue.h"
#include "fields/gui/StopKeyDialog.h"

class QLabel;
class QLineEdit;

namespace kivo {

class Formatter;
class FormatterValidator;

class InputPanelController : public StopKeyDialog {
  Q_OBJECT
public:
  // Where setWindowFrameOriginByFrameTopLeftPoint puts the point: at the bottom-left
  // of the panel's field, so that the field lies over the cell it fills (entry
  // grids), or at the panel's top-left corner (report windows' fields).
  enum class Anchor { FieldBottomLeft, WindowTopLeft };

  // An accept key on a readable text that is no value (a code name typed in full).
  static constexpr const char* kEmptyMessage = "入力してください。";

  // The field shows the text when the formatter takes it as partial input, else
  // nothing; the value is cleared and the stop character becomes 0.
  void resetTextFieldWithString(const QString& text);
  // Moves the panel (keeping its size) so the anchor lies on the point, then as
  // little as needed to keep it on the screen. The panel shows when it runs.
  void setWindowFrameOriginByFrameTopLeftPoint(const QPoint& point, Anchor anchor = Anchor::FieldBottomLeft);
  // Runs the panel modally until a key closes it, kept above the window it serves.
  void runModal(QWidget* window);

  // 3, 13, 9 or 25 when the panel was closed by Enter, Return, Tab or Back-tab; 0
  // after a reset and when cancelled.
  uint16_t stopModalChar() const { return stopModalChar_; }

  QLineEdit* textField() const { return textField_; }
  QLabel* messageLabel() const { return messageLabel_; }

protected:
  // messages: the reasons the panel's formatter gives for text it refuses; the line
  // below the field is wide enough for each of them whole.
  InputPanelController(const QString& caption, int fieldWidth, Qt::Alignment fieldAlignment,
                       const QStringList& messages, QWidget* parent);

  virtual Formatter& formatter() = 0;
  virtual void clearValue() = 0;
  // Stores a value the formatter read (never text).
  virtual void storeValue(const FieldValue& value) = 0;

  void closeWithStopChar(uint16_t key) override;
  void showEvent(QShowEvent* event) override;
  void reject() override;

private:
  void showMessage(const QString& message);

  QLineEdit* textField_;
  QLabel* messageLabel_;
  FormatterValidator* validator_ = nullptr;
  uint16_t stopModalChar_ = 0;
};

}  // namespace kivo
