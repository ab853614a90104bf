#include "platform/AlertSheet.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

#include "platform/KeyRouting.h"
#include "platform/KeyboardReturn.h"

namespace kivo {
namespace {

AlertSheet::Responder& responder()
{
  static AlertSheet::Responder r;
  return r;
}

int& beeps()
{
  static int n = 0;
  return n;
}

// A message box sizes itself for Latin text, which wraps at spaces; Japanese has none
// and wrapped after a few characters, with the title cut. The box is made wide enough
// for the title and for a sentence of up to about thirty characters on one line.
void widenForJapanese(QMessageBox* box, const QString& title, const QString& text)
{
  auto* grid = qobject_cast<QGridLayout*>(box->layout());
  if (!grid) return;
  const QFontMetrics fm(box->font());
  QFont bold = box->font();
  bold.setBold(true);
  const int em = fm.horizontalAdvance(QChar(0x3042));
  int longest = QFontMetrics(bold).horizontalAdvance(title);
  for (const QString& line : text.split(QLatin1Char('\n'))) longest = std::max(longest, fm.horizontalAdvance(line));
  // The text column, beside the icon's.
  const int iconColumn = box->iconPixmap().width() + 3 * em;
  int width = std::clamp(longest + em, 22 * em, 34 * em) + iconColumn;
  // The title bar shows the title too, beside the window's buttons.
  width = std::max(width, fm.horizontalAdvance(title) + 8 * em);
  if (const QScreen* screen = box->screen()) width = std::min(width, screen->availableGeometry().width() * 3 / 4);
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                grid->columnCount());
}

// The alert box: the title as the bold first line, the sentence under it.
QMessageBox* makeBox(QWidget* window, const QString& title, const QString& text, const QStringList& buttons,
                     int defaultIndex, int escapeIndex, QList<QPushButton*>& made)
{
  auto* box = new QMessageBox(window ? window->window() : nullptr);
  box->setIcon(QMessageBox::Warning);
  box->setWindowTitle(title);
  box->setText(QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()));
  box->setInformativeText(text);
  box->setTextFormat(Qt::RichText);
  for (int i = 0; i < buttons.size(); ++i) {
    QPushButton* b = box->addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    made.push_back(b);
  }
  if (defaultIndex >= 0 && defaultIndex < made.size()) box->setDefaultButton(made[defaultIndex]);
  if (escapeIndex >= 0 && escapeIndex < made.size()) box->setEscapeButton(made[escapeIndex]);
  box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  widenForJapanese(box, title, text);
  return box;
}

int indexOfClicked(QMessageBox* box, const QList<QPushButton*>& made, int fallback)
{
  const int i = static_cast<int>(made.indexOf(qobject_cast<QPushButton*>(box->clickedButton())));
  return i < 0 ? fallback : i;
}

// Shows the alert as a sheet and calls onEnd with the index of the chosen button. The
// keyboard goes back to the window (without one: the window that was active) before
// onEnd acts on the answer, not to one the window system chooses, or to none.
void beginSheet(QWidget* window, const QString& title, const QString& text, const QStringList& buttons,
                int defaultIndex, int escapeIndex, std::function<void(int)> onEnd)
{
  if (responder()) {
    const int chosen = responder()(AlertSheet::Alert{title, text, buttons, window != nullptr, window});
    if (onEnd) onEnd(chosen);
    return;
  }
  QList<QPushButton*> made;
  QMessageBox* box = makeBox(window, title, text, buttons, defaultIndex, escapeIndex, made);
  const QPointer<QWidget> back = window ? window->window() : QApplication::activeWindow();
  const bool onWindow = window != nullptr;
  QObject::connect(box, &QMessageBox::finished, box, [box, made, escapeIndex, onEnd, back, onWindow](int) {
    // The box is still handling the click or key that answered it, and deletes itself
    // once that is over: the answer is read now, and the rest (the keyboard's return,
    // then the answer) runs after, without the box. An alert whose window the program
    // closes meanwhile has nothing left for its answer to act on.
    const int chosen = indexOfClicked(box, made, escapeIndex);
    KeyboardReturn::afterAnswer(back.data(), onWindow ? back.data() : nullptr, [onEnd, chosen] {
      if (onEnd) onEnd(chosen);
    });
  });
  // No key typed before it showed answers it.
  KeyRouting::watchQuestion(box);
  box->open();
}

}  // namespace

void AlertSheet::beginAlertSheet(QWidget* window, const QString& title, const QString& text,
                                 std::function<void()> onEnd)
{
  beginSheet(window, title, text, {QString::fromUtf8(kOKButton)}, 0, 0, [onEnd](int) {
    if (onEnd) onEnd();
  });
}

void AlertSheet::runAlert(const QString& title, const QString& text)
{
  runQuestion(nullptr, title, text, {QString::fromUtf8(kOKButton)}, 0);
}

void AlertSheet::beginDeleteConfirmationSheet(QWidget* window, const QString& title, const QString& text,
                                              std::function<void(bool)> onEnd)
{
  // "キャンセル" is the default button, so that Return never deletes by accident.
  const QStringList buttons{QString::fromUtf8(kDeleteButton), QString::fromUtf8(kCancelButton)};
  beginSheet(window, title, text, buttons, 1, 1, [onEnd](int chosen) {
    if (onEnd) onEnd(chosen == 0);
  });
}

int AlertSheet::runQuestion(QWidget* window, const QString& title, const QString& text, const QStringList& buttons,
                            int escapeIndex)
{
  if (responder()) {
    const KeyboardReturn back(window);
    return responder()(Alert{title, text, buttons, window != nullptr, window});
  }
  // An answer whose window the program closed meanwhile acts on nothing: the caller
  // is told escapeIndex, as when the box went with the window before an answer.
  const QPointer<QWidget> asker = window ? window->window() : nullptr;
  const bool askerShown = asker && asker->isVisible();
  int chosen = escapeIndex;
  // The box goes once the keyboard is back, in case the program had not read every key
  // sent to it by then.
  QPointer<QMessageBox> alive;
  const auto deleteBox = qScopeGuard([&alive] { delete alive.data(); });
  {
    // As it closes, the keyboard goes back to the window (without one: the window that
    // was active), not to one the window system chooses.
    KeyboardReturn back(window);
    QList<QPushButton*> made;
    QMessageBox* box = makeBox(window, title, text, buttons, 0, escapeIndex, made);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    // The caller waits for the answer, inside whatever the user did to ask it: nothing
    // else of the program takes input meanwhile, or another window could close the
    // document and with it the window the caller is running for.
    box->setWindowModality(Qt::ApplicationModal);
    // Read as the box ends: the box goes with its window when the program closes that
    // during the question, and is then not there to be read or deleted.
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, made, escapeIndex, &chosen](int) { chosen = indexOfClicked(box, made, escapeIndex); });
    alive = box;
    // A key typed before the question showed never answers it.
    back.exec(*box, KeyboardReturn::TypedAhead::IsDropped);
  }
  if (askerShown && (!asker || !asker->isVisible())) return escapeIndex;
  return chosen;
}

void AlertSheet::beep()
{
  ++beeps();
  QApplication::beep();
}

void AlertSheet::setResponderForTesting(Responder r) { responder() = std::move(r); }

int AlertSheet::beepCountForTesting() { return beeps(); }

}  // namespace kivo
