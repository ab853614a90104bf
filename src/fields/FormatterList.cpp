#include "fields/FormatterList.h"

#include "fields/FieldText.h"
#include "fields/JigyoubuFormatter.h"

namespace kivo {
namespace {

FormatterList::Row codeRow(int32_t code, int32_t hojyoCode, std::string codeText, std::string name, std::string kana)
{
  FormatterList::Row row;
  row.code = code;
  row.hojyoCode = hojyoCode;
  row.codeText = std::move(codeText);
  row.name = std::move(name);
  row.kana = std::move(kana);
  return row;
}

}  // namespace

FormatterList FormatterList::kamokuList(const std::vector<KamokuPtr>& accounts, bool withHojyoKamoku)
{
  FormatterList list;
  for (const KamokuPtr& k : accounts) {
    const int parent = static_cast<int>(list.rows_.size());
    list.rows_.push_back(codeRow(k->code(), -1, std::to_string(k->code()), k->name(), k->kana()));
    if (!withHojyoKamoku) continue;
    for (const HojyoKamokuPtr& h : k->hojyoKamokuArray()) {
      if (!h->isActive()) continue;
      Row row = codeRow(k->code(), h->code(), h->codeString(), h->name(), h->kana());
      row.parent = parent;
      list.rows_.push_back(std::move(row));
    }
  }
  return list;
}

FormatterList FormatterList::hojyoKamokuList(const Kamoku& parent)
{
  FormatterList list;
  for (const HojyoKamokuPtr& h : parent.hojyoKamokuArray())
    if (h->isActive()) list.rows_.push_back(codeRow(h->code(), -1, h->codeString(), h->name(), h->kana()));
  return list;
}

FormatterList FormatterList::jigyoubuList(const MyDocument& document, bool withAllJigyoubu)
{
  FormatterList list;
  for (const JigyoubuPtr& j : document.jigyoubuArray())
    if (j->isActive() && j->code() != Jigyoubu::kAllJigyoubuCode)
      list.rows_.push_back(codeRow(j->code(), -1, j->codeString(), j->name(), j->kana()));
  if (withAllJigyoubu)
    list.rows_.push_back(codeRow(Jigyoubu::kAllJigyoubuCode, -1, "99", JigyoubuFormatter::kAllJigyoubuName, ""));
  return list;
}

FormatterList FormatterList::tekiyouList(const std::vector<TekiyouGroupPtr>& groups)
{
  FormatterList list;
  for (const TekiyouGroupPtr& g : groups) {
    const int parent = static_cast<int>(list.rows_.size());
    Row heading;
    heading.name = g->name();
    heading.selectable = false;
    list.rows_.push_back(std::move(heading));
    for (const TekiyouPtr& t : g->tekiyouArray()) {
      Row row;
      row.name = t->tekiyou();
      row.kana = t->kana();
      row.parent = parent;
      row.tekiyou = t;
      list.rows_.push_back(std::move(row));
    }
  }
  return list;
}

namespace {

// Typed digits name a code by its value too ("1" is sub-account 01), as the fields
// read them.
bool codeHasValue(const std::string& codeText, const std::string& search)
{
  return FieldText::isAsciiDigits(codeText) && FieldText::isAsciiDigits(search) && search.size() <= 9 &&
         std::stoi(codeText) == std::stoi(search);
}

}  // namespace

bool FormatterList::rowMatches(const Row& row, const std::string& search) const
{
  if (!row.codeText.empty() && row.codeText.compare(0, search.size(), search) == 0) return true;
  if (codeHasValue(row.codeText, search)) return true;
  if (FieldText::isAsciiAlnum(search) && FieldText::startsWithIgnoringCase(row.kana, search)) return true;
  return row.name.find(search) != std::string::npos;
}

bool FormatterList::rowEquals(const Row& row, const std::string& search) const
{
  return codeHasValue(row.codeText, search) || FieldText::equalsIgnoringCase(row.kana, search) || row.name == search;
}

std::vector<int> FormatterList::visibleRows(const std::string& typed) const
{
  const std::string search = FieldText::normalizedInput(typed);
  const int n = static_cast<int>(rows_.size());
  std::vector<int> visible;
  if (search.empty()) {
    visible.reserve(n);
    for (int i = 0; i < n; ++i) visible.push_back(i);
    return visible;
  }
  std::vector<char> matches(n), shown(n);
  for (int i = 0; i < n; ++i) matches[i] = rowMatches(rows_[i], search);
  for (int i = 0; i < n; ++i) {
    const int p = rows_[i].parent;
    if (matches[i] || (p >= 0 && matches[p])) {
      shown[i] = 1;
      if (p >= 0) shown[p] = 1;
    }
  }
  for (int i = 0; i < n; ++i)
    if (shown[i]) visible.push_back(i);
  return visible;
}

int FormatterList::preferredRow(const std::vector<int>& visible, const std::string& typed) const
{
  const std::string search = FieldText::normalizedInput(typed);
  if (!search.empty()) {
    for (int i : visible)
      if (rows_[i].selectable && rowEquals(rows_[i], search)) return i;
    for (int i : visible)
      if (rows_[i].selectable && rowMatches(rows_[i], search)) return i;
  }
  for (int i : visible)
    if (rows_[i].selectable) return i;
  return -1;
}

}  // namespace kivo
