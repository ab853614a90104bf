#include "setup/KamokuListEditor.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "document/MyDocument.h"
#include "fields/FieldText.h"
#include "model/CappedAmount.h"
#include "model/KamokuKubun.h"
#include "setup/TermSettings.h"

namespace kivo {
namespace {

std::string quoted(const std::string& name) { return "「" + name + "」"; }

std::string twoDigits(int32_t code)
{
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", code);
  return buf;
}

bool hasAnyBalance(const StartBalanceList& list) { return !list.isEmpty(); }

// Every division code a list holds, with those of other lists, in ascending order.
void collectCodes(const StartBalanceList& list, std::set<int32_t>& codes)
{
  for (const StartBalance& b : list.entries()) codes.insert(b.jigyoubuCode);
}

}  // namespace

KamokuListEditor::KamokuListEditor(const MyDocument& document) : document_(&document)
{
  std::vector<KamokuPtr> accounts;
  if (document.rootKamokuKubun()) document.rootKamokuKubun()->getChildrenKamokuArray(accounts);
  rows_.reserve(accounts.size());
  for (const KamokuPtr& k : accounts) {
    KamokuRow r;
    r.original = k;
    r.name = k->name();
    r.kana = k->kana();
    r.isActive = k->isActive();
    r.isSuitouKamoku = k->isSuitouKamoku();
    r.keyEquivalent = k->keyEquivalentOfSuitoucyouSubMenu();
    r.startBalance = k->startBalanceArray();
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) {
      HojyoRow hr;
      hr.original = h;
      hr.code = h->code();
      hr.name = h->name();
      hr.kana = h->kana();
      hr.isActive = h->isActive();
      hr.keyEquivalent = h->keyEquivalentOfSuitoucyouSubMenu();
      hr.startBalance = h->startBalanceArray();
      r.hojyo.push_back(std::move(hr));
    }
    rows_.push_back(std::move(r));
  }
  for (const JigyoubuPtr& j : document.jigyoubuArray())
    if (j->isActive() && j->code() != kAllJigyoubu) activeJigyoubuCodes_.push_back(j->code());
  // Every entry counts, registered or not: a pending cash-book row and a regular-type
  // voucher use their accounts as much as any other.
  for (const ShiwakePtr& s : document.journal()) {
    usedKamokuCodes_.insert(s->karikataKamokuCode());
    usedKamokuCodes_.insert(s->kashikataKamokuCode());
    usedHojyoCodes_.insert({s->karikataKamokuCode(), s->karikataHojyoKamokuCode()});
    usedHojyoCodes_.insert({s->kashikataKamokuCode(), s->kashikataHojyoKamokuCode()});
  }
}

const KamokuKubun& KamokuListEditor::root() const { return *document_->rootKamokuKubun(); }

int KamokuListEditor::indexOfKamoku(const Kamoku* kamoku) const
{
  for (int i = 0; i < kamokuCount(); ++i)
    if (rows_[i].original.get() == kamoku) return i;
  return -1;
}

int KamokuListEditor::indexOfKamokuCode(int32_t code) const
{
  for (int i = 0; i < kamokuCount(); ++i)
    if (rows_[i].original->code() == code) return i;
  return -1;
}

// --- labels for messages

std::string KamokuListEditor::kamokuLabel(int k) const
{
  const KamokuRow& r = rows_[k];
  return "コード " + std::to_string(r.original->code()) + " の" + quoted(r.name);
}

std::string KamokuListEditor::hojyoLabel(int k, int h) const
{
  const HojyoRow& hr = rows_[k].hojyo[h];
  return quoted(rows_[k].name) + "の補助科目 " + twoDigits(hr.code) + quoted(hr.name);
}

std::string KamokuListEditor::jigyoubuLabel(int32_t jigyoubuCode) const
{
  if (jigyoubuCode == kAllJigyoubu) return "会社全体";
  for (const JigyoubuPtr& j : document_->jigyoubuArray())
    if (j->code() == jigyoubuCode) return "事業部" + quoted(j->name());
  return "事業部 " + twoDigits(jigyoubuCode);
}

bool KamokuListEditor::isKamokuUsed(int k) const { return usedKamokuCodes_.count(rows_[k].original->code()) > 0; }

bool KamokuListEditor::isHojyoUsed(int k, int32_t code) const
{
  return usedHojyoCodes_.count({rows_[k].original->code(), code}) > 0;
}

bool KamokuListEditor::normalizeKana(const std::string& typed, std::string& kana)
{
  const std::string t = FieldText::upperAscii(FieldText::normalizedInput(typed));
  if (!t.empty() && (!FieldText::isAsciiAlnum(t) || t.size() > static_cast<size_t>(kMaxKanaLength))) return false;
  kana = t;
  return true;
}

// --- accounts

std::string KamokuListEditor::setName(int k, const std::string& name)
{
  rows_.at(k).name = TermSettings::trimmedName(name);
  return {};
}

std::string KamokuListEditor::setKana(int k, const std::string& kana)
{
  std::string stored;
  if (!normalizeKana(kana, stored)) return kKanaMessage;
  rows_.at(k).kana = stored;
  return {};
}

std::string KamokuListEditor::setIsActive(int k, bool active)
{
  KamokuRow& r = rows_.at(k);
  if (!active && r.isActive) {
    if (isKamokuUsed(k))
      return quoted(r.name) +
             "は仕訳で使われているため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります"
             "。";
    bool balance = hasAnyBalance(r.startBalance);
    for (const HojyoRow& h : r.hojyo) balance = balance || hasAnyBalance(h.startBalance);
    if (balance)
      return quoted(r.name) +
             "には開始残高があるため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります。"
             "開始残高を 0 にしてから無効にしてください。";
  }
  r.isActive = active;
  return {};
}

std::string KamokuListEditor::setIsSuitouKamoku(int k, bool suitou)
{
  rows_.at(k).isSuitouKamoku = suitou;
  return {};
}

std::string KamokuListEditor::refuseKeyEquivalent(const std::string& text, int32_t& digit) const
{
  const std::string t = FieldText::normalizedInput(text);
  if (t.empty()) {
    digit = -1;
    return {};
  }
  const int32_t typed = t.size() == 1 && t[0] >= '0' && t[0] <= '9' ? t[0] - '0' : -1;
  if (typed < 0 || !Kamoku::isKeyEquivalentInRange(typed)) return kKeyEquivalentMessage;
  digit = typed;
  return {};
}

std::string KamokuListEditor::setKeyEquivalent(int k, const std::string& text)
{
  int32_t digit = -1;
  if (std::string refusal = refuseKeyEquivalent(text, digit); !refusal.empty()) return refusal;
  rows_.at(k).keyEquivalent = digit;
  return {};
}

// --- opening balances

bool KamokuListEditor::canEditStartBalance(int k, int32_t jigyoubuCode) const
{
  const KamokuRow& r = rows_.at(k);
  if (!r.isActive || !isTaisyakuKamoku(*r.original)) return false;
  if (hasActiveJigyoubu())
    return std::find(activeJigyoubuCodes_.begin(), activeJigyoubuCodes_.end(), jigyoubuCode) !=
           activeJigyoubuCodes_.end();
  return jigyoubuCode == kAllJigyoubu;
}

std::string KamokuListEditor::storeBalance(StartBalanceList& list, int k, int32_t jigyoubuCode, int64_t balance) const
{
  if (!canEditStartBalance(k, jigyoubuCode)) return quoted(rows_[k].name) + "の開始残高は入力できません。";
  if (balance < 0) return kNegativeBalanceMessage;
  if (balance > Kaisya::kMaxInputAmountValue) return kOverLimitMessage;
  StartBalanceList edited = list;
  edited.setBalance(balance, jigyoubuCode);
  if (hasActiveJigyoubu()) {
    int64_t sum = 0;
    for (int32_t code : activeJigyoubuCodes_) sum = capped::add(sum, edited.balanceOfJigyoubuCode(code));
    if (sum > Kaisya::kMaxInputAmountValue) return "会社全体の開始残高が、" + std::string(kOverLimitMessage);
    edited.setBalance(sum, kAllJigyoubu);
  }
  list = std::move(edited);
  return {};
}

std::string KamokuListEditor::setStartBalance(int k, int32_t jigyoubuCode, int64_t balance)
{
  return storeBalance(rows_.at(k).startBalance, k, jigyoubuCode, balance);
}

std::string KamokuListEditor::setHojyoStartBalance(int k, int h, int32_t jigyoubuCode, int64_t balance)
{
  HojyoRow& hr = rows_.at(k).hojyo.at(h);
  if (!hr.isActive) return hojyoLabel(k, h) + "は無効なため、開始残高は入力できません。";
  return storeBalance(hr.startBalance, k, jigyoubuCode, balance);
}

// --- sub-accounts

int KamokuListEditor::addHojyoKamoku(int k)
{
  KamokuRow& r = rows_.at(k);
  std::set<int32_t> used;
  for (const HojyoRow& h : r.hojyo) used.insert(h.code);
  int32_t code = -1;
  for (int32_t c = 1; c <= kMaxHojyoKamokuCode && code < 0; ++c)
    if (!used.count(c)) code = c;
  if (code < 0 && !used.count(0)) code = 0;
  if (code < 0) return -1;
  HojyoRow hr;
  hr.code = code;
  hr.name = "補助科目" + twoDigits(code);
  r.hojyo.push_back(std::move(hr));
  return static_cast<int>(r.hojyo.size()) - 1;
}

std::string KamokuListEditor::setHojyoCode(int k, int h, int32_t code)
{
  KamokuRow& r = rows_.at(k);
  HojyoRow& hr = r.hojyo.at(h);
  if (code == hr.code) return {};
  if (code < 0 || code > kMaxHojyoKamokuCode) return "補助科目のコードは、00から99までの数字で入力してください。";
  for (const HojyoRow& other : r.hojyo)
    if (other.code == code)
      return "補助科目のコード " + twoDigits(code) + " は、" + quoted(other.name) + "が使っています。";
  if (hr.original && isHojyoUsed(k, hr.code))
    return hojyoLabel(k, h) + "は仕訳で使われているため、コードを変更できません。";
  hr.code = code;
  return {};
}

std::string KamokuListEditor::setHojyoName(int k, int h, const std::string& name)
{
  rows_.at(k).hojyo.at(h).name = TermSettings::trimmedName(name);
  return {};
}

std::string KamokuListEditor::setHojyoKana(int k, int h, const std::string& kana)
{
  std::string stored;
  if (!normalizeKana(kana, stored)) return kKanaMessage;
  rows_.at(k).hojyo.at(h).kana = stored;
  return {};
}

std::string KamokuListEditor::setHojyoIsActive(int k, int h, bool active)
{
  HojyoRow& hr = rows_.at(k).hojyo.at(h);
  if (!active && hr.isActive) {
    if (isHojyoUsed(k, hr.code))
      return hojyoLabel(k, h) +
             "は仕訳で使われているため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります"
             "。";
    if (hasAnyBalance(hr.startBalance))
      return hojyoLabel(k, h) +
             "には開始残高があるため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります。"
             "開始残高を 0 にしてから無効にしてください。";
  }
  hr.isActive = active;
  return {};
}

std::string KamokuListEditor::setHojyoKeyEquivalent(int k, int h, const std::string& text)
{
  int32_t digit = -1;
  if (std::string refusal = refuseKeyEquivalent(text, digit); !refusal.empty()) return refusal;
  rows_.at(k).hojyo.at(h).keyEquivalent = digit;
  return {};
}

bool KamokuListEditor::moveHojyoKamoku(int k, int from, int to)
{
  std::vector<HojyoRow>& list = rows_.at(k).hojyo;
  const int n = static_cast<int>(list.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return false;
  HojyoRow moved = std::move(list[from]);
  list.erase(list.begin() + from);
  list.insert(list.begin() + to, std::move(moved));
  return true;
}

// --- checks

KamokuListEditor::Refusal KamokuListEditor::validate() const
{
  std::map<std::string, int> activeNames;
  for (int k = 0; k < kamokuCount(); ++k) {
    const KamokuRow& r = rows_[k];
    const int32_t code = r.original->code();
    if (r.isActive) {
      if (r.name.empty()) return {"コード " + std::to_string(code) + " の勘定科目名を入力してください。", k};
      if (r.name == "諸口") return {kamokuLabel(k) + ": 「諸口」は勘定科目名に使えません。", k};
      auto [it, inserted] = activeNames.emplace(r.name, k);
      if (!inserted)
        return {"コード " + std::to_string(rows_[it->second].original->code()) + " と " + std::to_string(code) +
                    " の勘定科目名" + quoted(r.name) + "が重複しています。",
                k};
    }
    std::map<std::string, int> hojyoNames;
    std::set<int32_t> hojyoCodes;
    for (int h = 0; h < static_cast<int>(r.hojyo.size()); ++h) {
      const HojyoRow& hr = r.hojyo[h];
      if (!hojyoCodes.insert(hr.code).second)
        return {quoted(r.name) + "の補助科目のコード " + twoDigits(hr.code) + " が重複しています。", k, h};
      if (!hr.isActive) {
        if (hasAnyBalance(hr.startBalance)) return {hojyoLabel(k, h) + "は無効ですが、開始残高があります。", k, h};
        continue;
      }
      if (hr.name.empty())
        return {quoted(r.name) + "の補助科目 " + twoDigits(hr.code) + " の名前を入力してください。", k, h};
      auto [it, inserted] = hojyoNames.emplace(hr.name, h);
      if (!inserted)
        return {quoted(r.name) + "の補助科目 " + twoDigits(r.hojyo[it->second].code) + " と " + twoDigits(hr.code) +
                    " の名前" + quoted(hr.name) + "が重複しています。",
                k, h};
    }
    if (!r.isActive && hasAnyBalance(r.startBalance)) return {kamokuLabel(k) + "は無効ですが、開始残高があります。", k};
    if (!r.hojyo.empty()) {
      std::set<int32_t> codes;
      collectCodes(r.startBalance, codes);
      for (const HojyoRow& hr : r.hojyo) collectCodes(hr.startBalance, codes);
      for (int32_t j : codes) {
        int64_t sum = 0;
        for (const HojyoRow& hr : r.hojyo) sum = capped::add(sum, hr.startBalance.balanceOfJigyoubuCode(j));
        const int64_t own = r.startBalance.balanceOfJigyoubuCode(j);
        if (own != sum) {
          const Kaisya& kaisya = document_->kaisya();
          return {kamokuLabel(k) + "の" + jigyoubuLabel(j) + "の開始残高（" + kaisya.displayStringOfMemoryKingaku(own) +
                      "）が、補助科目の開始残高の合計（" + kaisya.displayStringOfMemoryKingaku(sum) +
                      "）と一致しません。",
                  k};
        }
      }
    }
  }
  // A shortcut digit opens one cash book: an account's own book, or one book per
  // active sub-account when it has any.
  std::map<int32_t, std::string> keys;
  for (int k = 0; k < kamokuCount(); ++k) {
    const KamokuRow& r = rows_[k];
    if (!r.isActive || !r.isSuitouKamoku) continue;
    const bool bySub = std::any_of(r.hojyo.begin(), r.hojyo.end(), [](const HojyoRow& h) { return h.isActive; });
    const auto take = [&](int32_t key, const std::string& label, int h) -> Refusal {
      if (key < 0) return {};
      auto [it, inserted] = keys.emplace(key, label);
      if (inserted) return {};
      return {"出納帳のショートカット「" + std::to_string(key) + "」が、" + it->second + "と" + label +
                  "で重複しています。",
              k, h};
    };
    if (!bySub) {
      if (Refusal f = take(r.keyEquivalent, quoted(r.name), -1); f.isRefused()) return f;
      continue;
    }
    for (int h = 0; h < static_cast<int>(r.hojyo.size()); ++h) {
      const HojyoRow& hr = r.hojyo[h];
      if (!hr.isActive) continue;
      if (Refusal f = take(hr.keyEquivalent, quoted(r.name + " " + hr.name), h); f.isRefused()) return f;
    }
  }
  return {};
}

void KamokuListEditor::writeBack(MyDocument&) const
{
  for (const KamokuRow& r : rows_) {
    Kamoku& k = *r.original;
    k.setName(r.name);
    k.setKana(r.kana);
    k.setIsActive(r.isActive);
    k.setIsSuitouKamoku(r.isSuitouKamoku);
    k.setKeyEquivalentOfSuitoucyouSubMenu(r.keyEquivalent);
    k.startBalanceArray() = r.startBalance;
    std::vector<HojyoKamokuPtr> subs;
    subs.reserve(r.hojyo.size());
    for (const HojyoRow& hr : r.hojyo) {
      HojyoKamokuPtr h = hr.original ? hr.original : std::make_shared<HojyoKamoku>();
      h->setCode(hr.code);
      h->setName(hr.name);
      h->setKana(hr.kana);
      h->setIsActive(hr.isActive);
      h->setParentKamokuCode(k.code());
      h->setKeyEquivalentOfSuitoucyouSubMenu(hr.keyEquivalent);
      h->startBalanceArray() = hr.startBalance;
      subs.push_back(std::move(h));
    }
    k.hojyoKamokuArray() = std::move(subs);
  }
}

int64_t KamokuListEditor::TaisyakuTotal::difference() const { return capped::sub(karikata, kashikata); }

KamokuListEditor::TaisyakuTotal KamokuListEditor::startBalanceTaisyakuTotal() const
{
  TaisyakuTotal t;
  for (const KamokuRow& r : rows_) {
    int64_t& side = r.original->isKarikataKamoku() ? t.karikata : t.kashikata;
    side = capped::add(side, r.startBalance.balanceOfJigyoubuCode(kAllJigyoubu));
  }
  return t;
}

KamokuListEditor::TaisyakuTotal KamokuListEditor::startBalanceTaisyakuTotalOfDocument(const MyDocument& document)
{
  TaisyakuTotal t;
  std::vector<KamokuPtr> accounts;
  if (document.rootKamokuKubun()) document.rootKamokuKubun()->getChildrenKamokuArray(accounts);
  for (const KamokuPtr& k : accounts) {
    int64_t& side = k->isKarikataKamoku() ? t.karikata : t.kashikata;
    side = capped::add(side, k->startBalanceOfJigyoubuCode(kAllJigyoubu));
  }
  return t;
}

}  // namespace kivo
