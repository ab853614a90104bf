#include <gtest/gtest.h>

#include <tuple>

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/GenkasyoukyakuShisan.h"

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
    // Saved in the current version, every field reads back.
    ArchiveWriter w;
    a.encodeWithCoder(w);
    ArchiveReader again(w.data());
    G back;
    ASSERT_TRUE(back.initWithCoder(again));
    EXPECT_EQ(std::tuple(again.atEnd(), back), std::tuple(true, a));
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
