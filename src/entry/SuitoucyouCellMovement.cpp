#include "entry/SuitoucyouCellMovement.h"

namespace kivo {
namespace {

using Row = SuitoucyouRow;
using Column = Row::Column;

// Tab out of the counterpart account: a resolved account goes on to its sub-account
// when it has some and none came with it (the one that came is filled in), else to
// the description; so does an empty or unresolved account.
Column nextColumnFromAiteKamoku(Suitoucyou& book, int r, int32_t inputedHojyoKamokuCode)
{
  const FieldValue value = book.cell(r, Row::AiteKamokuMatrix);
  if (!value.isCode()) return Row::TekiyouMatrix;
  const KamokuPtr kamoku = book.activeKamokuOfCode(value.codeValue());
  if (!kamoku || kamoku->activeHojyoKamokuNum() == 0) return Row::TekiyouMatrix;
  if (inputedHojyoKamokuCode != -1) {
    book.setCell(r, Row::AiteHojyoKamokuMatrix, FieldValue::code(inputedHojyoKamokuCode));
    return Row::TekiyouMatrix;
  }
  return book.isEditableColumn(Row::AiteHojyoKamokuMatrix) ? Row::AiteHojyoKamokuMatrix : Row::TekiyouMatrix;
}

}  // namespace

void SuitoucyouCellMovement::moveSelectSuitoucyouCellByCommand(Suitoucyou& book, Command command,
                                                               const Options& options, Actions& actions)
{
  const int i = book.selectedEditableIndex();
  if (i < 0) return;
  const int r = book.selectedSuitoucyouRow();
  const Column m = book.selectedColumn();
  const int32_t n = book.selectDenpyouNo();
  const std::vector<Column>& columns = book.editableMattrixArray();
  const int lastIndex = static_cast<int>(columns.size()) - 1;
  const int lastRow = book.numberOfSuitoucyouRows() - 1;
  const bool onEmptyPendingLastRow = r == lastRow && n == 0 && book.isEmptySuitoucyouRowOfDenpyouNo(0);
  int row = r;
  Column next = m;

  switch (command) {
  case Command::MoveDown:
    if (onEmptyPendingLastRow) break;  // the same cell again
    if (!actions.checkRowWithMessages()) return;
    actions.registerRowAndRefreshBalances();
    if (r == lastRow) {
      actions.addRow();
      return;
    }
    row = r + 1;
    break;

  case Command::MoveUp:
    if (lastRow < 1) return;
    if (onEmptyPendingLastRow) {
      actions.removeRow();
      return;
    }
    if (!actions.checkRowWithMessages()) return;
    actions.registerRowAndRefreshBalances();
    row = r > 0 ? r - 1 : 0;
    break;

  case Command::InsertBacktab:
    if (i > 0) {
      next = columns[i - 1];
      break;
    }
    next = columns[lastIndex];
    if (book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(r, n) && r > 0) {
      actions.registerRowAndRefreshBalances();
      row = r - 1;
    }
    break;

  case Command::InsertTab: {
    int32_t inputedHojyoKamokuCode = options.inputedHojyoKamokuCode;
    if (options.autoSetItemAsAboveRow && Row::isEmptyCell(book.cell(r, m)) &&
        (m == Row::DateMatrix || m == Row::AiteKamokuMatrix || m == Row::AiteHojyoKamokuMatrix)) {
      actions.setItemAsAboveRowItem();
      if (m == Row::AiteKamokuMatrix) {
        actions.resetInputedHojyoKamokuCode();
        inputedHojyoKamokuCode = -1;
      }
    }
    switch (m) {
    case Row::InKingakuMatrix:
    case Row::OutKingakuMatrix:
      if (!book.cell(r, m).isAmount()) {
        next = m == Row::InKingakuMatrix ? Row::OutKingakuMatrix : Row::DateMatrix;
        break;
      }
      next = Row::DateMatrix;
      if (!book.doAllSuitoucyouCellsHaveValidObjectValuesAtRow(r, n)) break;
      actions.registerRowAndRefreshBalances();
      if (r != lastRow) {
        row = r + 1;
        break;
      }
      if (book.document().kaisya().minAvailableDenpyouNo() > Kaisya::kMaxDenpyouNo) {
        row = 0;
        break;
      }
      book.insertSuitoucyouRow(book.numberOfSuitoucyouRows());
      book.selectCell(book.numberOfSuitoucyouRows() - 1, Row::DateMatrix);
      actions.registerPendingRow();
      return;
    case Row::AiteKamokuMatrix: next = nextColumnFromAiteKamoku(book, r, inputedHojyoKamokuCode); break;
    case Row::AiteHojyoKamokuMatrix: next = Row::TekiyouMatrix; break;
    case Row::TekiyouMatrix:
      next = book.isEditableColumn(Row::AiteJigyoubuMatrix) ? Row::AiteJigyoubuMatrix : Row::InKingakuMatrix;
      break;
    case Row::JigyoubuMatrix: next = Row::InKingakuMatrix; break;
    default: next = columns[std::min(i + 1, lastIndex)]; break;
    }
    if (next == Row::InKingakuMatrix) {
      // A payment already there, or a debit-natured counterpart (money going out to
      // an expense or an asset), makes the payment the amount to type.
      const bool bothEmpty =
          Row::isEmptyCell(book.cell(r, Row::InKingakuMatrix)) && Row::isEmptyCell(book.cell(r, Row::OutKingakuMatrix));
      const FieldValue aite = book.cell(r, Row::AiteKamokuMatrix);
      const KamokuPtr kamoku = aite.isCode() ? book.activeKamokuOfCode(aite.codeValue()) : nullptr;
      if (!Row::isEmptyCell(book.cell(r, Row::OutKingakuMatrix)) || (bothEmpty && kamoku && kamoku->isKarikataKamoku()))
        next = Row::OutKingakuMatrix;
    }
    break;
  }
  }

  book.selectCell(row, next);
}

}  // namespace kivo
