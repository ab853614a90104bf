#include "setup/JigyoubuListEditor.h"

#include <map>

#include "document/MyDocument.h"
#include "fields/FieldText.h"
#include "model/KamokuKubun.h"
#include "setup/KamokuListEditor.h"
#include "setup/TermSettings.h"

namespace kivo {
namespace {

std::string quoted(const std::string& name) { return "「" + name + "」"; }

std::string codeText(int32_t code) { return (code < 10 ? "0" : "") + std::to_string(code); }

std::vector<KamokuPtr> allKamoku(const MyDocument& document)
{
  std::vector<KamokuPtr> accounts;
  if (document.rootKamokuKubun()) document.rootKamokuKubun()->getChildrenKamokuArray(accounts);
  return accounts;
}

}  // namespace

JigyoubuListEditor::JigyoubuListEditor(const MyDocument& document) : document_(&document)
{
  slots_.resize(kSlotCount);
  for (int i = 0; i < kSlotCount; ++i) slots_[i].code = i;
  for (const JigyoubuPtr& j : document.jigyoubuArray()) {
    if (j->code() < 0 || j->code() >= kSlotCount || slots_[j->code()].original) continue;
    Slot& s = slots_[j->code()];
    s.original = j;
    s.name = j->name();
    s.kana = j->kana();
    s.isActive = j->isActive();
  }
  for (const ShiwakePtr& s : document.journal()) {
    usedCodes_.insert(s->karikataJigyoubuCode());
    usedCodes_.insert(s->kashikataJigyoubuCode());
  }
}

bool JigyoubuListEditor::isUsed(int32_t code) const { return usedCodes_.count(code) > 0; }

std::string JigyoubuListEditor::setName(int i, const std::string& name)
{
  slots_.at(i).name = TermSettings::trimmedName(name);
  return {};
}

std::string JigyoubuListEditor::setKana(int i, const std::string& kana)
{
  std::string stored;
  if (!KamokuListEditor::normalizeKana(kana, stored)) return KamokuListEditor::kKanaMessage;
  slots_.at(i).kana = stored;
  return {};
}

std::string JigyoubuListEditor::setIsActive(int i, bool active)
{
  Slot& s = slots_.at(i);
  if (!active && s.isActive) {
    const std::string who = "事業部" + quoted(s.name.empty() ? codeText(s.code) : s.name);
    if (isUsed(s.code))
      return who +
             "は仕訳で使われているため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります"
             "。";
    for (const KamokuPtr& k : allKamoku(*document_)) {
      bool balance = k->startBalanceOfJigyoubuCode(s.code) != 0;
      for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
        balance = balance || h->startBalanceOfJigyoubuCode(s.code) != 0;
      if (balance)
        return who + "には開始残高（" + quoted(k->name()) +
               "ほか）があるため、無効にできません。無効にすると、帳票からその金額が抜けて貸借が合わなくなります。";
    }
  }
  s.isActive = active;
  return {};
}

JigyoubuListEditor::Refusal JigyoubuListEditor::validate() const
{
  std::map<std::string, int> names;
  for (int i = 0; i < kSlotCount; ++i) {
    const Slot& s = slots_[i];
    if (!s.isActive) continue;
    if (s.name.empty()) return {"事業部 " + codeText(s.code) + " の名前を入力してください。", i};
    auto [it, inserted] = names.emplace(s.name, i);
    if (!inserted)
      return {"事業部 " + codeText(slots_[it->second].code) + " と " + codeText(s.code) + " の名前" + quoted(s.name) +
                  "が重複しています。",
              i};
  }
  return {};
}

int32_t JigyoubuListEditor::writeBack(MyDocument& document) const
{
  const bool hadActive = document.numberOfActiveJigyoubu() > 0;
  std::vector<JigyoubuPtr> list;
  int32_t firstActive = -1;
  for (const Slot& s : slots_) {
    if (!s.isActive && s.name.empty() && s.kana.empty()) continue;
    JigyoubuPtr j = s.original ? s.original : std::make_shared<Jigyoubu>();
    j->setCode(s.code);
    j->setName(s.name);
    j->setKana(s.kana);
    j->setIsActive(s.isActive);
    if (s.isActive && firstActive < 0) firstActive = s.code;
    list.push_back(std::move(j));
  }
  // Records the slots do not cover (codes outside 00 to 98) are kept as they were.
  for (const JigyoubuPtr& j : document.jigyoubuArray())
    if (j->code() < 0 || j->code() >= kSlotCount) list.push_back(j);
  document.setJigyoubuArray(std::move(list));

  if (hadActive || firstActive < 0) return -1;
  bool moved = false;
  for (const KamokuPtr& k : allKamoku(document)) {
    if (const int64_t b = k->startBalanceOfJigyoubuCode(KamokuListEditor::kAllJigyoubu)) {
      k->setStartBalance(b, firstActive);
      moved = true;
    }
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray())
      if (const int64_t b = h->startBalanceOfJigyoubuCode(KamokuListEditor::kAllJigyoubu)) {
        h->setStartBalance(b, firstActive);
        moved = true;
      }
  }
  return moved ? firstActive : -1;
}

}  // namespace kivo
