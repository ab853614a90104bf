// The program's own operations at the limits of what the document file holds, in a
// random order from fixed seeds: voucher and cash-book registration, the ledger's
// 行の複製 and removal, voucher and journal deletion, the import, the carry-forward, a
// new document, the master lists, the properties and the settings kept in the
// document. After every step the saved document reads back equal (saved again to the
// same bytes), and the voucher counter stands past every voucher of the journal.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "assets/KurikoshiDocument.h"
#include "assets/KurikoshiSyori.h"
#include "document/DocumentFile.h"
#include "entry/FurikaedenpyouBookmarks.h"
#include "entry/FurikaedenpyouDeletion.h"
#include "entry/FurikaedenpyouRegistrar.h"
#include "entry/SuitoucyouRegistrar.h"
#include "journal/KanjyoumotocyouRowEdit.h"
#include "journal/KanjyoumotocyouShortcut.h"
#include "journal/ShiwakeTextReader.h"
#include "journal/ShiwakenikkiDeletion.h"
#include "setup/JigyoubuListEditor.h"
#include "setup/KamokuListEditor.h"
#include "setup/MasterListChange.h"
#include "setup/NewDocumentSettings.h"
#include "setup/PropertiesSettings.h"
#include "setup/TekiyouListEditor.h"
#include "support/TestBooks.h"

namespace kivo::test {
namespace {

constexpr int64_t kLimit = Kaisya::kMaxInputAmountValue;

class LimitsRun {
public:
  explicit LimitsRun(unsigned seed) : rng_(seed) { newDocument(); }

  // One operation chosen at random, the entries' own more often than the others;
  // answers its name.
  const char* step()
  {
    struct Op {
      const char* name;
      void (LimitsRun::*run)();
      unsigned weight;
    };
    static const Op ops[] = {
        {"voucher", &LimitsRun::voucher, 4},
        {"voucher window opened or closed", &LimitsRun::toggleVoucherWindow, 2},
        {"cash-book row", &LimitsRun::cashBookRow, 4},
        {"ledger 行の複製", &LimitsRun::duplicate, 4},
        {"ledger 行の削除 and its undo", &LimitsRun::removeLedgerRow, 1},
        {"voucher deleted, maybe put back", &LimitsRun::deleteVoucher, 1},
        {"journal deletion", &LimitsRun::deleteFromJournal, 1},
        {"import", &LimitsRun::import, 2},
        {"carry-forward", &LimitsRun::carryForward, 1},
        {"new document", &LimitsRun::newDocument, 1},
        {"account list", &LimitsRun::accountList, 1},
        {"division list", &LimitsRun::divisionList, 1},
        {"description list", &LimitsRun::descriptionList, 1},
        {"properties", &LimitsRun::properties, 1},
        {"shortcuts, bookmark and appropriation", &LimitsRun::keptSettings, 1},
    };
    unsigned total = 0;
    for (const Op& op : ops) total += op.weight;
    unsigned at = static_cast<unsigned>(pick(total));
    for (const Op& op : ops) {
      if (at < op.weight) {
        (this->*op.run)();
        return op.name;
      }
      at -= op.weight;
    }
    return "";
  }

  MyDocument& document() { return *doc_; }

private:
  size_t pick(size_t n) { return rng_() % n; }
  bool chance() { return rng_() % 2 == 0; }
  int64_t amount() { return chance() ? kLimit : static_cast<int64_t>(rng_() % 100'000) + 1; }
  Kaisya& kaisya() { return doc_->kaisya(); }
  // A day of the term, or one of the sentinel days vouchers carry.
  Date date()
  {
    switch (pick(4)) {
    case 0: return Date::regularTypeDenpyouDate();
    case 1: return Date::kessanSeiridukiDate();
    default: {
      const int days = kaisya().termEndDate().serial() - kaisya().termStartDate().serial();
      return kaisya().termStartDate().addingDays(static_cast<int>(pick(static_cast<size_t>(days) + 1)));
    }
    }
  }
  ShiwakePtr anyEntry()
  {
    const Journal& j = doc_->journal();
    return j.empty() ? nullptr : j[pick(j.size())];
  }
  std::optional<int32_t> waiting() const
  {
    return voucher_ ? std::optional(voucher_->displayingDenpyouNo()) : std::nullopt;
  }

  // A new document of the last term number, its counters near their limits as a file
  // of a long-kept journal holds them; its term now and then in the last year a file
  // holds.
  void newDocument()
  {
    NewDocumentSettings s;
    s.term.name = "限界商事";
    s.term.termNoText = chance() ? "9999" : "9998";
    const bool lastYear = pick(4) == 0;
    s.term.startDate = lastYear ? Date(9999, 1, 1) : Date(2024, 4, 1);
    s.term.endDate = TermSettings::defaultEndDateForStartDate(*s.term.startDate);
    s.decimalPrecision = static_cast<int32_t>(pick(3));
    ASSERT_FALSE(s.check().isRefused());
    doc_ = std::make_unique<MyDocument>();
    s.applyToDocument(*doc_);
    kaisya().setMinAvailableDenpyouNo(Kaisya::kMaxDenpyouNo - 1 + static_cast<int32_t>(pick(3)));
    kaisya().setMinAvailableRegularTypeDenpyouNo(Kaisya::kMaxRegularTypeDenpyouNo - static_cast<int32_t>(pick(2)));
    voucher_.reset();
  }

  void toggleVoucherWindow()
  {
    if (voucher_) {
      voucher_.reset();
      return;
    }
    voucher_ = std::make_unique<Furikaedenpyou>(*doc_);
    voucher_->displayShiwakeOfDenpyouNo(kaisya().minAvailableDenpyouNo());
  }

  // 新規伝票 or a voucher of the journal shown, rows typed, registered when the voucher
  // check passes; the window then waits on the counter's number again.
  void voucher()
  {
    if (!voucher_) toggleVoucherWindow();
    const ShiwakePtr e = anyEntry();
    voucher_->displayShiwakeOfDenpyouNo(e && e->denpyouNo() != 0 && chance() ? e->denpyouNo()
                                                                             : kaisya().minAvailableDenpyouNo());
    const Date d = date();
    const int64_t a = amount();
    setRow(*voucher_, 0, d, kShoumouhinhi, a, kUriagedaka, a, "限界");
    if (chance()) setRow(*voucher_, 1, d, kGenkin, a, kFutsuuYokin, a);
    if (!voucher_->isDenpyouAbleToSetShiwakeArray().ok) return;
    FurikaedenpyouRegistrar::setDenpyouToShiwakeArray(*voucher_);
    if (kaisya().minAvailableDenpyouNo() <= Kaisya::kMaxDenpyouNo)
      voucher_->displayShiwakeOfDenpyouNo(kaisya().minAvailableDenpyouNo());
  }

  // The book of 現金 opened, a row typed on its pending row and registered.
  void cashBookRow()
  {
    Suitoucyou book(*doc_, kGenkin, -1);
    SuitoucyouRegistrar::Context context;
    context.furikaedenpyouDisplayingDenpyouNo = waiting();
    book.setSelectDenpyouNo(0);
    book.removeUnregisteredDenpyouNoFromShiwakeArray();
    if (book.displayShiwake()) SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context);
    const int r = book.rowOfShiwakeOfDenpyouNo(0);
    if (r < 0) return;
    const Date d = date();
    if (d == Date::regularTypeDenpyouDate()) return;
    const bool receipt = chance();
    typeCashRow(book, r, d, receipt ? kUriagedaka : kShoumouhinhi, receipt ? amount() : 0, receipt ? 0 : amount());
    book.selectCell(r, SuitoucyouRow::DateMatrix);
    SuitoucyouRegistrar::setSuitoucyouRowOfSelectDenpyouNoToShiwakeArray(book, context);
    if (chance()) SuitoucyouRegistrar::removeSuitoucyouRowAtUnregisteredDenpyouNo(book);
  }

  void duplicate()
  {
    if (const ShiwakePtr e = anyEntry(); e && e->denpyouNo() > 0)
      KanjyoumotocyouRowEdit::duplicateRow(*doc_, e, waiting().value_or(-1));
  }

  void removeLedgerRow()
  {
    const ShiwakePtr e = anyEntry();
    if (!e) return;
    const auto removal = KanjyoumotocyouRowEdit::removeRow(*doc_, e);
    if (removal && chance()) KanjyoumotocyouRowEdit::restoreRow(*doc_, *removal);
  }

  void deleteVoucher()
  {
    const ShiwakePtr e = anyEntry();
    if (!e || e->denpyouNo() == 0) return;
    FurikaedenpyouDeletion deletion = FurikaedenpyouDeletion::removeDenpyou(*doc_, e->denpyouNo(), nullptr);
    if (chance()) deletion.restore(*doc_, nullptr);
  }

  void deleteFromJournal()
  {
    if (const ShiwakePtr e = anyEntry()) ShiwakenikkiDeletion::removeDisplayingShiwake(*doc_, {e});
  }

  // A file of a cash-book entry and a voucher of two lines; the import needs the
  // voucher and cash-book windows closed.
  void import()
  {
    voucher_.reset();
    const int64_t a = amount();
    const std::string yen = kaisya().textFileStringOfMemoryKingaku(a);
    const std::string twice = kaisya().textFileStringOfMemoryKingaku(a / 2 * 2);
    const std::string half = kaisya().textFileStringOfMemoryKingaku(a / 2);
    const std::string on = std::to_string(kaisya().termStartDate().year() * 10000 +
                                          kaisya().termStartDate().month() * 100 + kaisya().termStartDate().day());
    const std::string rest = "\t\t\t\t\t\t\t\t\t\r\n";
    const std::string none = "\"\"\t\"\"\t\"\"\t\"\"\t\t";
    const std::string text = "1000\t\t" + on + "\t現金\t\"\"\t\"\"\tunknown\t" + yen +
                             "\t売上高\t\"\"\t\"\"\tunknown\t" + yen + "\t\"取込\"\t0" + rest + "1110\t\t" + on +
                             "\t消耗品費\t\"\"\t\"\"\tunknown\t" + half + "\t" + none + "\"\"\t3" + rest + "1100\t\t" +
                             on + "\t消耗品費\t\"\"\t\"\"\tunknown\t" + half + "\t" + none + "\"\"\t3" + rest +
                             "1101\t\t" + on + "\t" + none + "現金\t\"\"\t\"\"\tunknown\t" + twice + "\t\"\"\t3" + rest;
    const auto utf8 = [](std::string_view bytes, std::string& out) {
      out.append(bytes);
      return true;
    };
    ShiwakeTextReader::importShiwake(*doc_, text, utf8);
  }

  void carryForward()
  {
    voucher_.reset();
    std::unique_ptr<MyDocument> next;
    KurikoshiSyori::Steps steps;
    steps.addNextDocument = [&](std::unique_ptr<MyDocument> d) { next = std::move(d); };
    steps.saveOldDocument = [] { return true; };
    steps.closeOldDocument = [] {};
    TermSettings term = KurikoshiDocument::defaultTermSettings(kaisya());
    if (chance()) term.termNoText.clear();
    KurikoshiSyori::run(*doc_, term, false, 0, steps);
    if (next) doc_ = std::move(next);
  }

  void accountList()
  {
    KamokuListEditor editor(*doc_);
    const int k = static_cast<int>(pick(static_cast<size_t>(editor.kamokuCount())));
    const int32_t division = editor.hasActiveJigyoubu() ? editor.activeJigyoubuCodes().front() : 99;
    if (editor.canEditStartBalance(k, division)) editor.setStartBalance(k, division, chance() ? kLimit : -kLimit);
    editor.setKeyEquivalent(k, chance() ? "9" : "1");
    if (editor.validate().isRefused()) return;
    editor.writeBack(*doc_);
    MasterListChange::documentDidChange(*doc_);
  }

  void divisionList()
  {
    JigyoubuListEditor editor(*doc_);
    const int i = static_cast<int>(pick(JigyoubuListEditor::kSlotCount));
    editor.setName(i, "事業部" + std::to_string(i));
    editor.setIsActive(i, true);
    if (editor.validate().isRefused()) return;
    editor.writeBack(*doc_);
    MasterListChange::documentDidChange(*doc_);
  }

  void descriptionList()
  {
    TekiyouListEditor editor(*doc_);
    editor.addTekiyou(0, "限界の摘要" + std::to_string(pick(100)));
    if (editor.validate().isRefused()) return;
    editor.writeBack(*doc_);
    MasterListChange::documentDidChange(*doc_);
  }

  void properties()
  {
    PropertiesSettings p(*doc_);
    p.termNoText = chance() ? "9999" : "１";
    if (p.canEditTermAndKind()) p.decimalPrecision = static_cast<int32_t>(pick(3));
    if (p.check().isRefused()) return;
    p.applyTo(*doc_);
    MasterListChange::documentDidChange(*doc_);
  }

  // The ledger's and the cash book's shortcuts, a voucher's bookmark and the
  // appropriation items at the input limit, as the statements sheet takes them.
  void keptSettings()
  {
    KanjyoumotocyouShortcut::setShortcut(*doc_, {kGenkin, -1}, "9");
    Suitoucyou(*doc_, kGenkin, -1).changeKeyEquivalentOfSuitoucyouSubMenu(Kamoku::kMaxKeyEquivalent);
    if (const ShiwakePtr e = anyEntry(); e && e->denpyouNo() != 0)
      FurikaedenpyouBookmarks::storeBookmark(doc_->furikaedenpyouBookmarkArray(), e->denpyouNo(), "栞", true);
    kaisya().setRiekisyobunanKamokuArray({{"配当金", kLimit}, {"別途積立金", 0}});
  }

  std::mt19937 rng_;
  std::unique_ptr<MyDocument> doc_;
  std::unique_ptr<Furikaedenpyou> voucher_;  // the open voucher window
};

TEST(SavedLimits, EveryOperationAtTheLimitsSavesADocumentThatReadsBackEqual)
{
  for (unsigned seed = 1; seed <= 8; ++seed) {
    LimitsRun run(seed);
    for (int i = 0; i < 200; ++i) {
      const char* what = run.step();
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", step " << i << ": " << what);
      const MyDocument& doc = run.document();
      const Kaisya& k = doc.kaisya();
      ASSERT_GT(k.minAvailableDenpyouNo(), doc.journal().highestDenpyouNo());
      const std::string data = DocumentFile::dataOfDocument(doc);
      DocumentFile::Result r;
      const auto back = DocumentFile::documentFromData(data, &r);
      ASSERT_TRUE(back) << r.detail << " (counter " << k.minAvailableDenpyouNo() << ", regular "
                        << k.minAvailableRegularTypeDenpyouNo() << ", term " << k.termNo() << ")";
      const auto bounded = [](const Kaisya& c) {
        return std::tuple(c.minAvailableDenpyouNo(), c.minAvailableRegularTypeDenpyouNo(), c.termNo(),
                          c.termEndDate().serial());
      };
      EXPECT_EQ(bounded(back->kaisya()), bounded(k));
      EXPECT_TRUE(back->kaisya() == k);
      ASSERT_TRUE(DocumentFile::dataOfDocument(*back) == data);
    }
  }
}

}  // namespace
}  // namespace kivo::test
