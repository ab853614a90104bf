// The grid of the journal window: every entry on two lines, in six blocks (date and
// voucher number; debit account and sub-account; debit amount and division; the
// same two for the credit side; description), each line of a block one column
// ("matrix") with one cell per entry. The rows are striped; one cell may be
// selected. No cell is ever edited.
//
// The grid keeps no values: it asks its data source for the text of each cell it
// draws, and only the rows in view are drawn, so a journal of a hundred thousand
// entries opens as fast as one of ten. Tab, Back-tab and the up and down arrows go
// to the data source (the window moves the selection); clicks tell it the cell.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <array>
#include <optional>

namespace kivo {

class ShiwakenikkiView : public QAbstractScrollArea {
  Q_OBJECT
public:
  enum class Matrix {
    Date,
    DenpyouNo,
    KarikataKamoku,
    KarikataHojyoKamoku,
    KarikataKingaku,
    KarikataJigyoubu,
    KashikataKamoku,
    KashikataHojyoKamoku,
    KashikataKingaku,
    KashikataJigyoubu,
    Tekiyou,
    Empty,
  };
  static constexpr int kMatrixCount = 12;
  static constexpr int kBlockCount = 6;

  enum class Command { InsertTab, InsertBacktab, MoveUp, MoveDown };

  class DataSource {
  public:
    virtual ~DataSource() = default;
    virtual QString stringValue(int row, Matrix matrix) const = 0;
    // Tab, Back-tab and the arrows typed on the grid.
    virtual void doCommandBySelector(Command command, bool isAutoRepeat) = 0;
    virtual void mouseDownInCell(int row, Matrix matrix) = 0;
  };

  explicit ShiwakenikkiView(QWidget* parent = nullptr);

  void setDataSource(DataSource* dataSource) { dataSource_ = dataSource; }

  // The number of entries shown; the selection is dropped.
  void renewRows(int n);
  int numberOfRows() const { return rows_; }

  // A disabled matrix shows no text and its heading is empty.
  void setMatrixEnabled(Matrix matrix, bool enabled);
  bool isMatrixEnabled(Matrix matrix) const { return enabled_[index(matrix)]; }
  QString headingTitle(Matrix matrix) const;

  // --- selection: one cell of the whole grid
  void selectCell(int row, Matrix matrix);
  void deselectAll();
  int selectedRow() const { return selectedRow_; }
  std::optional<Matrix> selectedMatrix() const;

  // --- geometry, in the grid's own coordinates (row 0 at the top)
  int rowHeight() const { return lineHeight_ * 2; }
  int lineHeight() const { return lineHeight_; }
  int headerHeight() const { return lineHeight_ * 2 + 2; }
  QRect cellFrameAtRow(int row, Matrix matrix) const;
  // Scrolls as little as needed to show the row whole.
  void scrollRowToVisible(int row);

  // The block and line a matrix sits on.
  static int blockOfMatrix(Matrix matrix) { return index(matrix) / 2; }
  static int lineOfMatrix(Matrix matrix) { return index(matrix) % 2; }
  static Matrix matrixAt(int block, int line) { return static_cast<Matrix>(block * 2 + line); }
  static Qt::Alignment alignmentOfMatrix(Matrix matrix);

  // Draws the column headings (the header strip above the rows calls it).
  void paintHeader(QPainter& painter, const QRect& rect);
  // The text a cell shows: a left-aligned text too long for the cell ends with "…".
  QString shownStringAtRow(int row, Matrix matrix) const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool viewportEvent(QEvent* event) override;

private:
  static int index(Matrix matrix) { return static_cast<int>(matrix); }
  // The left edge and width of a block, with the last block stretched to the view.
  int blockX(int block) const;
  int blockWidth(int block) const;
  int contentWidth() const;
  void updateScrollBars();
  void layoutHeader();

  DataSource* dataSource_ = nullptr;
  int rows_ = 0;
  int lineHeight_ = 20;
  std::array<int, kBlockCount> blockWidths_{};
  std::array<bool, kMatrixCount> enabled_{};
  int selectedRow_ = -1;
  int selectedMatrix_ = -1;
  QWidget* header_ = nullptr;
};

}  // namespace kivo
