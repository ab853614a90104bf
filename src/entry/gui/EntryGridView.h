// The entry grid of the voucher and cash-book windows: one column ("matrix") per
// field of a row, one cell per row in every matrix, and one selected cell in the
// whole grid. Every row is two lines high, as a paper voucher is: a matrix sits on
// the upper or the lower line (or spans both), and the rows are striped.
//
// The grid keeps no values: it asks its delegate (the window controller) for the
// rows and the text of each cell, and tells it about clicks, the editing of a cell
// (begin, change, end, through one field editor laid over the selected cell) and
// the keys pressed while a cell is edited. Keys typed on the grid itself while no
// cell is edited are posted as a key-down notification for the keys an entry
// window acts on.
//
// Only the rows in view are painted, so a cash book of thousands of rows costs no
// more to draw than a voucher of three.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QString>
#include <vector>

class QLineEdit;

namespace kivo {

class EntryGridView : public QAbstractScrollArea {
  Q_OBJECT
public:
  // A column of the grid.
  struct Matrix {
    int id = 0;     // the controller's name for the column
    QString title;  // the column's title in the header
    int x = 0;      // left edge, in grid coordinates
    int width = 80;
    int line = 0;      // 0 the upper line of a row, 1 the lower
    int lineSpan = 1;  // 2: both lines
    Qt::Alignment alignment = Qt::AlignLeft;
    bool enabled = true;          // a disabled matrix shows no text and takes no click
    bool selectable = true;       // a click may select its cells
    bool editable = true;         // a selected cell is edited in place
    bool strongLeftRule = false;  // a heavier rule on its left edge (between blocks)
    bool stretches = false;       // widens to the right edge of the view
  };

  // What the field editor asks to be done with a key (the platform's commands).
  enum class Command { InsertTab, InsertBacktab, MoveUp, MoveDown, InsertNewline, CancelOperation };

  class Delegate {
  public:
    virtual ~Delegate() = default;
    virtual int numberOfRows() const = 0;
    // The cell's text as shown.
    virtual QString stringValue(int row, int matrixId) const = 0;
    // The text the field editor starts with.
    virtual QString editingStringValue(int row, int matrixId) const { return stringValue(row, matrixId); }
    // Whether a keystroke may change the cell (asked at the first change).
    virtual bool textShouldBeginEditing(int row, int matrixId) { return true; }
    virtual void textDidBeginEditing(int row, int matrixId) {}
    virtual void textDidChange(int row, int matrixId, const QString& text) {}
    // Reads the changed text into the cell; false keeps the editor open.
    virtual bool textShouldEndEditing(int row, int matrixId, const QString& text) { return true; }
    virtual void textDidEndEditing(int row, int matrixId, const QString& text) {}
    // A key of the field editor; true when handled.
    virtual bool doCommandBySelector(int row, int matrixId, Command command, bool isAutoRepeat) { return false; }
    // A click on a selectable cell of an enabled matrix.
    virtual void mouseDownInCell(int row, int matrixId) {}
    // Whether the text may stand in the cell while typing. Text that may not is kept
    // as typed (never cut), and the delegate is told so that it can say why.
    virtual bool isPartialStringValid(int matrixId, const QString& text) const { return true; }
    virtual void partialStringRefused(int row, int matrixId, const QString& text) {}
    // The colour of a cell's text when it is not selected; an invalid colour: the
    // grid's own.
    virtual QColor textColor(int row, int matrixId) const { return {}; }
    // A cell of a column filled from a panel or picker: selected and highlighted but
    // not edited in place; the grid keeps the focus and tells of typed keys.
    virtual bool isHighlightOnlyCell(int row, int matrixId) { return false; }
    // Whether the field editor takes typing through the desktop's input method in the
    // column (false: keys arrive as typed, for ASCII columns).
    virtual bool usesInputMethod(int matrixId) const { return true; }
    // A key typed on a highlighted cell: its text, or "\x7f" for Delete/Backspace,
    // "\x03" for Enter and "\r" for Return.
    virtual void keyTypedInHighlightedCell(int row, int matrixId, const QString& text) {}
  };

  // keyDownNotificationName: posted for the listed keys typed on the grid itself.
  EntryGridView(const QString& keyDownNotificationName, QWidget* parent = nullptr);
  ~EntryGridView() override;

  void setDelegate(Delegate* delegate) { delegate_ = delegate; }
  Delegate* delegate() const { return delegate_; }
  const QString& keyDownNotificationName() const { return keyDownNotificationName_; }

  // --- layout
  void setMatrices(std::vector<Matrix> matrices);
  const std::vector<Matrix>& matrices() const { return matrices_; }
  const Matrix* matrix(int id) const;
  Matrix* matrix(int id);
  int lineHeight() const { return lineHeight_; }
  int rowHeight() const { return 2 * lineHeight_; }
  int headerHeight() const { return 2 * lineHeight_ + 4; }
  // The width the matrices need; the view scrolls sideways when it is narrower.
  int contentWidth() const;
  // A matrix's width as shown: a stretching one reaches the view's right edge.
  int shownWidth(const Matrix& m) const;
  // The rows changed in number or content: sizes the grid and repaints it.
  void reloadData();
  void updateRow(int row);

  // --- the one selection
  int selectedRow() const { return selectedRow_; }
  int selectedMatrixId() const { return selectedMatrix_; }
  // Selects the cell, scrolls its row into view and, when its matrix is editable,
  // opens the field editor on it. A field editor open elsewhere is dropped: the
  // caller has ended its editing first.
  void selectCell(int row, int matrixId);
  void deselectCell();
  // Every row's cell of one matrix scrolls its row into view.
  void scrollRowToVisible(int row);

  // --- editing
  bool isEditing() const;
  QLineEdit* fieldEditor() const { return editor_; }
  // Ends the editing of the selected cell: a changed text goes to the delegate, which
  // may refuse it (false: the editor stays). True when nothing was being edited.
  bool endEditing();
  // Closes the field editor without reading its text.
  void abortEditing();
  // Keys the field editor leaves to the window's menu (it would take some, such as
  // Ctrl+K, for itself).
  void setReservedShortcuts(const QList<QKeySequence>& keys) { reservedShortcuts_ = keys; }

  // --- geometry
  // The cell's rectangle in the viewport's coordinates.
  QRect cellRect(int row, int matrixId) const;
  // The cell's rectangle in screen coordinates.
  QRect globalCellRect(int row, int matrixId) const;
  // The row and matrix at a point of the viewport; false when no cell is there.
  bool cellAt(const QPoint& viewportPoint, int* row, int* matrixId) const;
  // The cell a click at the point selects: the cell there, or for a cell that cannot be
  // selected, the one above or below it in the same row; false when there is none.
  bool selectableCellAt(const QPoint& viewportPoint, int* row, int* matrixId) const;

  // Whether the grid posts its key-down notification for the character (KeyCharacter).
  static bool isPostedCharacter(uint16_t c);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  class Header;

  void updateGeometries();
  void updateEditorGeometry();
  void openEditor();
  void closeEditor();
  void keepSelectedRowVisible();
  void paintCell(QPainter& painter, int row, const Matrix& m, const QRect& rect);

  QString keyDownNotificationName_;
  Delegate* delegate_ = nullptr;
  std::vector<Matrix> matrices_;
  Header* header_;
  QLineEdit* editor_;
  int lineHeight_ = 22;
  int selectedRow_ = -1;
  int selectedMatrix_ = -1;
  bool editing_ = false;
  bool highlightOnly_ = false;
  bool began_ = false;
  QString originalText_;
  bool adjustingScroll_ = false;
  QList<QKeySequence> reservedShortcuts_;
};

}  // namespace kivo
