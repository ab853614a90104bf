// What follows any change of the company record or the master lists (accounts,
// sub-accounts, divisions, descriptions, opening balances), as after a change of the
// journal: the document is marked changed, the derived account arrays are rebuilt,
// the report caches are void (the statements and trial balances key their caches on
// the period alone, so they would not notice otherwise) and the output windows are
// told to update.
#pragma once

namespace kivo {

class MyDocument;

class MasterListChange {
public:
  static void documentDidChange(MyDocument& document);
};

}  // namespace kivo
