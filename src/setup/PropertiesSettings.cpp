#include "setup/PropertiesSettings.h"

#include <cstdlib>
#include <vector>

#include "document/MyDocument.h"
#include "fields/FieldText.h"
#include "model/KamokuKubun.h"
#include "setup/NewDocumentSettings.h"
#include "setup/TermSettings.h"

namespace kivo {
namespace {

// Calls f on every opening-balance list of the chart, accounts and sub-accounts.
template <class F>
void forEachStartBalanceList(KamokuKubun& root, F f)
{
  std::vector<KamokuPtr> accounts;
  root.getChildrenKamokuArray(accounts);
  for (const KamokuPtr& k : accounts) {
    f(k->startBalanceArray());
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) f(h->startBalanceArray());
  }
}

}  // namespace

PropertiesSettings::PropertiesSettings(const MyDocument& document) : document_(&document)
{
  const Kaisya& k = document.kaisya();
  name = k.name();
  address = k.address();
  isHoujin_ = k.isHoujin();
  isKakeibo_ = k.isKakeibo();
  termNoText = isHoujin_ ? std::to_string(k.termNo()) : k.termYear();
  doUseWareki = k.doUseWareki();
  isSeizou = k.isSeizou();
  isKensetu = k.isKensetu();
  if (!k.monthArray().empty()) {
    startDate = k.termStartDate();
    endDate = k.termEndDate();
  }
  decimalPrecision = k.decimalPrecision();
  canEditTermAndKind_ = document.journal().empty();
}

PropertiesSettings::Refusal PropertiesSettings::check() const
{
  TermSettings term;
  term.name = name;
  term.isHoujin = isHoujin_;
  term.isKakeibo = isKakeibo_;
  term.termNoText = termNoText;
  term.startDate = startDate;
  term.endDate = endDate;
  if (!canEditTermAndKind_) {
    // The dates cannot change; only what comes before them is checked.
    term.startDate = document_->kaisya().termStartDate();
    term.endDate = document_->kaisya().termEndDate();
  }
  const TermSettings::Refusal r = term.check();
  if (r.isRefused()) {
    // A document read from an older file may hold a term these checks would refuse
    // today; an unchanged term is not held against the user.
    const bool datesUnchanged = startDate.value_or(Date()) == document_->kaisya().termStartDate() &&
                                endDate.value_or(Date()) == document_->kaisya().termEndDate();
    const bool dateFault = r.field == TermSettings::Field::StartDate || r.field == TermSettings::Field::EndDate;
    if (!(dateFault && (datesUnchanged || !canEditTermAndKind_))) {
      switch (r.field) {
      case TermSettings::Field::Name: return {Field::Name, r.title, r.message, r.note};
      case TermSettings::Field::TermNo: return {Field::TermNo, r.title, r.message, r.note};
      case TermSettings::Field::StartDate: return {Field::StartDate, r.title, r.message, r.note};
      case TermSettings::Field::EndDate: return {Field::EndDate, r.title, r.message, r.note};
      case TermSettings::Field::None: break;
      }
    }
  }
  if (canEditTermAndKind_ && decimalPrecision != document_->kaisya().decimalPrecision() &&
      document_->rootKamokuKubun()) {
    const std::string why = rescaleStartBalances(*document_->rootKamokuKubun(), document_->kaisya().decimalPrecision(),
                                                 decimalPrecision, false);
    if (!why.empty()) return {Field::DecimalPrecision, kInvalidTitle, why, {}};
  }
  return {};
}

void PropertiesSettings::applyTo(MyDocument& document) const
{
  Kaisya& k = document.kaisya();
  k.setName(TermSettings::trimmedName(name));
  k.setAddress(address);
  if (isHoujin_) {
    if (std::optional<int32_t> n = TermSettings::termNoOfText(termNoText)) k.setTermNo(*n);
  } else {
    k.setTermYear(TermSettings::trimmedName(termNoText));
  }
  k.setDoUseWareki(doUseWareki);
  if (!canEditTermAndKind_) return;

  const bool newSeizou = !isKakeibo_ && isSeizou && !k.isSeizou();
  const bool newKensetu = !isKakeibo_ && isKensetu && !k.isKensetu();
  k.setIsSeizou(!isKakeibo_ && isSeizou);
  k.setIsKensetu(!isKakeibo_ && isKensetu);
  if ((newSeizou || newKensetu) && document.rootKamokuKubun())
    NewDocumentSettings::activateIndustryKamoku(*document.rootKamokuKubun(), newSeizou, newKensetu);

  if (startDate && endDate && (*startDate != k.termStartDate() || *endDate != k.termEndDate()))
    k.setMonthOfTermArrayFrom(*startDate, *endDate);

  if (decimalPrecision != k.decimalPrecision()) {
    if (document.rootKamokuKubun())
      rescaleStartBalances(*document.rootKamokuKubun(), k.decimalPrecision(), decimalPrecision, true);
    k.setDecimalPrecision(decimalPrecision);
  }
}

std::string PropertiesSettings::rescaleStartBalances(KamokuKubun& root, int32_t fromPrecision, int32_t toPrecision,
                                                     bool apply)
{
  if (fromPrecision == toPrecision) return {};
  int64_t factor = 1;
  for (int i = 0; i < std::abs(toPrecision - fromPrecision); ++i) factor *= 10;
  const bool up = toPrecision > fromPrecision;
  std::string refusal;
  forEachStartBalanceList(root, [&](StartBalanceList& list) {
    if (!refusal.empty()) return;
    for (const StartBalance& b : list.entries()) {
      if (up &&
          (b.balance > Kaisya::kMaxInputAmountValue / factor || b.balance < -Kaisya::kMaxInputAmountValue / factor))
        refusal = "開始残高が入力できる金額の上限を超えるため、小数点以下の桁数を増やせません。";
      else if (!up && b.balance % factor != 0)
        refusal = "小数点以下の桁がある開始残高があるため、小数点以下の桁数を減らせません。";
      if (!refusal.empty()) return;
    }
  });
  if (!refusal.empty() || !apply) return refusal;
  forEachStartBalanceList(root, [&](StartBalanceList& list) {
    StartBalanceList scaled;
    for (const StartBalance& b : list.entries())
      scaled.setBalance(up ? b.balance * factor : b.balance / factor, b.jigyoubuCode);
    list = std::move(scaled);
  });
  return {};
}

PropertiesSettings::Refusal PropertiesSettings::checkPasswords(const PasswordChange& c, bool hasPassword,
                                                               bool hasLimitedPassword)
{
  if (c.password != c.passwordConfirmation) return {Field::Password, kInvalidTitle, kPasswordMismatchMessage, {}};
  if (c.limitedPassword != c.limitedPasswordConfirmation)
    return {Field::LimitedUserPassword, kInvalidTitle, kPasswordMismatchMessage, {}};
  if (!c.password.empty() && c.password == c.limitedPassword)
    return {Field::LimitedUserPassword, kInvalidTitle, kSamePasswordsMessage, {}};
  const bool willHavePassword = !c.password.empty() || (hasPassword && !c.clearPassword);
  const bool willHaveLimited = !c.limitedPassword.empty() || (hasLimitedPassword && !c.clearLimitedPassword);
  if (willHaveLimited && !willHavePassword)
    return {Field::LimitedUserPassword, kInvalidTitle, kLimitedWithoutPasswordMessage, {}};
  return {};
}

}  // namespace kivo
