// One depreciable fixed asset (減価償却資産) of a document: what it is, where it is
// booked, when and for how much it was acquired, how it is depreciated, the charges
// of the current term, its partial decreases and the rule that governs it; and the
// depreciation the tax law gives it for a term.
//
// Amounts are int64_t stored units; ratios are percent. In the three amounts that
// may be unknown, -1 means "not entered" (syutokuKagaku, futsuuSyoukyakuhi) or "not
// fixed yet" (basedCyoubokagakuForKaiteiSyoukyakuhi); a computed charge of -1 means
// it cannot be computed (cost or acquisition date missing, a useful life outside
// 1 to 100, an unknown method).
//
// The computations are const: showing or printing an asset never changes it. The
// base of the final equal-instalment phase is worked out afresh each time until the
// carry-forward's roll-forward (addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikei)
// fixes it from the closing term's figures.
//
//   SyoukyakuKikan kikan(document.kaisya(), roundingType);
//   int32_t kaitei = -1;
//   int64_t charge = asset.sansyutuSyoukyakuhiForKaisya(kikan, &kaitei);
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/GenkasyoukyakuShisanDecrease.h"
#include "assets/SyoukyakuKikan.h"
#include "assets/SyoukyakuRitsuTable.h"
#include "model/Date.h"

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

  // A new asset depreciated straight line.
  GenkasyoukyakuShisan();
  // A new asset with the given method and the residual and limit ratios the user
  // set as defaults in the preferences.
  explicit GenkasyoukyakuShisan(std::string syoukyakuTypeStr,
                                double zanzonWariai = SyoukyakuRitsuTable::kDefaultZanzonWariai,
                                double zanzonGendoWariai = SyoukyakuRitsuTable::kDefaultZanzonGendoWariai);

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
  bool isOlderRule() const { return pListResource_ == SyoukyakuRitsuTable::kKyuuTableName; }
  // The table whose rates apply: the older one, or the newer rule's table of the
  // acquisition date.
  const SyoukyakuRitsuTable& ritsuTable() const;
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

  // --- rates of the term, per thousand
  // The newer tables' rate for 定額法 and 定率法, scaled to the months of the term and
  // rounded up to a whole per-thousand; -1 for another method or a refused life, 0
  // when the table has no rate for the life.
  int32_t syoukyakuRitsuPerThousand20070401ForKaisya(const SyoukyakuKikan& kikan) const;
  // The revised rate of 定率法, scaled like the rate; -1 for other methods.
  int32_t kaiteiSyoukyakuRitsuPerThousand20070401ForKaisya(const SyoukyakuKikan& kikan) const;
  // The guarantee rate per hundred thousand of 定率法 (never scaled); -1 when none.
  int32_t hosyouRitsuPerHundredThousand() const;
  // The rate of the term the charge uses, for either rule; -1 when there is none.
  int32_t syoukyakuRitsuPerThousandForKaisya(const SyoukyakuKikan& kikan) const;

  // --- the charge of the term and the amounts derived from it
  // The charge the law gives for the term; -1 when it cannot be computed. When the
  // revised rate of the newer rule's declining balance was used, it is stored
  // through kaiteiSyoukyakuRitsuPerThousand (left alone otherwise).
  int64_t sansyutuSyoukyakuhiForKaisya(const SyoukyakuKikan& kikan,
                                       int32_t* kaiteiSyoukyakuRitsuPerThousand = nullptr) const;
  // Months of use in the term (u): from the month of acquisition or of the term's
  // start, to the month of removal or of the term's end; 0 when the asset was not
  // held in the term.
  int32_t numberOfSyoukyakuMonthForKaisya(const SyoukyakuKikan& kikan) const;
  // Opening book value; -1 for an asset acquired in the term (or later).
  int64_t kisyuCyoubokagakuForKaisya(const SyoukyakuKikan& kikan) const;
  int64_t zanzonKagaku(const SyoukyakuKikan& kikan) const;
  int64_t zanzonGendoGaku(const SyoukyakuKikan& kikan) const;
  // Closing book value: opening book value (or cost) less the decrease and the
  // charges of the term, so that the register foots.
  int64_t kimatsuCyoubokagakuForKaisya(const SyoukyakuKikan& kikan) const;
  // The part of the term's charges taken into expenses (the business-use share).
  int64_t keihisannyuugaku(const SyoukyakuKikan& kikan) const;
  // Cost × guarantee rate; -1 when the asset has no guarantee rate.
  int64_t hosyouGaku(const SyoukyakuKikan& kikan) const;
  // The same amount; the guarantee does not depend on the date.
  int64_t hosyouGakuOnDate(Date, const SyoukyakuKikan& kikan) const { return hosyouGaku(kikan); }
  // Decrease of the term: the decreases dated in it, or, for an asset removed in
  // the term, its whole book value less the term's charges.
  int64_t toukiGensyougakuForKaisya(const SyoukyakuKikan& kikan) const;
  // Roll-forward into the next term, for the carry-forward: fixes the base of an
  // equal-instalment phase the closing term entered, adds the term's charges to the
  // accumulated depreciation (at most the cost), then sets the ordinary charge to the
  // computed charge of the next term (-1 when it cannot be computed) and clears the
  // other charges.
  void addToukiSyoukyakuhiGoukeiToKisyuSyoukyakugakuRuikeiForKaisya(const SyoukyakuKikan& closingTerm,
                                                                    const SyoukyakuKikan& nextTerm);

  // --- archiving; every older class version reads back
  static constexpr int32_t kClassVersion = 7;
  void encodeWithCoder(ArchiveWriter& coder) const;
  bool initWithCoder(ArchiveReader& coder);

  friend bool operator==(const GenkasyoukyakuShisan&, const GenkasyoukyakuShisan&) = default;

private:
  struct Keisan;
  Keisan keisan(const SyoukyakuKikan& kikan) const;
  bool usesRate() const;
  bool isRemovedBefore(Date date) const;
  int64_t decreaseBefore(Date date) const;
  int64_t decreaseThrough(const SyoukyakuKikan& kikan) const;
  int32_t fallbackRitsuPerThousand(int32_t life, int32_t m) const;

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
  double zanzonWariai_ = SyoukyakuRitsuTable::kDefaultZanzonWariai;
  double zanzonGendoWariai_ = SyoukyakuRitsuTable::kDefaultZanzonGendoWariai;
  double jigyouSenyouWariai_ = 100.0;
  int64_t futsuuSyoukyakuhi_ = -1;
  int64_t zoukaSyoukyakugaku_ = 0;
  int64_t warimashiSyoukyakuhi_ = 0;
  int64_t tokubetsuSyoukyakuhi_ = 0;
  int64_t basedCyoubokagakuForKaiteiSyoukyakuhi_ = -1;
  std::vector<GenkasyoukyakuShisanDecrease> decreaseArray_;
  std::string pListResource_ = SyoukyakuRitsuTable::kShin250TableName;
  int32_t indexToDrag_ = 0;
};

using GenkasyoukyakuShisanPtr = std::shared_ptr<GenkasyoukyakuShisan>;

}  // namespace kivo
