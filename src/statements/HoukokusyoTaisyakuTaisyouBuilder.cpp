#include "statements/HoukokusyoTaisyakuTaisyouBuilder.h"

#include <string>

#include "statements/KaisyahouHoukokusyoRowMaker.h"
#include "statements/KaisyahouRowCodes.h"

namespace kivo {
namespace {

void addOperand(std::vector<Calculate>& list, size_t index)
{
  list.emplace_back(static_cast<int32_t>(index), Calculate::Sign::Add);
}

// Group rows of a category; the heading's index goes into the list when made.
void group(const KaisyahouHoukokusyoRowMaker& m, std::vector<Shisan>& rows, const std::string& kubunName,
           int32_t filter, const std::string& heading, bool karikata, const std::string& indent,
           std::vector<Calculate>& list)
{
  const int32_t h = m.addGroupKamoku(kubunName, filter, filter, heading, karikata, indent, rows);
  if (h >= 0) addOperand(list, static_cast<size_t>(h));
}

}  // namespace

HoukokusyoTaisyakuTaisyouBuilder::Sides HoukokusyoTaisyakuTaisyouBuilder::build(const KaisyahouHoukokusyoRowMaker& m,
                                                                                int64_t toukiSoneki,
                                                                                int64_t toukiMisyobunSoneki)
{
  Sides out;
  std::vector<Shisan>& left = out.shisannobu;
  std::vector<Shisan>& right = out.fusainobu;
  std::vector<Calculate> section, block;

  // Assets.
  m.addRow(left, KaisyahouSectionRowCode, "資産の部", 0);
  group(m, left, "流動資産", 0, "[流動資産]", true, "　", section);
  const size_t kotei = m.addRow(left, KaisyahouGroupRowCode, "[固定資産]", 0);
  group(m, left, "有形固定資産", 0, "　[有形固定資産]", true, "　　", block);
  group(m, left, "無形固定資産", 0, "　[無形固定資産]", true, "　　", block);
  group(m, left, "投資等", 0, "　[投資等]", true, "　　", block);
  if (left.size() > kotei + 1) {
    m.addTotalOfCalculateArray(block, left);
    left[kotei].setHoukokusyoAmount(left.back().houkokusyoAmount());
    left.pop_back();
    addOperand(section, kotei);
  } else {
    left.pop_back();
  }
  group(m, left, "繰延資産", 0, "[繰延資産]", true, "　", section);
  if (section.empty()) {
    left.clear();
    return out;
  }
  m.addTotalRow(section, left, KaisyahouTotalRowCode, "　　　資産の部合計");

  // Liabilities.
  m.addRow(right, KaisyahouSectionRowCode, "負債の部", 0);
  section.clear();
  block.clear();
  group(m, right, "流動負債", 0, "[流動負債]", false, "　", block);
  group(m, right, "固定負債", 0, "[固定負債]", false, "　", block);
  group(m, right, "引当金", 0, "[引当金]", false, "　", block);
  if (!block.empty())
    addOperand(section, m.addTotalRow(block, right, KaisyahouTotalRowCode, "　　　負債の部合計"));
  else
    right.pop_back();

  // Capital: capital stock, legal reserves, surplus with the term's result in it.
  m.addRow(right, KaisyahouSectionRowCode, "資本の部", 0);
  block.clear();
  group(m, right, "資本の部", 18, "[資本金]", false, "　", block);
  group(m, right, "資本の部", 19, "[法定準備金]", false, "　", block);
  int32_t r = m.addGroupKamoku("資本の部", 20, 20, "[剰余金(欠損金)]", false, "　", right);
  int64_t t = 0;
  if (r < 0)
    r = static_cast<int32_t>(m.addRow(right, KaisyahouGroupRowCode, "[剰余金(欠損金)]", 0));
  else
    t = right[static_cast<size_t>(r)].houkokusyoAmount();
  if (toukiMisyobunSoneki > 0)
    m.addRow(right, KaisyahouComputedRowCode, "　当期未処分利益", toukiMisyobunSoneki);
  else if (toukiMisyobunSoneki < 0)
    m.addRow(right, KaisyahouComputedRowCode, "　当期未処理損失", m.pinned(-toukiMisyobunSoneki));
  if (m.inRange(t)) t += toukiMisyobunSoneki;
  if (toukiSoneki > 0)
    m.addRow(right, KaisyahouComputedRowCode, "　（内 当期利益）", toukiSoneki);
  else if (toukiSoneki < 0)
    m.addRow(right, KaisyahouComputedRowCode, "　（内 当期損失）", m.pinned(-toukiSoneki));
  if (static_cast<size_t>(r) + 1 == right.size()) {
    right.pop_back();
  } else {
    right[static_cast<size_t>(r)].setHoukokusyoAmount(m.pinned(t));
    addOperand(block, static_cast<size_t>(r));
  }

  // Both columns end on one line: blank rows above 資産の部合計, or under the
  // capital rows, leaving room for the two totals of the right column.
  const auto d = static_cast<int64_t>(left.size()) - static_cast<int64_t>(right.size()) - 2;
  if (d < 0) {
    std::vector<Shisan> blanks;
    for (int64_t i = 0; i < -d; ++i) m.addRow(blanks, KaisyahouComputedRowCode, "", 0);
    left.insert(left.end() - 1, blanks.begin(), blanks.end());
  }
  for (int64_t i = 0; i < d; ++i) m.addRow(right, KaisyahouComputedRowCode, "", 0);
  if (!block.empty())
    addOperand(section, m.addTotalRow(block, right, KaisyahouTotalRowCode, "　　　資本の部合計"));
  else
    m.addRow(right, KaisyahouComputedRowCode, "", 0);
  if (!section.empty()) m.addTotalRow(section, right, KaisyahouTotalRowCode, "　　　負債・資本の部合計");
  return out;
}

}  // namespace kivo
