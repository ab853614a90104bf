// The journal and ledger window tests: the entry tests' small company, vouchers
// registered the way the voucher window registers them, and the windows opened as
// the application's commands open them.
#pragma once

#include <QAbstractButton>
#include <string>
#include <vector>

#include "entry/FurikaedenpyouRegistrar.h"
#include "journal/gui/KanjyoumotocyouController.h"
#include "journal/gui/ShiwakenikkiController.h"
#include "journal/gui/ShiwakenikkiDisplayConditionController.h"
#include "support/AppTestFixture.h"
#include "support/TestBooks.h"

namespace kivo::test {

// One line of a voucher to register.
struct VoucherLine {
  int32_t kari = -1;
  int64_t kariAmount = 0;
  int32_t kashi = -1;
  int64_t kashiAmount = 0;
  std::string tekiyou;
  int32_t kariHojyo = -1;
  int32_t kashiHojyo = -1;
  int32_t kariJigyoubu = -1;
  int32_t kashiJigyoubu = -1;
};

class JournalWindowTest : public AppTest {
protected:
  void TearDown() override
  {
    UserDefaults::standardUserDefaults().removeObjectForKey(KIVOKanjyoumotocyouShowCreatedTypeKey);
    AppTest::TearDown();
  }

  DocumentSession* openEntryBooks(BooksOptions options = {})
  {
    session = app->documentController()->addDocument(makeBooks(options));
    flush();
    return session;
  }

  MyDocument& books() { return session->document(); }

  // Registers a voucher of the lines on the date through the voucher registration;
  // answers its number (negative for a regular-type voucher, dated "00/00").
  int32_t registerVoucher(Date date, const std::vector<VoucherLine>& lines)
  {
    using Row = FurikaedenpyouRow;
    Furikaedenpyou v(books());
    v.displayShiwakeOfDenpyouNo(books().kaisya().minAvailableDenpyouNo());
    for (size_t i = 0; i < lines.size(); ++i) {
      const VoucherLine& l = lines[i];
      setRow(v, static_cast<int>(i), date, l.kari, l.kariAmount, l.kashi, l.kashiAmount, l.tekiyou);
      if (l.kariHojyo >= 0)
        v.setCell(static_cast<int>(i), Row::KarikataHojyoKamokuMatrix, FieldValue::code(l.kariHojyo));
      if (l.kashiHojyo >= 0)
        v.setCell(static_cast<int>(i), Row::KashikataHojyoKamokuMatrix, FieldValue::code(l.kashiHojyo));
      if (l.kariJigyoubu >= 0)
        v.setCell(static_cast<int>(i), Row::KarikataJigyoubuMatrix, FieldValue::code(l.kariJigyoubu));
      if (l.kashiJigyoubu >= 0)
        v.setCell(static_cast<int>(i), Row::KashikataJigyoubuMatrix, FieldValue::code(l.kashiJigyoubu));
    }
    FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(v);
    return v.displayingDenpyouNo();
  }

  int32_t registerVoucher(Date date, int32_t kari, int32_t kashi, int64_t amount, const std::string& tekiyou = "")
  {
    return registerVoucher(date, {VoucherLine{kari, amount, kashi, amount, tekiyou}});
  }

  // A cash book's pending row: number 0, no amount, owned by the 現金 book.
  void addPendingCashBookRow(Date date)
  {
    ShiwakePtr s = makeEntry(date, 0, kGenkin, kUriagedaka, 0, ShiwakeKind::SuitoucyouNoAmount);
    s->setSuitoucyouKamokuCode(kGenkin);
    books().journal().append(s);
    books().shiwakeArrayDidChange(false);
  }

  // A registered cash-book entry, numbered from the counter; answers its number.
  int32_t addCashBookEntry(Date date, int32_t kari, int32_t kashi, int64_t amount, const std::string& tekiyou)
  {
    const int32_t n = books().kaisya().minAvailableDenpyouNo();
    books().kaisya().setMinAvailableDenpyouNo(n + 1);
    books().journal().append(makeCashEntry(date, n, kari, kashi, amount, tekiyou));
    books().shiwakeArrayDidChange(false);
    return n;
  }

  // The ledger of an account (and sub-account), opened as its shortcut opens it.
  KanjyoumotocyouController* openLedger(int32_t kamoku, int32_t hojyo = -1)
  {
    KanjyoumotocyouController* w = KanjyoumotocyouController::showShortCutKanjyoumotocyouWindow(session, kamoku, hojyo);
    flush();
    activate(w);
    return w;
  }

  // The journal, opened as its command opens it, with the condition sheet it opens by
  // itself confirmed: every entry shown.
  ShiwakenikkiController* openJournalOfEveryEntry()
  {
    auto* journal = ShiwakenikkiController::showShiwakenikkiWindow(session);
    flush();
    activate(journal);
    auto* sheet = session->ownedControllerAs<ShiwakenikkiDisplayConditionController>(
        DocumentSession::OwnedController::ShiwakenikkiDisplayCondition);
    if (sheet && sheet->isSheetAttached()) sheet->okButton()->click();
    flush();
    return journal;
  }

  // The last alert as "title / text", empty if none came.
  QString lastAlert() const
  {
    return alerts.empty() ? QString() : alerts.back().title + QStringLiteral(" / ") + alerts.back().text;
  }

  // How many of the document's windows are of the kind.
  int windowCount(DocumentWindow::Kind kind) const
  {
    int n = 0;
    for (DocumentWindowController* wc : session->windowControllers()) n += wc->windowKind() == kind;
    return n;
  }

  bool listedInWindowMenu(const QString& title) const
  {
    for (const MainMenu::Item& item : app->windowMenuItems())
      if (item.title == title) return true;
    return false;
  }

  void setAutoUpdate(bool on) { UserDefaults::standardUserDefaults().setBool(on, KIVOAutoUpdateAllOutputWindowsKey); }

  DocumentSession* session = nullptr;
};

}  // namespace kivo::test
