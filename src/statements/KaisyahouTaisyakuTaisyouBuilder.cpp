#include "statements/KaisyahouTaisyakuTaisyouBuilder.h"

#include <string>

#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

constexpr const char* kJunshisan = "純資産の部";

class Side {
public:
  Side(const KaisyahouHoukokusyoRowMaker& m, std::vector<Shisan>& rows) : m_(m), rows_(rows) {}

  static void addOperand(std::vector<Calculate>& list, size_t index)
  {
    list.emplace_back(static_cast<int32_t>(index), Calculate::Sign::Add);
  }
  // Group rows; the heading's index goes to the list when a heading was made.
  int32_t group(const std::string& kubunName, int32_t g1, int32_t g2, const std::string& title, bool karikata,
                const std::string& indent, std::vector<Calculate>* list)
  {
    const int32_t h = m_.addGroupKamoku(kubunName, g1, g2, title, karikata, indent, rows_);
    if (h >= 0 && list) addOperand(*list, static_cast<size_t>(h));
    return h;
  }
  // The group's heading, or an empty group line standing in for it.
  size_t groupOrEmpty(int32_t g, int32_t g2, const std::string& title, const std::string& indent,
                      std::vector<Calculate>* list)
  {
    const int32_t h = group(kJunshisan, g, g2, title, false, indent, list);
    return h >= 0 ? static_cast<size_t>(h) : m_.addRow(rows_, KaisyahouGroupRowCode, title, 0);
  }
  void closeTotal(const std::vector<Calculate>& list, const std::string& title)
  {
    m_.addTotalRow(list, rows_, KaisyahouTotalRowCode, title);
  }
  // The heading H takes the sum of the groups under it, or goes when nothing followed it.
  void foldInto(size_t h, const std::vector<Calculate>& list, std::vector<Calculate>& parent)
  {
    if (rows_.size() == h + 1) {
      rows_.pop_back();
      return;
    }
    const size_t t = m_.addTotalOfCalculateArray(list, rows_);
    rows_[h].setHoukokusyoAmount(rows_[t].houkokusyoAmount());
    rows_.pop_back();
    addOperand(parent, h);
  }
  void blank(size_t at)
  {
    Shisan r;
    r.setJigyoubuCode(m_.jigyoubuCode());
    r.setKamokuCode(KaisyahouComputedRowCode);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(r));
  }

private:
  const KaisyahouHoukokusyoRowMaker& m_;
  std::vector<Shisan>& rows_;
};

}  // namespace

KaisyahouTaisyakuTaisyouBuilder::Sides KaisyahouTaisyakuTaisyouBuilder::build(const KaisyahouHoukokusyoRowMaker& m,
                                                                              int64_t toukiSoneki)
{
  Sides out;
  std::vector<Shisan>& left = out.shisannobu;
  std::vector<Shisan>& right = out.fusainobu;
  Side l(m, left), r(m, right);
  std::vector<Calculate> sectionList, totalList, kabunushiList, surplusList, otherSurplusList;

  // Assets.
  m.addRow(left, KaisyahouSectionRowCode, "資産の部", 0);
  l.group("流動資産", 0, 0, "[流動資産]", true, "　", &totalList);
  const size_t kotei = m.addRow(left, KaisyahouGroupRowCode, "[固定資産]", 0);
  l.group("有形固定資産", 0, 0, "　[有形固定資産]", true, "　　", &sectionList);
  l.group("無形固定資産", 0, 0, "　[無形固定資産]", true, "　　", &sectionList);
  l.group("投資等", 0, 0, "　[投資等]", true, "　　", &sectionList);
  l.foldInto(kotei, sectionList, totalList);
  l.group("繰延資産", 0, 0, "[繰延資産]", true, "　", &totalList);
  if (totalList.empty()) {
    left.clear();
    return out;
  }
  l.closeTotal(totalList, "　　　資産合計");

  // Liabilities.
  m.addRow(right, KaisyahouSectionRowCode, "負債の部", 0);
  sectionList.clear();
  totalList.clear();
  r.group("流動負債", 0, 0, "[流動負債]", false, "　", &sectionList);
  r.group("固定負債", 0, 0, "[固定負債]", false, "　", &sectionList);
  r.group("引当金", 0, 0, "[引当金]", false, "　", &sectionList);
  if (!sectionList.empty()) {
    r.closeTotal(sectionList, "　　　負債合計");
    Side::addOperand(totalList, right.size() - 1);
  } else {
    right.pop_back();
  }

  // Net assets: 株主資本.
  m.addRow(right, KaisyahouSectionRowCode, kJunshisan, 0);
  sectionList.clear();
  const size_t kabunushi = m.addRow(right, KaisyahouGroupRowCode, "[株主資本]", 0);
  r.group(kJunshisan, 18, 0, "　[資本金]", false, "　　", &kabunushiList);
  const size_t shihonJouyo = r.groupOrEmpty(26, 19, "　[資本剰余金]", "　　", &surplusList);
  if (r.group(kJunshisan, 27, 0, "　　その他資本剰余金", false, "　　　", &surplusList) >= 0)
    right.resize(static_cast<size_t>(surplusList.back().indexOfArray()) + 1);
  r.foldInto(shihonJouyo, surplusList, kabunushiList);

  surplusList.clear();
  const size_t riekiJouyo = r.groupOrEmpty(20, 0, "　[利益剰余金]", "　　", &surplusList);
  const size_t sonota = r.groupOrEmpty(21, 0, "　　[その他利益剰余金]", "　　　", &otherSurplusList);
  const int32_t kurikoshiHeading = r.group(kJunshisan, 22, 0, "　　　繰越利益剰余金", false, "　　　　", nullptr);
  const size_t kurikoshi = kurikoshiHeading >= 0 ? static_cast<size_t>(kurikoshiHeading)
                                                 : m.addRow(right, KaisyahouGroupRowCode, "　　　繰越利益剰余金", 0);
  int64_t kurikoshiAmount = right[kurikoshi].houkokusyoAmount();
  if (toukiSoneki > 0) m.addRow(right, KaisyahouComputedRowCode, "　　　　当期純利益", toukiSoneki);
  if (toukiSoneki < 0) m.addRow(right, KaisyahouComputedRowCode, "　　　　当期純損失", -toukiSoneki);
  m.accumulate(kurikoshiAmount, toukiSoneki, true);
  if (right.size() == kurikoshi + 1) {
    right.pop_back();
  } else {
    right[kurikoshi].setHoukokusyoAmount(m.pinned(kurikoshiAmount));
    right.resize(kurikoshi + 1);
    Side::addOperand(otherSurplusList, kurikoshi);
  }
  r.foldInto(sonota, otherSurplusList, surplusList);
  r.foldInto(riekiJouyo, surplusList, kabunushiList);
  r.group(kJunshisan, 23, 0, "　[自己株式]", false, "　　", &kabunushiList);
  r.group(kJunshisan, 29, 0, "　[自己株申込拠出金]", false, "　　", &kabunushiList);
  r.foldInto(kabunushi, kabunushiList, sectionList);

  // Net assets: valuation differences and share options.
  r.group(kJunshisan, 24, 30, "[評価・換算差額等]", false, "　", &sectionList);
  r.group(kJunshisan, 25, 0, "[新株予約権]", false, "　", &sectionList);

  // Balancing: the grand totals on one line. The right side still takes its net-assets
  // total (or a blank in its place) and the grand total.
  const std::ptrdiff_t d = static_cast<std::ptrdiff_t>(left.size()) - static_cast<std::ptrdiff_t>(right.size()) - 2;
  for (std::ptrdiff_t i = 0; i < -d; ++i) l.blank(left.size() - 1);
  for (std::ptrdiff_t i = 0; i < d; ++i) r.blank(right.size());
  if (!sectionList.empty()) {
    r.closeTotal(sectionList, "　　　純資産合計");
    Side::addOperand(totalList, right.size() - 1);
  } else {
    r.blank(right.size());
  }
  if (!totalList.empty())
    r.closeTotal(totalList, "　　　負債・純資産合計");
  else
    r.blank(right.size());  // the right side keeps the left's length
  return out;
}

}  // namespace kivo
