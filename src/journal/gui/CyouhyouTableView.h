// The table of the report windows (the ledgers and the trial balances): an ordinary
// table view over its window's model with two additions.
//
//   - The keys a report window uses as commands (Enter, Return, Tab, Back-tab,
//     Delete, Space, the digits and the ASCII letters) are not handled by the table:
//     each is posted as "KIVOCyouhyouTableViewKeyDown" with the table as object and
//     the key event, and goes no further. Every other key (arrows, page keys) moves
//     the selection as in any table. Every report window receives the keys of every
//     report table and acts only while its own window is main.
//   - Total rows, as the window's controller names them, are tinted in two greens by
//     the parity of their index, unless selected.
//
// Only the rows in view are drawn, so a ledger of many thousand rows costs no more to
// show than a short one.
#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QPersistentModelIndex>
#include <QTableView>
#include <cstdint>
#include <functional>

class QKeyEvent;

namespace kivo {

class CyouhyouTableView : public QTableView {
  Q_OBJECT
public:
  static constexpr const char* kKeyDownNotification = "KIVOCyouhyouTableViewKeyDown";

  // What the table asks the controller of its window.
  class Controller {
  public:
    virtual ~Controller() = default;
    virtual bool isTotalRow(int row, const CyouhyouTableView& tableView) const = 0;
  };

  explicit CyouhyouTableView(QWidget* parent = nullptr);

  void setController(const Controller* controller) { controller_ = controller; }
  const Controller* controller() const { return controller_; }
  // The table watches its model for rows built anew (see mouseDoubleClickEvent).
  void setModel(QAbstractItemModel* model) override;

  // Whether the character (KeyCharacter) is one the table posts rather than handles.
  static bool isPostedCharacter(uint16_t c);

  // The tint of a total row at that index.
  static QColor tintColorForRow(int row);
  // The colour the row's background is filled with before its cells are drawn;
  // invalid when it is not filled (not a total row, or selected).
  QColor backgroundColorOfRow(int row) const;

  // The selected row, -1 when none.
  int selectedRow() const;
  // Selects the row alone and scrolls it into view.
  void selectRow(int row);

  // Asked before a click opens a cell for editing (the window's own edit() calls are
  // not asked); without it the edit triggers alone decide.
  using ShouldEdit = std::function<bool(const QModelIndex&)>;
  void setShouldEditHandler(ShouldEdit handler) { shouldEdit_ = std::move(handler); }
  using QTableView::edit;

  // A click on a cell of the selected row opens it once the time of a double click has
  // passed (a double click is the row's own command). Whatever the user types before
  // then opens the cell at once and goes into it, never to the window's commands.
  bool isClickEditPending() const { return clickEditTimer_.isActive(); }
  // A click on the table is under way: its button is down, or it waits to open the
  // cell it chose. What must not move the rows under it (a refresh) waits for
  // clickDidEnd.
  bool isClickPending() const { return buttonDown_ || clickEditTimer_.isActive(); }

signals:
  // The click under way has ended: released, and its cell opened or not.
  void clickDidEnd();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // A double click on the selected row is its command. When the rows were built anew
  // between its two clicks (the first one stored a correction, and the window
  // refreshed, moving the rows), it is the command of the row selected then, the one
  // its first click chose, whatever row now lies under the pointer. Neither it nor the
  // release that follows it counts as a click that opens a cell.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  // Tab and Back-tab are posted too; they never move the focus out of the table.
  bool focusNextPrevChild(bool next) override;
  void paintEvent(QPaintEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
  // Opens the clicked cell now, when it may still be edited; false when it was not opened.
  bool openClickedCell();
  // Says so when no click is under way any more.
  void noteClickEnded();

  const Controller* controller_ = nullptr;
  ShouldEdit shouldEdit_;
  QBasicTimer clickEditTimer_;
  QPersistentModelIndex clickedIndex_;
  // The rows were built anew since the last press.
  bool rowsRebuiltSincePress_ = false;
  // A double click was taken as the row's command: its release is no click.
  bool doubleClickTaken_ = false;
  bool releasingDoubleClick_ = false;
  // A press on the table whose release has not come yet.
  bool buttonDown_ = false;
};

}  // namespace kivo
