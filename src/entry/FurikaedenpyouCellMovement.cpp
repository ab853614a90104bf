#include "entry/FurikaedenpyouCellMovement.h"

namespace kivo {
namespace {

using Row = FurikaedenpyouRow;
using Column = Row::Column;

// Tab out of an account cell. A resolved account goes on to its sub-account when
// it has some and none came with it, else to its amount; an empty or unresolved
// account skips the side's empty cells up to the next account (or the description).
int nextIndexFromKamoku(Furikaedenpyou& denpyou, int r, int i, Column m, int32_t inputedHojyoKamokuCode)
{
  const Row::Side& side = Row::sideOfColumn(m);
  const FieldValue value = denpyou.cell(r, m);
  if (value.isCode()) {
    if (KamokuPtr kamoku = denpyou.activeKamokuOfCode(value.codeValue())) {
      const bool hasHojyo = kamoku->activeHojyoKamokuNum() > 0;
      if (hasHojyo && inputedHojyoKamokuCode != -1)
        denpyou.setCell(r, side.hojyoKamoku, FieldValue::code(inputedHojyoKamokuCode));
      const Column next = hasHojyo && inputedHojyoKamokuCode == -1 ? side.hojyoKamoku : side.kingaku;
      const int index = denpyou.indexOfEditableColumn(next);
      return index >= 0 ? index : i + 1;
    }
  }
  const Column stop = m == Row::KarikataKamokuMatrix ? Row::KashikataKamokuMatrix : Row::TekiyouMatrix;
  const std::vector<Column>& columns = denpyou.editableMattrixArray();
  for (int k = i + 1; k < static_cast<int>(columns.size()) && columns[k] != stop; ++k)
    if (!Row::isEmptyCell(denpyou.cell(r, columns[k]))) return k;
  return denpyou.indexOfEditableColumn(stop);
}

// Tab out of an empty amount cell of a side that has its account: the amount that
// balances the voucher, when it falls on this side and fits an amount cell.
void autoSetBalance(Furikaedenpyou& denpyou, int r, Column m)
{
  const std::optional<int64_t> balance = denpyou.taisyakuBalance();
  if (!balance) return;
  const int64_t b = *balance;
  const int64_t limit = denpyou.document().kaisya().maxInputAmountValue();
  if (m == Row::KarikataKingakuMatrix && b <= 0 && -b <= limit) denpyou.setCell(r, m, FieldValue::amount(-b));
  if (m == Row::KashikataKingakuMatrix && b >= 0 && b <= limit) denpyou.setCell(r, m, FieldValue::amount(b));
}

}  // namespace

FurikaedenpyouCellMovement::Outcome FurikaedenpyouCellMovement::moveSelectDenpyouCellByCommand(Furikaedenpyou& denpyou,
                                                                                               Command command,
                                                                                               const Options& options)
{
  const int i = denpyou.selectedEditableIndex();
  if (i < 0) return Outcome::None;
  const int r = denpyou.selectedDenpyouRow();
  const Column m = denpyou.selectedColumn();
  const std::vector<Column>& columns = denpyou.editableMattrixArray();
  const int lastIndex = static_cast<int>(columns.size()) - 1;
  const int lastRow = denpyou.numberOfDenpyouRows() - 1;
  int row = r;
  int index = i;

  switch (command) {
  case Command::InsertTab:
    if (i < lastIndex) {
      if (Row::isKamokuColumn(m)) {
        index = nextIndexFromKamoku(denpyou, r, i, m, options.inputedHojyoKamokuCode);
      } else {
        if (Row::isKingakuColumn(m) && Row::isEmptyCell(denpyou.cell(r, m)) &&
            Row::holdsNumber(denpyou.cell(r, Row::sideOfColumn(m).kamoku)) && options.autoSetBalance)
          autoSetBalance(denpyou, r, m);
        index = i + 1;
      }
    } else if (!denpyou.doAllDenpyouCellsHaveValidObjectValuesAtRow(r)) {
      index = 0;
    } else if (r == lastRow && denpyou.isDenpyouAbleToSetShiwakeArray()) {
      return Outcome::FinishDenpyou;
    } else if (!denpyou.isEmptyDenpyouRow(r)) {
      row = r + 1;
      index = 0;
      if (r == lastRow) {
        denpyou.insertDenpyouRow(r + 1);
        index = denpyou.indexOfEditableColumn(Row::KarikataKamokuMatrix);
      }
    } else {
      index = 0;
    }
    break;
  case Command::InsertBacktab:
    if (i > 0) {
      index = i - 1;
    } else {
      index = lastIndex;
      if (denpyou.doAllDenpyouCellsHaveValidObjectValuesAtRow(r)) row = r > 0 ? r - 1 : lastRow;
    }
    break;
  case Command::MoveUp: row = r > 0 ? r - 1 : 0; break;
  case Command::MoveDown: row = r < lastRow ? r + 1 : r; break;
  }

  denpyou.setAllDateMatrixCellValuesEqualToValueAtRow(r);
  denpyou.selectCell(row, columns[index]);
  return Outcome::Moved;
}

}  // namespace kivo
