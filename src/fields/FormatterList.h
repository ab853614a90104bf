// The rows a picker window lists and which of them a search text shows. Plain C++ so
// the lists and their searching are tested without a display; the picker windows
// only draw them.
//
// A search shows the rows whose code begins with it, whose kana key begins with it
// (without case) or whose name holds it; a child row (a sub-account under its
// account, a description under its group) shows when it or its parent matches, and
// a parent shows when it or one of its children matches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class FormatterList {
public:
  struct Row {
    int32_t code = -1;       // account, sub-account or division code; -1 for a heading
    int32_t hojyoCode = -1;  // the sub-account of a sub-account row in an account list
    std::string codeText;    // the code as shown ("100", "01"); empty for descriptions
    std::string name;
    std::string kana;
    int parent = -1;  // index of the parent row, -1 for a top row
    bool selectable = true;
    TekiyouPtr tekiyou;  // the description of a description row
  };

  // Accounts in the given order, each followed by its active sub-accounts when asked.
  static FormatterList kamokuList(const std::vector<KamokuPtr>& accounts, bool withHojyoKamoku);
  // The active sub-accounts of one account.
  static FormatterList hojyoKamokuList(const Kamoku& parent);
  // The active divisions, and 99 (the whole company) last when asked.
  static FormatterList jigyoubuList(const MyDocument& document, bool withAllJigyoubu);
  // Each group as a heading row followed by its descriptions, in the given order.
  static FormatterList tekiyouList(const std::vector<TekiyouGroupPtr>& groups);

  const std::vector<Row>& rows() const { return rows_; }

  // Indexes of the rows shown for the search text, in list order.
  std::vector<int> visibleRows(const std::string& search) const;
  // The row to select first among the visible ones: the first selectable row equal
  // to the search (code, kana or name), else the first that matches it itself, else
  // the first selectable row; -1 when none.
  int preferredRow(const std::vector<int>& visible, const std::string& search) const;

private:
  bool rowMatches(const Row& row, const std::string& search) const;
  bool rowEquals(const Row& row, const std::string& search) const;

  std::vector<Row> rows_;
};

}  // namespace kivo
