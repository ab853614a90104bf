// One row of a transfer voucher as the window edits it: a cell per column of the
// grid. The number column is not kept per row: every row shows the voucher's number.
//
// A cell holds what its field's formatter read: nothing (the empty string of an
// untouched cell), a code, an amount in stored units, a date, or text that resolved
// to nothing yet (a kana key matching several accounts). The checks tell "holds a
// value" (a code, an amount, a date) from "has text" (anything but empty).
#pragma once

#include <array>
#include <string>

#include "fields/FieldValue.h"

namespace kivo {

class FurikaedenpyouRow {
public:
  // The voucher grid's columns, one matrix each, in layout order.
  enum Column {
    DateMatrix = 0,
    DenpyouNoMatrix,
    KarikataKamokuMatrix,
    KarikataHojyoKamokuMatrix,
    KarikataKingakuMatrix,
    KarikataJigyoubuMatrix,
    KashikataKamokuMatrix,
    KashikataHojyoKamokuMatrix,
    KashikataKingakuMatrix,
    KashikataJigyoubuMatrix,
    TekiyouMatrix,
    ColumnCount
  };

  // The columns of one side: account, sub-account, amount, division.
  struct Side {
    Column kamoku, hojyoKamoku, kingaku, jigyoubu;
  };
  static constexpr Side kKarikata{KarikataKamokuMatrix, KarikataHojyoKamokuMatrix, KarikataKingakuMatrix,
                                  KarikataJigyoubuMatrix};
  static constexpr Side kKashikata{KashikataKamokuMatrix, KashikataHojyoKamokuMatrix, KashikataKingakuMatrix,
                                   KashikataJigyoubuMatrix};

  static bool isKamokuColumn(Column c) { return c == KarikataKamokuMatrix || c == KashikataKamokuMatrix; }
  static bool isHojyoKamokuColumn(Column c)
  {
    return c == KarikataHojyoKamokuMatrix || c == KashikataHojyoKamokuMatrix;
  }
  static bool isKingakuColumn(Column c) { return c == KarikataKingakuMatrix || c == KashikataKingakuMatrix; }
  static bool isJigyoubuColumn(Column c) { return c == KarikataJigyoubuMatrix || c == KashikataJigyoubuMatrix; }
  // The side a column belongs to (debit for the date, number and description).
  static const Side& sideOfColumn(Column c)
  {
    return c >= KashikataKamokuMatrix && c <= KashikataJigyoubuMatrix ? kKashikata : kKarikata;
  }

  FieldValue& cell(Column c) { return cells_[c]; }
  const FieldValue& cell(Column c) const { return cells_[c]; }

  // No text at all: nil or the empty string.
  static bool isEmptyCell(const FieldValue& v) { return v.isNil() || (v.isText() && v.textValue().empty()); }
  // A code or an amount: what the checks call "holds a value" for those columns.
  static bool holdsNumber(const FieldValue& v) { return v.isCode() || v.isAmount(); }

  // The change reason of the journal entry the row was shown from: not a cell, but
  // kept with the row so that registering the voucher again keeps the entry's reason
  // wherever the row has moved.
  const std::string& hendouReasonStr() const { return hendouReasonStr_; }
  void setHendouReasonStr(const std::string& v) { hendouReasonStr_ = v; }

  friend bool operator==(const FurikaedenpyouRow&, const FurikaedenpyouRow&) = default;

private:
  std::array<FieldValue, ColumnCount> cells_;
  std::string hendouReasonStr_;
};

}  // namespace kivo
