// One row of a cash book (出納帳) as the window shows and edits it: the cells the user
// types (date, counterpart account and sub-account, description, the two divisions,
// receipt or payment), the number of the entry the row stands for (0 while the row is
// the book's unregistered last row), the kind of that entry, and the running balance
// after the row.
//
// The balance is kept as a number, not as the text the cell shows: a balance beyond
// the output limit shows "#Precision!", yet the next rows go on from the true value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "fields/FieldValue.h"
#include "model/Shiwake.h"

namespace kivo {

class SuitoucyouRow {
public:
  // The book grid's columns. The editable ones come first and are kept as cells; the
  // number, balance and kind columns are derived from the row's other fields.
  enum Column {
    DateMatrix = 0,
    AiteKamokuMatrix,
    AiteHojyoKamokuMatrix,
    TekiyouMatrix,
    AiteJigyoubuMatrix,
    JigyoubuMatrix,
    InKingakuMatrix,
    OutKingakuMatrix,
    DenpyouNoMatrix,
    ZandakaMatrix,
    KindOfShiwakeMatrix,
    ColumnCount
  };
  static constexpr int kCellCount = DenpyouNoMatrix;

  static bool isCellColumn(Column c) { return c >= 0 && c < kCellCount; }
  static bool isKingakuColumn(Column c) { return c == InKingakuMatrix || c == OutKingakuMatrix; }
  static bool isJigyoubuColumn(Column c) { return c == AiteJigyoubuMatrix || c == JigyoubuMatrix; }

  // No text at all: nil or the empty string.
  static bool isEmptyCell(const FieldValue& v) { return v.isNil() || (v.isText() && v.textValue().empty()); }

  const FieldValue& cell(Column c) const { return cells_[c]; }
  // Typed, pasted or emptied: the row has been edited since it was shown.
  void setCell(Column c, FieldValue v)
  {
    cells_[c] = std::move(v);
    editedSinceShown_ = true;
  }

  // The number of the row's entry: 0 while the row is unregistered.
  int32_t denpyouNo = 0;
  // The kindOfShiwake of the row's entry; a new row counts as a row without amount.
  ShiwakeKind kindOfShiwake = ShiwakeKind::SuitoucyouNoAmount;
  // The running balance after the row in stored units; none: the cell is empty.
  std::optional<int64_t> zandaka;
  // The balance was computed while the journal was not in date order.
  bool zandakaIsGray = false;

  // Shows a transfer-voucher line, which the cash book neither rewrites nor removes.
  bool isFurikaedenpyouLine() const { return kindOfShiwake == ShiwakeKind::Furikaedenpyou; }

  // The cells were just read from the journal or written to it; a row not edited since
  // shows its entry as it was then.
  void markShown() { editedSinceShown_ = false; }
  bool isEditedSinceShown() const { return editedSinceShown_; }
  // The same values in every cell, an empty text being no value.
  bool hasSameCellsAs(const SuitoucyouRow& other) const
  {
    for (int c = 0; c < kCellCount; ++c)
      if (cells_[c] != other.cells_[c] && !(isEmptyCell(cells_[c]) && isEmptyCell(other.cells_[c]))) return false;
    return true;
  }

private:
  std::array<FieldValue, kCellCount> cells_;
  bool editedSinceShown_ = false;
};

}  // namespace kivo
