#include "setup/NewDocumentSettings.h"

#include <array>
#include <string_view>

#include "document/MyDocument.h"
#include "fields/FieldText.h"
#include "model/KamokuKubun.h"
#include "setup/TermSettings.h"

namespace kivo {
namespace {

// The categories of the manufacturing-cost report in every chart that has one.
constexpr std::array<std::string_view, 5> kGenkaKubunNames = {"材料費", "労務費", "経費", "外注加工費", "仕掛品棚卸高"};
constexpr std::string_view kKoujiMark = "工事";

bool isGenkaKubun(const std::string& name)
{
  for (std::string_view n : kGenkaKubunNames)
    if (name == n) return true;
  return false;
}

void activate(KamokuKubun& kubun, bool isSeizou, bool isKensetu, bool inGenkaKubun)
{
  for (const KamokuKubunPtr& child : kubun.children())
    activate(*child, isSeizou, isKensetu, inGenkaKubun || isGenkaKubun(child->kubunName()));
  for (const KamokuPtr& k : kubun.childrenKamoku()) {
    // Groups 9 to 13: opening and closing materials, material purchases, opening and
    // closing work in process.
    const bool genka = inGenkaKubun || (k->group() >= 9 && k->group() <= 13);
    const bool kouji = k->name().find(kKoujiMark) != std::string::npos;
    if (genka || (isKensetu && kouji)) k->setIsActive(true);
  }
}

}  // namespace

void NewDocumentSettings::applyToDocument(MyDocument& document) const
{
  Kaisya& kaisya = document.kaisya();
  kaisya.setName(TermSettings::trimmedName(term.name));
  kaisya.setIsHoujin(term.isHoujin);
  kaisya.setIsKakeibo(!term.isHoujin && term.isKakeibo);
  // A household book keeps no manufacturing or construction accounts.
  kaisya.setIsSeizou(!kaisya.isKakeibo() && isSeizou);
  kaisya.setIsKensetu(!kaisya.isKakeibo() && isKensetu);
  kaisya.setDoUseWareki(doUseWareki);
  if (term.isHoujin)
    kaisya.setTermNo(TermSettings::termNoOfText(term.termNoText).value_or(1));
  else
    kaisya.setTermYear(TermSettings::trimmedName(term.termNoText));
  kaisya.setDecimalPrecision(decimalPrecision);
  kaisya.setMonthOfTermArrayFrom(*term.startDate, *term.endDate);
  kaisya.setMinAvailableDenpyouNo(1);
  kaisya.setMinAvailableRegularTypeDenpyouNo(1);

  KamokuKubunPtr root = KamokuKubun::rootKamokuKubunForKaisya(kaisya, useKaisyahouChart);
  if (kaisya.isSeizou() || kaisya.isKensetu()) activateIndustryKamoku(*root, kaisya.isSeizou(), kaisya.isKensetu());
  document.setRootKamokuKubun(root);
}

void NewDocumentSettings::activateIndustryKamoku(KamokuKubun& root, bool isSeizou, bool isKensetu)
{
  if (!isSeizou && !isKensetu) return;
  activate(root, isSeizou, isKensetu, false);
}

}  // namespace kivo
