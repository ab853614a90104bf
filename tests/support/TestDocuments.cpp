#include "support/TestDocuments.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "journal/ShiwakeTextReader.h"
#include "support/TestBooks.h"

namespace kivo::test {

std::unique_ptr<MyDocument> makeGeneratedBooks(const GeneratedBooksSize& size, unsigned seed)
{
  auto doc = std::make_unique<MyDocument>();
  Kaisya& kaisya = doc->kaisya();
  kaisya.setName("株式会社テスト");
  kaisya.setMonthOfTermArrayFrom(Date(2024, 4, 1), Date(2025, 3, 31));

  auto root = std::make_shared<KamokuKubun>();
  root->setPListResource(KamokuKubun::kKaisyahouChartName);
  std::vector<KamokuPtr> all;
  const int perCategory = 50;
  for (int i = 0; i < size.kamokuCount; ++i) {
    if (i % perCategory == 0) {
      auto cat = std::make_shared<KamokuKubun>();
      cat->setKubunName("区分" + std::to_string(i / perCategory + 1));
      root->children().push_back(cat);
    }
    auto k = std::make_shared<Kamoku>();
    k->setCode(100 + i);
    k->setName("科目" + std::to_string(100 + i));
    k->setKana(k->name());
    k->setIsKarikataKamoku(i % 2 == 0);
    k->setIsSuitouKamoku(i < 3);
    root->children().back()->childrenKamoku().push_back(k);
    all.push_back(k);
  }
  for (int h = 0; h < size.hojyoKamokuCount; ++h) {
    const KamokuPtr& parent = all[h % all.size()];
    auto sub = std::make_shared<HojyoKamoku>();
    sub->setCode(static_cast<int32_t>(parent->hojyoKamokuArray().size()) + 1);
    sub->setName("補助" + std::to_string(h));
    sub->setParentKamokuCode(parent->code());
    parent->hojyoKamokuArray().push_back(sub);
  }
  for (int j = 1; j <= size.jigyoubuCount; ++j) addJigyoubu(*doc, j, "事業部" + std::to_string(j));
  doc->setRootKamokuKubun(root);

  std::mt19937 rng(seed);
  const Date start = kaisya.termStartDate();
  const int days = kaisya.termEndDate().serial() - start.serial() + 1;
  Journal::Entries journal;
  journal.reserve(size.shiwakeCount);
  for (int i = 0; i < size.shiwakeCount; ++i) {
    const KamokuPtr& kari = all[rng() % all.size()];
    const KamokuPtr& kashi = all[rng() % all.size()];
    const int64_t amount = static_cast<int64_t>(rng() % 1000000) + 1;
    const Date date = start.addingDays(static_cast<int>(int64_t{i} * days / size.shiwakeCount));
    const int32_t no = size.denpyouCount > 0
                           ? static_cast<int32_t>(int64_t{i} * size.denpyouCount / size.shiwakeCount) + 1
                           : i / 2 + 1;
    ShiwakePtr s = makeEntry(date, no, kari->code(), kashi->code(), amount);
    if (!kari->hojyoKamokuArray().empty()) s->setKarikataHojyoKamokuCode(kari->hojyoKamokuArray().front()->code());
    if (size.jigyoubuCount > 0) {
      s->setKarikataJigyoubuCode(static_cast<int32_t>(rng() % size.jigyoubuCount) + 1);
      s->setKashikataJigyoubuCode(s->karikataJigyoubuCode());
    }
    // A one-line entry records its own sides as the voucher's sides.
    s->setAiteKarikataKamokuCode(kari->code());
    s->setAiteKashikataKamokuCode(kashi->code());
    s->setTekiyou("摘要テキスト " + std::to_string(i % 97));
    journal.push_back(std::move(s));
  }
  doc->journal().assign(std::move(journal));
  // The counter stands just past the last voucher, as registration leaves it.
  kaisya.setMinAvailableDenpyouNo(doc->journal().highestDenpyouNo() + 1);
  return doc;
}

std::string makeJournalText(int lineCount, int voucherCount, int bookEvery, int tekiyouCount)
{
  std::string text;
  text.reserve(static_cast<size_t>(lineCount) * 120);
  const int books = bookEvery > 0 ? (voucherCount + bookEvery - 2) / bookEvery : 0;
  const int vouchers = voucherCount - books;              // transfer vouchers
  const int64_t extra = lineCount - voucherCount;         // lines beyond one per voucher
  const std::string rest = "\t\t\t\t\t\t\t\t\t\r";        // the nine empty fields and the line end
  const std::string none = "\"\"\t\"\"\t\"\"\t\"\"\t\t";  // an empty side
  int line = 0, transfer = 0;
  for (int v = 0; v < voucherCount; ++v) {
    const Date d = Date(2024, 4, 1).addingDays(static_cast<int>(int64_t{v} * 365 / voucherCount));
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", d.year(), d.month(), d.day());
    const std::string tekiyou = "\"㈱髙橋商店 ①" + std::to_string(tekiyouCount > 0 ? v % tekiyouCount : v) + "\"";
    if (bookEvery > 0 && v % bookEvery == 1) {
      const std::string amount = std::to_string(300 + v % 700);
      text += std::string("1000\t\t") + date +
              (v % 2 ? "\t現金\t\"\"\t本店\tunknown\t" + amount + "\t売上高\t\"\"\t支店\tunknown\t" + amount
                     : "\t消耗品費\t\"\"\t支店\tunknown\t" + amount + "\t現金\t\"\"\t本店\tunknown\t" + amount) +
              "\t" + tekiyou + "\t0" + rest;
      ++line;
      continue;
    }
    const int lines = 1 + static_cast<int>(extra * (transfer + 1) / vouchers - extra * transfer / vouchers);
    ++transfer;
    if (lines == 1) {
      text += std::string("1111\t\t") + date +
              "\t普通預金\tみずほ銀行\t本店\tunknown\t1200\t売上高\t\"\"\t支店\tunknown\t1200\t" + tekiyou + "\t3" +
              rest;
    } else {
      for (int j = 0; j < lines; ++j) {
        const char* flag = j == 0 ? "1110" : j + 1 == lines ? "1101" : "1100";
        const std::string debit = j + 1 == lines ? none : "消耗品費\t\"\"\t支店\tunknown\t100\t";
        const std::string credit =
            j + 1 == lines ? "現金\t\"\"\t本店\tunknown\t" + std::to_string(100 * (lines - 1)) + "\t" : none;
        text += std::string(flag) + "\t\t" + date + "\t" + debit + credit + tekiyou + "\t3" + rest;
      }
    }
    line += lines;
  }
  if (line != lineCount) std::abort();
  return text;
}

std::unique_ptr<MyDocument> makeImportedBooks(const ImportedBooksSize& size)
{
  auto doc = makeBooks({.hojyoKamoku = true, .jigyoubu = true});
  const auto utf8 = [](std::string_view bytes, std::string& out) {
    out.append(bytes);
    return true;
  };
  const ShiwakeTextReader::Result r = ShiwakeTextReader::importShiwake(
      *doc, makeJournalText(size.lineCount, size.voucherCount, size.bookEvery, size.tekiyouCount), utf8);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.message.c_str());
    std::abort();
  }
  if (size.cashBookEntriesFirst) {
    Journal::Entries entries = doc->journal().entries();
    std::stable_partition(entries.begin(), entries.end(),
                          [](const ShiwakePtr& s) { return s->kindOfShiwake() != ShiwakeKind::Furikaedenpyou; });
    doc->journal().assign(std::move(entries));
  }
  return doc;
}

std::unique_ptr<MyDocument> makeDocumentWithEveryRecord()
{
  GeneratedBooksSize size;
  size.shiwakeCount = 40;
  size.kamokuCount = 60;
  size.jigyoubuCount = 3;
  size.hojyoKamokuCount = 6;
  auto doc = makeGeneratedBooks(size, 7);
  Kaisya& k = doc->kaisya();
  k.setAddress("東京都千代田区1-1");
  k.setIsSeizou(true);
  k.setDoUseWareki(true);
  k.setTermNo(12);
  k.setDecimalPrecision(2);
  k.setPassword("pbkdf2$salt$hash");
  k.setTitleOfHoukokusyo("第12期 決算報告書");
  k.setTermStartDateOfHoukokusyoCover(Date(2024, 4, 1));
  k.setTermEndDateOfHoukokusyoCover(Date(2025, 3, 31));
  k.setNoteOfKaisyahouHoukokusyo(std::string("{\\rtf1 \x00\x01 note}", 16));
  k.setNoteOfRiekisyobunanOfHoukokusyo("利益処分の注記");
  k.setRiekisyobunanKamokuArray({{"配当金", 50'000}, {"別途積立金", 20'000}});
  k.setHasDoneKurikoshi(true);

  const KamokuPtr kamoku = doc->codeSortedKamokuArray().front();
  kamoku->setStartBalance(1500000, 99);
  kamoku->setStartBalance(500000, 1);
  kamoku->setStartBalance(-20000, 2);
  kamoku->setKeyEquivalentOfSuitoucyouSubMenu(3);
  kamoku->hojyoKamokuArray().front()->setStartBalance(12345, 99);
  kamoku->hojyoKamokuArray().front()->setKeyEquivalentOfSuitoucyouSubMenu(4);
  doc->codeSortedKamokuArray()[5]->setIsActive(false);
  doc->codeSortedKamokuArray()[6]->setIsKabunushiShihonKamoku(true);
  doc->jigyoubuArray().back()->setIsActive(false);

  auto group = std::make_shared<TekiyouGroup>("売上");
  group->tekiyouArray().push_back(std::make_shared<Tekiyou>("現金売上", "ゲンキンウリアゲ"));
  doc->tekiyouGroupArray().push_back(group);
  doc->othersTekiyouGroup()->tekiyouArray().push_back(std::make_shared<Tekiyou>("雑費", "ザッピ"));

  auto pending = makeEntry(Date(2024, 5, 1), 0, -1, -1, 0, ShiwakeKind::SuitoucyouNoAmount);
  pending->setSuitoucyouKamokuCode(kamoku->code());
  pending->setSuitoucyouHojyoKamokuCode(1);
  doc->journal().append(pending);
  auto regular = makeEntry(Date::regularTypeDenpyouDate(), -1, 100, 101, -99'999'999'999LL);
  regular->setHendouReasonStr("当期純損益");
  doc->journal().append(regular);
  auto kessan = makeEntry(Date::kessanSeiridukiDate(), k.minAvailableDenpyouNo(), -1, -1, 0, ShiwakeKind::Suitoucyou);
  kessan->setDidCreateBeforeOpen(true);
  doc->journal().append(kessan);
  k.setMinAvailableDenpyouNo(kessan->denpyouNo() + 1);

  auto bookmark = std::make_shared<Bookmark>();
  bookmark->setDenpyouNo(3);
  bookmark->setName("月末の振替");
  bookmark->setIsActiveWithLimitedUserPassword(true);
  doc->furikaedenpyouBookmarkArray().push_back(bookmark);
  doc->hendouReasonArray().push_back(std::make_shared<HendouReason>("no reason"));
  doc->hendouReasonArray().push_back(std::make_shared<HendouReason>("剰余金の配当"));
  auto item = std::make_shared<SubMenuItemOfDenpyouAndCyouhyouMenuItem>();
  item->setTitle("現金 ／ 小口");
  item->setParentMenuItemTitle("総勘定元帳／補助元帳");
  item->setKeyEquivalent("1");
  item->setKeyEquivalentModifierMask(0x140000);
  item->setRepresentedObject(2100);
  doc->subMenuItemArray().push_back(item);

  auto asset = std::make_shared<GenkasyoukyakuShisan>(GenkasyoukyakuShisan::kTeiritsuHou);
  asset->setName("営業車");
  asset->setKanriCode("V-01");
  asset->setKamokuCode(kamoku->code());
  asset->setHojyoKamokuCode(1);
  asset->setJigyoubuCode(2);
  asset->setDateOfAdded(Date(2019, 7, 10));
  asset->setSyutokuKagaku(3'000'000);
  asset->setKisyuSyoukyakugakuRuikei(1'200'000);
  asset->setTaiyouYears(6);
  asset->setJigyouSenyouWariai(80.5);
  asset->setFutsuuSyoukyakuhi(600'000);
  asset->setBasedCyoubokagakuForKaiteiSyoukyakuhi(900'000);
  asset->decreaseArray().emplace_back(Date(2024, 9, 30), 150'000);
  doc->genkasyoukyakuShisanArray().push_back(asset);
  auto older = std::make_shared<GenkasyoukyakuShisan>(GenkasyoukyakuShisan::kIkkatsuSyoukyaku);
  older->setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
  older->setDateOfAdded(Date(2006, 5, 1));
  doc->genkasyoukyakuShisanArray().push_back(older);

  doc->setRootKamokuKubun(doc->rootKamokuKubun());
  return doc;
}

}  // namespace kivo::test
