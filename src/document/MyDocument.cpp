#include "document/MyDocument.h"

#include <algorithm>

namespace kivo {
namespace {

bool kanaMatches(const std::string& kana, const std::string& text, bool prefix)
{
  return prefix ? kana.compare(0, text.size(), text) == 0 : kana == text;
}

}  // namespace

MyDocument::MyDocument() : kaisya_(std::make_shared<Kaisya>())
{
  tekiyouGroupArray_.push_back(std::make_shared<TekiyouGroup>(TekiyouGroup::kOthersGroupName, true));
  rootKamokuKubun_ = std::make_shared<KamokuKubun>();
}

void MyDocument::setRootKamokuKubun(KamokuKubunPtr root)
{
  rootKamokuKubun_ = std::move(root);
  setSortedKamokuArray();
}

void MyDocument::sortSubMenuItemArrayByKeyEquivalent()
{
  std::stable_sort(
      subMenuItemArray_.begin(), subMenuItemArray_.end(),
      [](const SubMenuItemPtr& a, const SubMenuItemPtr& b) { return a->keyEquivalent() < b->keyEquivalent(); });
}

// --- derived account arrays

void MyDocument::setSortedKamokuArray()
{
  ++masterDataGeneration_;
  codeSortedKamokuArray_.clear();
  if (rootKamokuKubun_) rootKamokuKubun_->getChildrenKamokuArray(codeSortedKamokuArray_);
  std::stable_sort(codeSortedKamokuArray_.begin(), codeSortedKamokuArray_.end(),
                   [](const KamokuPtr& a, const KamokuPtr& b) { return a->code() < b->code(); });
  codeSortedActiveKamokuArray_.clear();
  codeSortedSuitouKamokuArray_.clear();
  codeSortedGenkasyoukyakuShisanKamokuArray_.clear();
  for (const KamokuPtr& k : codeSortedKamokuArray_) {
    if (!k->isActive()) continue;
    codeSortedActiveKamokuArray_.push_back(k);
    if (k->isSuitouKamoku()) codeSortedSuitouKamokuArray_.push_back(k);
    if (k->isGenkasyoukyakuShisanKamoku()) codeSortedGenkasyoukyakuShisanKamokuArray_.push_back(k);
  }
}

bool MyDocument::doesHaveKamokuWhichHasActiveHojyoKamoku() const
{
  return std::any_of(codeSortedActiveKamokuArray_.begin(), codeSortedActiveKamokuArray_.end(),
                     [](const KamokuPtr& k) { return k->activeHojyoKamokuNum() > 0; });
}

bool MyDocument::doesHaveSuitouKamokuWhichHasActiveHojyoKamoku() const
{
  return std::any_of(codeSortedSuitouKamokuArray_.begin(), codeSortedSuitouKamokuArray_.end(),
                     [](const KamokuPtr& k) { return k->activeHojyoKamokuNum() > 0; });
}

std::vector<const Kamoku*> MyDocument::kamokuOfKubunName(const std::string& kubunName) const
{
  std::vector<const Kamoku*> out;
  if (!rootKamokuKubun_) return out;
  if (const KamokuKubunPtr kubun = rootKamokuKubun_->childForName(kubunName))
    for (const KamokuPtr& k : kubun->childrenKamoku()) out.push_back(k.get());
  return out;
}

KamokuPtr MyDocument::kamokuOfCode(int32_t code) const
{
  auto it = std::lower_bound(codeSortedKamokuArray_.begin(), codeSortedKamokuArray_.end(), code,
                             [](const KamokuPtr& k, int32_t c) { return k->code() < c; });
  if (it != codeSortedKamokuArray_.end() && (*it)->code() == code) return *it;
  return nullptr;
}

// --- divisions and descriptions

int MyDocument::numberOfActiveJigyoubu() const
{
  return static_cast<int>(
      std::count_if(jigyoubuArray_.begin(), jigyoubuArray_.end(), [](const JigyoubuPtr& j) { return j->isActive(); }));
}

JigyoubuPtr MyDocument::matchJigyoubuCode(const std::string& text) const
{
  for (const JigyoubuPtr& j : jigyoubuArray_)
    if (j->isActive() && j->codeString().compare(0, text.size(), text) == 0) return j;
  return nullptr;
}

TekiyouPtr MyDocument::matchTekiyouKana(const std::string& kana, const std::string& firstGroup,
                                        const std::string& secondGroup) const
{
  auto searchGroup = [&](const TekiyouGroupPtr& g, bool prefix) -> TekiyouPtr {
    for (const TekiyouPtr& t : g->tekiyouArray())
      if (kanaMatches(t->kana(), kana, prefix)) return t;
    return nullptr;
  };
  auto groupNamed = [&](const std::string& name) -> TekiyouGroupPtr {
    if (name.empty()) return nullptr;
    for (const TekiyouGroupPtr& g : tekiyouGroupArray_)
      if (g->name() == name) return g;
    return nullptr;
  };
  const TekiyouGroupPtr first = groupNamed(firstGroup);
  const TekiyouGroupPtr second = groupNamed(secondGroup);
  for (bool prefix : {false, true}) {
    if (first)
      if (TekiyouPtr t = searchGroup(first, prefix)) return t;
    if (second)
      if (TekiyouPtr t = searchGroup(second, prefix)) return t;
    for (const TekiyouGroupPtr& g : tekiyouGroupArray_)
      if (TekiyouPtr t = searchGroup(g, prefix)) return t;
  }
  return nullptr;
}

TekiyouGroupPtr MyDocument::othersTekiyouGroup() const
{
  for (const TekiyouGroupPtr& g : tekiyouGroupArray_)
    if (g->isOthersGroup()) return g;
  return nullptr;
}

// --- bookmarks and change reasons

bool MyDocument::removeFurikaedenpyouBookmarkOfDenpyouNo(int32_t denpyouNo)
{
  auto it = std::find_if(furikaedenpyouBookmarkArray_.begin(), furikaedenpyouBookmarkArray_.end(),
                         [&](const BookmarkPtr& b) { return b->denpyouNo() == denpyouNo; });
  if (it == furikaedenpyouBookmarkArray_.end()) return false;
  furikaedenpyouBookmarkArray_.erase(it);
  return true;
}

void MyDocument::updateHendouReasonArray()
{
  if (isHendouReasonArrayCurrent()) return;
  for (const HendouReasonPtr& r : hendouReasonArray_) {
    for (const ShiwakePtr& s : r->shiwakeArray()) s->setHendouReasonStr(r->reasonString());
    r->shiwakeArray().clear();
  }
  if (hendouReasonArray_.empty()) {
    for (const char* name : {kNoReason, kTouki, kKabunushiShihonIgai})
      hendouReasonArray_.push_back(std::make_shared<HendouReason>(name));
  }
  for (const ShiwakePtr& s : journal_.sortedByDate()) {
    // Pending cash-book rows and regular-type vouchers are in no statement, so they
    // need no reason (and would otherwise hold "no reason" open for good).
    if (s->denpyouNo() <= 0) continue;
    // An account made inactive while its entries stand still counts, as it does in the
    // statements.
    const KamokuPtr kari = kamokuOfCode(s->karikataKamokuCode());
    const KamokuPtr kashi = kamokuOfCode(s->kashikataKamokuCode());
    const bool equity = (kari && kari->isKabunushiShihonKamoku()) || (kashi && kashi->isKabunushiShihonKamoku());
    if (!equity) continue;
    if (s->hendouReasonStr().empty()) s->setHendouReasonStr(kNoReason);
    for (const HendouReasonPtr& r : hendouReasonArray_) {
      if (r->reasonString() == s->hendouReasonStr()) {
        r->shiwakeArray().push_back(s);
        break;
      }
    }
  }
  hendouReasonArrayGeneration_ = hendouReasonGeneration();
}

// --- refresh protocol

void MyDocument::shiwakeArrayDidChange(bool removeAllUndoActions)
{
  updateChangeCount(ChangeType::Done);
  if (removeAllUndoActions && host_) host_->removeAllUndoActions();
  updateAllOutputWindowControllersUI();
}

void MyDocument::journalDidChangeAccounts(const ChangedAccounts& accounts, const DocumentWindow* except)
{
  if (accounts.empty()) return;
  const std::vector<DocumentWindow*> windows = windows_;
  for (DocumentWindow* w : windows)
    if (w != except) w->journalDidChangeAccounts(accounts);
}

void MyDocument::updateChangeCount(ChangeType type)
{
  const bool wasEdited = isDocumentEdited();
  switch (type) {
  case ChangeType::Done: ++changeCount_; break;
  case ChangeType::Undone: --changeCount_; break;
  case ChangeType::Cleared: changeCount_ = 0; break;
  }
  if (host_ && wasEdited != isDocumentEdited()) host_->documentEditedChanged(isDocumentEdited());
}

// --- windows

void MyDocument::removeWindow(DocumentWindow* w)
{
  windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end());
}

void MyDocument::updateAllOutputWindowControllersUI()
{
  // A copy: a window may close itself while it updates.
  const std::vector<DocumentWindow*> windows = windows_;
  for (DocumentWindow* w : windows)
    if (w->isOutputWindow()) w->updateUI(false);
}

void MyDocument::updateAllOutputWindowControllersUIIfNeedUpdate(bool autoUpdateAllOutputWindows)
{
  if (autoUpdateAllOutputWindows) return;
  const std::vector<DocumentWindow*> windows = windows_;
  for (DocumentWindow* w : windows)
    if (w->isOutputWindow() && w->doNeedUpdate()) w->updateUI(true);
}

void MyDocument::updateAllWindowControllersUI()
{
  const std::vector<DocumentWindow*> windows = windows_;
  for (DocumentWindow* w : windows) w->updateUI(false);
}

}  // namespace kivo
