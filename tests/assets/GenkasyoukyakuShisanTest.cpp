#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <tuple>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/GenkasyoukyakuShisan.h"
#include "model/Kaisya.h"

namespace kivo {
namespace {

using G = GenkasyoukyakuShisan;

TEST(GenkasyoukyakuShisanTest, NewAssetIsNotEnteredYetAndFollowsTheNewerRule)
{
  const G a(G::kTeiritsuHou, 12.5, 4.0);
  EXPECT_EQ(std::tuple(a.syutokuKagaku(), a.futsuuSyoukyakuhi(), a.basedCyoubokagakuForKaiteiSyoukyakuhi()),
            std::tuple(-1, -1, -1));
  EXPECT_EQ(std::tuple(a.zanzonWariai(), a.zanzonGendoWariai(), a.jigyouSenyouWariai()), std::tuple(12.5, 4.0, 100.0));
  EXPECT_FALSE(a.isOlderRule());
}

// A record of an older class version, as an older program wrote it: only the
// fields that version had.
std::string archiveOfVersion(int32_t v, int32_t methodCode, const char* method, Date dateOfAdded,
                             const char* pListResource)
{
  ArchiveWriter w;
  w.beginRecord("GenkasyoukyakuShisan", v);
  w.writeString("旋盤");
  w.writeString("K-7");
  if (v >= 1) w.writeInt32(3);
  w.writeInt32(150);
  w.writeInt32(4);
  w.writeInt32(2);
  if (v >= 1) w.writeString("措法２８の２");
  w.writeDate(dateOfAdded);
  if (v >= 5) w.writeString("中古");
  w.writeDate(Date(2009, 1, 31));
  w.writeInt64(1'000'000);
  w.writeInt64(300'000);
  if (v >= 2)
    w.writeString(method);
  else
    w.writeInt32(methodCode);
  w.writeInt32(8);
  w.writeDouble(9.5);
  w.writeDouble(4.25);
  w.writeDouble(90.0);
  w.writeInt64(50'000);
  w.writeInt64(7);
  w.writeInt64(1'000);  // extra depreciation, folded into special
  w.writeInt64(2'000);
  if (v >= 7) w.writeInt64(400'000);
  if (v >= 4) {
    w.writeCount(1);
    GenkasyoukyakuShisanDecrease(Date(2008, 6, 1), 20'000).encodeWithCoder(w);
  }
  if (v >= 6) w.writeString(pListResource);
  if (v >= 3) w.writeInt32(5);
  return w.takeData();
}

TEST(GenkasyoukyakuShisanTest, EveryClassVersionReadsBackWithTheMissingFieldsFilledIn)
{
  // The fields a version did not have read back as: quantity 1, no reference, new, no
  // base of the revised charge, no decrease, no index; the table follows the date.
  const std::tuple<int32_t, int32_t, const char*, Date, const char*, const char*, const char*> cases[] = {
      {0, 1, "", Date(2006, 5, 1), "", "定率法", "GenkasyoukyakuShisan"},
      {0, 0, "", Date(2008, 5, 1), "", "定額法", "GenkasyoukyakuShisan20070401"},
      {1, 7, "", Date(2013, 5, 1), "", "一括償却", "GenkasyoukyakuShisan20120401"},
      {2, 0, "均等償却", Date(2006, 5, 1), "", "均等償却", "GenkasyoukyakuShisan"},
      {3, 0, "定額法", Date(), "", "定額法", "GenkasyoukyakuShisan20120401"},
      {4, 0, "定額法", Date(2006, 5, 1), "", "定額法", "GenkasyoukyakuShisan"},
      {5, 0, "定率法", Date(2006, 5, 1), "", "定率法", "GenkasyoukyakuShisan"},
      // From version 6 the stored table is kept, even against the acquisition date.
      {6, 0, "定率法", Date(2006, 5, 1), "GenkasyoukyakuShisan20070401", "定率法", "GenkasyoukyakuShisan20070401"},
      {7, 0, "定率法", Date(2010, 5, 1), "GenkasyoukyakuShisan20070401", "定率法", "GenkasyoukyakuShisan20070401"}};
  for (const auto& [version, methodCode, method, dateOfAdded, stored, method_, table] : cases) {
    SCOPED_TRACE(version);
    const std::string bytes = archiveOfVersion(version, methodCode, method, dateOfAdded, stored);
    ArchiveReader r(bytes);
    G a;
    ASSERT_TRUE(a.initWithCoder(r)) << r.failure();
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(std::tuple(a.name(), a.syoukyakuTypeStr(), a.quantity(), a.reference(), a.addedTypeStr(),
                         a.basedCyoubokagakuForKaiteiSyoukyakuhi(), a.decreaseArray().size(), a.pListResource(),
                         a.indexToDrag()),
              std::tuple("旋盤", method_, version >= 1 ? 3 : 1, version >= 1 ? "措法２８の２" : "",
                         version >= 5 ? "中古" : "新品", version >= 7 ? 400'000 : -1, version >= 4 ? 1u : 0u, table,
                         version >= 3 ? 5 : 0));
    EXPECT_EQ(std::tuple(a.tokubetsuSyoukyakuhi(), a.warimashiSyoukyakuhi(), a.syutokuKagaku(), a.jigyouSenyouWariai()),
              std::tuple(3'000, 0, 1'000'000, 90.0));
    // Assets written off over three years are never removed.
    EXPECT_EQ(a.dateOfRemoved().isNull(), a.syoukyakuTypeStr() == G::kIkkatsuSyoukyaku);
    // Saved in the current version, every field reads back; the record's own coding
    // does not say whose the ordinary charge is (the document's file does).
    a.setIsFutsuuSyoukyakuhiSetByProgram(true);
    ArchiveWriter w;
    a.encodeWithCoder(w);
    ArchiveReader again(w.data());
    G back;
    back.setIsFutsuuSyoukyakuhiSetByProgram(true);
    ASSERT_TRUE(back.initWithCoder(again));
    EXPECT_EQ(std::tuple(again.atEnd(), back, back.isFutsuuSyoukyakuhiSetByProgram()), std::tuple(true, a, false));
  }
}

// The asset read back from its archive, or nothing when the reader refuses it.
std::optional<G> readBack(const G& a)
{
  ArchiveWriter w;
  a.encodeWithCoder(w);
  ArchiveReader r(w.data());
  G back;
  if (!back.initWithCoder(r)) return std::nullopt;
  return back;
}

constexpr int64_t kLimit = Kaisya::kMaxInputAmountValue;

TEST(GenkasyoukyakuShisanTest, ValuesNeitherTheFieldsNorTheProgramMakeAreRefused)
{
  using Set = std::function<void(G&)>;
  // What the fields and the program write reads back: the -1 markers, zeros, the
  // limits of the fields.
  const std::pair<const char*, Set> readable[] = {
      {"new asset, nothing entered", [](G&) {}},
      {"limits of the fields",
       [](G& a) {
         a.setSyutokuKagaku(kLimit);
         a.setKisyuSyoukyakugakuRuikei(kLimit);
         a.setFutsuuSyoukyakuhi(kLimit);
         a.setTokubetsuSyoukyakuhi(kLimit);
         a.setBasedCyoubokagakuForKaiteiSyoukyakuhi(kLimit);
         a.setTaiyouYears(G::kMaxTaiyouYears);
         a.setZanzonWariai(100.0);
         a.setJigyouSenyouWariai(0.0);
         a.decreaseArray().emplace_back(Date(2024, 5, 1), kLimit);
       }},
  };
  for (const auto& [what, set] : readable) {
    G a(G::kTeigakuHou);
    set(a);
    EXPECT_EQ(readBack(a), a) << what;
  }
  // Values no field takes and the program never writes: once they ended the
  // depreciation's arithmetic in an overflow.
  const std::pair<const char*, Set> refused[] = {
      {"cost beyond the input limit", [](G& a) { a.setSyutokuKagaku(kLimit + 1); }},
      {"cost -2", [](G& a) { a.setSyutokuKagaku(-2); }},
      {"accumulated depreciation -1", [](G& a) { a.setKisyuSyoukyakugakuRuikei(-1); }},
      {"largest ordinary charge", [](G& a) { a.setFutsuuSyoukyakuhi(INT64_MAX); }},
      {"increased charge below zero", [](G& a) { a.setZoukaSyoukyakugaku(-5); }},
      {"special charge beyond the limit", [](G& a) { a.setTokubetsuSyoukyakuhi(kLimit + 1); }},
      {"special and extra charge beyond the limit together",
       [](G& a) {
         a.setTokubetsuSyoukyakuhi(kLimit);
         a.setWarimashiSyoukyakuhi(1);
       }},
      {"extra charge that overflowed when added",
       [](G& a) {
         a.setTokubetsuSyoukyakuhi(INT64_MAX);
         a.setWarimashiSyoukyakuhi(INT64_MAX);
       }},
      {"phase base -9", [](G& a) { a.setBasedCyoubokagakuForKaiteiSyoukyakuhi(-9); }},
      {"life of 101 years", [](G& a) { a.setTaiyouYears(101); }},
      {"negative life", [](G& a) { a.setTaiyouYears(-1); }},
      {"negative quantity", [](G& a) { a.setQuantity(-1); }},
      {"residual ratio of 101 %", [](G& a) { a.setZanzonWariai(101.0); }},
      {"limit ratio NaN", [](G& a) { a.setZanzonGendoWariai(std::nan("")); }},
      {"business use infinite", [](G& a) { a.setJigyouSenyouWariai(HUGE_VAL); }},
      {"decrease below zero", [](G& a) { a.decreaseArray().emplace_back(Date(2024, 5, 1), -1); }},
      {"account code 5000", [](G& a) { a.setKamokuCode(5000); }},
      {"division code 100", [](G& a) { a.setJigyoubuCode(100); }},
  };
  for (const auto& [what, set] : refused) {
    G a(G::kTeigakuHou);
    set(a);
    EXPECT_FALSE(readBack(a)) << what;
  }
}

TEST(GenkasyoukyakuShisanTest, DecreasesSortByDateWithUndatedOnesLast)
{
  G a;
  a.decreaseArray() = {{Date(2007, 5, 1), 1}, {Date(), 2}, {Date(2007, 4, 1), 3}, {Date(2007, 4, 1), 4}};
  a.sortDecreaseArrayByDate();
  std::vector<int64_t> order;
  for (const auto& d : a.decreaseArray()) order.push_back(d.amountOfDecrease());
  EXPECT_EQ(order, (std::vector<int64_t>{3, 4, 1, 2}));

  EXPECT_EQ(std::tuple(a.doDecreaseFrom(Date(2007, 4, 1), Date(2007, 4, 30)),
                       a.doDecreaseFrom(Date(2007, 4, 2), Date(2007, 5, 1)),
                       a.doDecreaseFrom(Date(2007, 5, 2), Date(2008, 3, 31))),
            std::tuple(true, true, false));
}

TEST(GenkasyoukyakuShisanTest, AcquisitionDateMustFallUnderTheAssetsRule)
{
  G newer;
  G older;
  older.setPListResource(GenkasyoukyakuShisan::kKyuuTableName);
  // The 250 % table's end bounds no later term.
  EXPECT_EQ(std::tuple(newer.isValidDateOfAdded(Date(2007, 4, 1)), newer.isValidDateOfAdded(Date(2030, 1, 1)),
                       newer.isValidDateOfAdded(Date(2007, 3, 31)), older.isValidDateOfAdded(Date(2007, 3, 31)),
                       older.isValidDateOfAdded(Date(2007, 4, 1))),
            std::tuple(true, true, false, true, false));
}

}  // namespace
}  // namespace kivo
