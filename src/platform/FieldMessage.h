// The sentence that says why typed text was refused, shown next to the field or cell
// it concerns, as a small note just below it. One note at a time: showing another
// replaces it; typing on in the field or leaving it answers it; it also goes when its
// window moves or hides, and by itself after a while. It never takes the focus, so the field stays where the user
// types.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

namespace kivo {

class FieldMessage {
public:
  // How long a note stays when nothing else removes it.
  static constexpr int kShowMilliseconds = 8000;

  // Shows the sentence under the rectangle of the widget (widget coordinates; the
  // whole widget when the rectangle is empty). An empty sentence hides the note.
  static void show(QWidget* widget, const QString& text, const QRect& rect = {});
  // Hides the note, or only the note of that widget.
  static void hide();
  static void hideFor(const QWidget* widget);

  // The sentence shown now and the widget it belongs to (empty / nullptr: none).
  static QString shownText();
  static QWidget* shownWidget();
};

}  // namespace kivo
