// One depreciable fixed asset (減価償却資産) of a document, as the document keeps it:
// what it is, where it is booked, when and for how much it was acquired, how it is
// depreciated, the charges of the current term, its partial decreases and the rule
// that governs it (the text stored in `pListResource`). The depreciation the tax law
// gives it for a term is worked out by ShisanSyoukyaku (src/assets).
//
// Amounts are int64_t stored units; ratios are percent. In the three amounts that
// may be unknown, -1 means "not entered" (syutokuKagaku, futsuuSyoukyakuhi) or "not
// fixed yet" (basedCyoubokagakuForKaiteiSyoukyakuhi).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Date.h"
#include "model/GenkasyoukyakuShisanDecrease.h"

namespace kivo {

class ArchiveWriter;
class ArchiveReader;

class GenkasyoukyakuShisan {
public:
  // Depreciation methods, as stored in syoukyakuTypeStr.
  static constexpr const char* kTeigakuHou = "定額法";
  static constexpr const char* kTeiritsuHou = "定率法";
  static constexpr const char* kKintouSyoukyaku = "均等償却";
  static constexpr const char* kIkkatsuSyoukyaku = "一括償却";
  static constexpr const char* kSokujiSyoukyaku = "即時償却";
  // The two final equal-instalment phases; never stored in an asset.
  static constexpr const char* kGendoIkaNoKintouSyoukyaku = "償却可能限度額以下の均等償却";
  static constexpr const char* kHosyouGakuMimanNoKintouSyoukyaku = "償却保証額未満の均等償却";
  static constexpr const char* kShinpin = "新品";

  // The rules an asset follows, as stored in pListResource: the older rule (acquired
  // before 2007-04-01), and the newer rule's tables of declining balance at 250 %
  // (acquired 2007-04-01 to 2012-03-31) and at 200 % (acquired from 2012-04-01).
  static constexpr const char* kKyuuTableName = "GenkasyoukyakuShisan";
  static constexpr const char* kShin250TableName = "GenkasyoukyakuShisan20070401";
  static constexpr const char* kShin200TableName = "GenkasyoukyakuShisan20120401";
  // Registered defaults of a new asset's residual and limit ratios, percent.
  static constexpr double kDefaultZanzonWariai = 10.0;
  static constexpr double kDefaultZanzonGendoWariai = 5.0;
  // The first acquisition date of the newer rule, and of its 200 % table.
  static Date newerRuleStartDate() { return Date(2007, 4, 1); }
  static Date shin200StartDate() { return Date(2012, 4, 1); }
  // The newer rule's table name for an acquisition date (the latest for no date).
  static const char* newerRuleTableNameForDate(Date dateOfAdded);

  // A new asset depreciated straight line.
  GenkasyoukyakuShisan();
  // A new asset with the given method and the residual and limit ratios the user
  // set as defaults in the preferences.
  explicit GenkasyoukyakuShisan(std::string syoukyakuTypeStr, double zanzonWariai = kDefaultZanzonWariai,
                                double zanzonGendoWariai = kDefaultZanzonGendoWariai);

  // --- fields
  const std::string& name() const { return name_; }
  void setName(const std::string& v) { name_ = v; }
  const std::string& kanriCode() const { return kanriCode_; }
  void setKanriCode(const std::string& v) { kanriCode_ = v; }
  int32_t quantity() const { return quantity_; }
  void setQuantity(int32_t v) { quantity_ = v; }
  int32_t kamokuCode() const { return kamokuCode_; }
  void setKamokuCode(int32_t v) { kamokuCode_ = v; }
  int32_t hojyoKamokuCode() const { return hojyoKamokuCode_; }
  void setHojyoKamokuCode(int32_t v) { hojyoKamokuCode_ = v; }
  int32_t jigyoubuCode() const { return jigyoubuCode_; }
  void setJigyoubuCode(int32_t v) { jigyoubuCode_ = v; }
  const std::string& reference() const { return reference_; }
  void setReference(const std::string& v) { reference_ = v; }
  Date dateOfAdded() const { return dateOfAdded_; }
  void setDateOfAdded(Date v) { dateOfAdded_ = v; }
  const std::string& addedTypeStr() const { return addedTypeStr_; }
  void setAddedTypeStr(const std::string& v) { addedTypeStr_ = v; }
  Date dateOfRemoved() const { return dateOfRemoved_; }
  void setDateOfRemoved(Date v) { dateOfRemoved_ = v; }
  int64_t syutokuKagaku() const { return syutokuKagaku_; }
  void setSyutokuKagaku(int64_t v) { syutokuKagaku_ = v; }
  int64_t kisyuSyoukyakugakuRuikei() const { return kisyuSyoukyakugakuRuikei_; }
  void setKisyuSyoukyakugakuRuikei(int64_t v) { kisyuSyoukyakugakuRuikei_ = v; }
  const std::string& syoukyakuTypeStr() const { return syoukyakuTypeStr_; }
  void setSyoukyakuTypeStr(const std::string& v) { syoukyakuTypeStr_ = v; }
  int32_t taiyouYears() const { return taiyouYears_; }
  void setTaiyouYears(int32_t v) { taiyouYears_ = v; }
  double zanzonWariai() const { return zanzonWariai_; }
  void setZanzonWariai(double v) { zanzonWariai_ = v; }
  double zanzonGendoWariai() const { return zanzonGendoWariai_; }
  void setZanzonGendoWariai(double v) { zanzonGendoWariai_ = v; }
  double jigyouSenyouWariai() const { return jigyouSenyouWariai_; }
  void setJigyouSenyouWariai(double v) { jigyouSenyouWariai_ = v; }
  int64_t futsuuSyoukyakuhi() const { return futsuuSyoukyakuhi_; }
  void setFutsuuSyoukyakuhi(int64_t v) { futsuuSyoukyakuhi_ = v; }
  // Whether the program set the ordinary charge (the register for an empty field,
  // the computed-charge sheet, the carry-forward), so that it follows the computed
  // charge, rather than the user. Not in the record's own coding, which older builds
  // and other programs read as it is: the document file keeps it in a section of its
  // own (DocumentFile), and a charge read from a file without it is the user's.
  bool isFutsuuSyoukyakuhiSetByProgram() const { return futsuuSyoukyakuhiSetByProgram_.value; }
  void setIsFutsuuSyoukyakuhiSetByProgram(bool v) { futsuuSyoukyakuhiSetByProgram_.value = v; }
  int64_t zoukaSyoukyakugaku() const { return zoukaSyoukyakugaku_; }
  void setZoukaSyoukyakugaku(int64_t v) { zoukaSyoukyakugaku_ = v; }
  int64_t warimashiSyoukyakuhi() const { return warimashiSyoukyakuhi_; }
  void setWarimashiSyoukyakuhi(int64_t v) { warimashiSyoukyakuhi_ = v; }
  int64_t tokubetsuSyoukyakuhi() const { return tokubetsuSyoukyakuhi_; }
  void setTokubetsuSyoukyakuhi(int64_t v) { tokubetsuSyoukyakuhi_ = v; }
  int64_t basedCyoubokagakuForKaiteiSyoukyakuhi() const { return basedCyoubokagakuForKaiteiSyoukyakuhi_; }
  void setBasedCyoubokagakuForKaiteiSyoukyakuhi(int64_t v) { basedCyoubokagakuForKaiteiSyoukyakuhi_ = v; }
  std::vector<GenkasyoukyakuShisanDecrease>& decreaseArray() { return decreaseArray_; }
  const std::vector<GenkasyoukyakuShisanDecrease>& decreaseArray() const { return decreaseArray_; }
  void setDecreaseArray(std::vector<GenkasyoukyakuShisanDecrease> v) { decreaseArray_ = std::move(v); }
  // "GenkasyoukyakuShisan" for the older rule; a newer-rule table name otherwise.
  const std::string& pListResource() const { return pListResource_; }
  void setPListResource(const std::string& v) { pListResource_ = v; }
  int32_t indexToDrag() const { return indexToDrag_; }
  void setIndexToDrag(int32_t v) { indexToDrag_ = v; }

  // --- the record
  bool isOlderRule() const { return pListResource_ == kKyuuTableName; }
  // Whether the asset's rule accepts the date as its acquisition date: up to
  // 2007-03-31 for the older rule, from 2007-04-01 on for the newer rule.
  bool isValidDateOfAdded(Date date) const;
  // Decreases in date order, undated ones last; equal dates keep their order.
  void sortDecreaseArrayByDate();
  // Whether a decrease is dated from `from` to `to`, both days included.
  bool doDecreaseFrom(Date from, Date to) const;
  // The term's charges; an ordinary charge not entered (-1) counts as 0.
  int64_t toukiSyoukyakuhiGoukei() const;
  int64_t kimatsuSyoukyakugakuRuikei() const { return kisyuSyoukyakugakuRuikei_ + toukiSyoukyakuhiGoukei(); }

  // --- the values an asset may hold: what the register's fields take and what the
  // program itself writes, the carry-forward's roll-forward included. The reader
  // refuses any other, so that the depreciation never meets an amount it cannot add:
  //   quantity 0 or more; useful life 0 (none) to kMaxTaiyouYears; the residual,
  //   limit and business-use ratios 0 to 100 percent (numbers, not NaN); cost and
  //   ordinary charge -1 (not entered) or 0 to the input limit; the phase base -1 (not
  //   fixed) or 0 to the input limit; the opening accumulated depreciation, the
  //   increased and the special charge (an older file's extra charge added in) and
  //   every decrease 0 to the input limit; account, sub-account and division codes in
  //   their ranges.
  static constexpr int32_t kMaxTaiyouYears = 100;
  static constexpr double kMaxWariai = 100.0;
  static bool isTaiyouYearsInRange(int32_t years) { return years >= 0 && years <= kMaxTaiyouYears; }
  static bool isWariaiInRange(double percent) { return percent >= 0.0 && percent <= kMaxWariai; }
  // 0 to the input limit.
  static bool isAmountInRange(int64_t amount);
  bool hasValuesInRange() const;

  // --- archiving; every older class version reads back
  static constexpr int32_t kClassVersion = 7;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

  friend bool operator==(const GenkasyoukyakuShisan&, const GenkasyoukyakuShisan&) = default;

private:
  std::string name_;
  std::string kanriCode_;
  int32_t quantity_ = 1;
  int32_t kamokuCode_ = -1;
  int32_t hojyoKamokuCode_ = -1;
  int32_t jigyoubuCode_ = -1;
  std::string reference_;
  Date dateOfAdded_;
  std::string addedTypeStr_ = kShinpin;
  Date dateOfRemoved_;
  int64_t syutokuKagaku_ = -1;
  int64_t kisyuSyoukyakugakuRuikei_ = 0;
  std::string syoukyakuTypeStr_;
  int32_t taiyouYears_ = 0;
  double zanzonWariai_ = kDefaultZanzonWariai;
  double zanzonGendoWariai_ = kDefaultZanzonGendoWariai;
  double jigyouSenyouWariai_ = 100.0;
  int64_t futsuuSyoukyakuhi_ = -1;
  int64_t zoukaSyoukyakugaku_ = 0;
  int64_t warimashiSyoukyakuhi_ = 0;
  int64_t tokubetsuSyoukyakuhi_ = 0;
  int64_t basedCyoubokagakuForKaiteiSyoukyakuhi_ = -1;
  std::vector<GenkasyoukyakuShisanDecrease> decreaseArray_;
  std::string pListResource_ = kShin250TableName;
  int32_t indexToDrag_ = 0;
  // No part of the record's value: two records whose codings are alike are equal.
  struct UncodedMark {
    bool value = false;
    friend bool operator==(UncodedMark, UncodedMark) { return true; }
  };
  UncodedMark futsuuSyoukyakuhiSetByProgram_;
};

using GenkasyoukyakuShisanPtr = std::shared_ptr<GenkasyoukyakuShisan>;

}  // namespace kivo
