// The seam through which the document tells its open windows to update.
//
// The document keeps its windows as DocumentWindow pointers; the Qt window
// controllers implement this interface. Keeping it free of Qt lets the document's
// refresh protocol be tested without a display.
#pragma once

#include <cstdint>

#include "document/ChangedAccounts.h"

namespace kivo {

class DocumentWindow {
public:
  enum class Kind {
    DocumentInfo,
    NewDocument,
    Password,
    Furikaedenpyou,
    Suitoucyou,
    Shiwakenikki,
    Kanjyoumotocyou,
    HojyozandakaIchiran,
    ZandakaShisan,
    SuiiShisan,
    GenkasyoukyakuShisanList,
    Other,
  };

  virtual ~DocumentWindow() = default;
  virtual Kind windowKind() const = 0;

  // The windows whose rows come from the journal and are refreshed after it changes.
  bool isOutputWindow() const
  {
    switch (windowKind()) {
    case Kind::Shiwakenikki:
    case Kind::Kanjyoumotocyou:
    case Kind::HojyozandakaIchiran:
    case Kind::ZandakaShisan:
    case Kind::SuiiShisan: return true;
    default: return false;
    }
  }

  // Recompute now when forced, when main, or when output windows update
  // automatically; otherwise remember that an update is due.
  virtual void updateUI(bool force) = 0;
  virtual bool doNeedUpdate() const { return false; }
  // The journal changed under these accounts: a window that shows one of them
  // recomputes what it derived from the entries.
  virtual void journalDidChangeAccounts(const ChangedAccounts& accounts) { (void)accounts; }
  // Whether this window is the cash book of the account and sub-account (-1: none).
  virtual bool isSuitoucyouOf(int32_t kamokuCode, int32_t hojyoKamokuCode) const
  {
    (void)kamokuCode;
    (void)hojyoKamokuCode;
    return false;
  }
};

}  // namespace kivo
