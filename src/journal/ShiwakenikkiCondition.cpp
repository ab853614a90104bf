#include "journal/ShiwakenikkiCondition.h"

#include <cstdio>
#include <string_view>

#include "document/MyDocument.h"
#include "model/Kaisya.h"

namespace kivo {
namespace {

constexpr int32_t kMaxDenpyouNo = Kaisya::kMaxDenpyouNo;

// The lower-case partner of a code point for the scripts that have letter case and
// turn up in descriptions: Latin (ASCII, Latin-1, Latin Extended-A), Greek,
// Cyrillic, Roman numerals, circled letters and full-width Latin.
char32_t foldCodePoint(char32_t c)
{
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x2160 && c <= 0x216F) return c + 0x10;
  if (c >= 0x24B6 && c <= 0x24CF) return c + 0x1A;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

void appendUtf8(std::string& out, char32_t c)
{
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The text with every letter in lower case, written into out. Code points map one
// to one, so a match in the folded texts is a match of whole characters; bytes that
// are not well-formed UTF-8 are copied as they stand.
void foldCase(std::string_view text, std::string& out)
{
  out.clear();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(foldCodePoint(b)));
      ++i;
      continue;
    }
    int len = 0;
    char32_t c = 0;
    if ((b & 0xE0) == 0xC0) {
      len = 2;
      c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
      c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
      c = b & 0x07;
    }
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      const unsigned char cb = static_cast<unsigned char>(text[i + k]);
      if ((cb & 0xC0) != 0x80)
        ok = false;
      else
        c = (c << 6) | (cb & 0x3F);
    }
    if (!ok) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    const char32_t folded = foldCodePoint(c);
    if (folded == c)
      out.append(text.substr(i, len));
    else
      appendUtf8(out, folded);
    i += len;
  }
}

bool tekiyouMatches(std::string_view description, std::string_view text, int32_t state)
{
  switch (state) {
  case ShiwakenikkiCondition::kTekiyouContains: return description.find(text) != std::string_view::npos;
  case ShiwakenikkiCondition::kTekiyouBeginsWith: return description.substr(0, text.size()) == text;
  case ShiwakenikkiCondition::kTekiyouEndsWith:
    return description.size() >= text.size() && description.substr(description.size() - text.size()) == text;
  default: return description == text;
  }
}

bool sideMatches(int32_t side, bool karikata)
{
  return side == ShiwakenikkiSubCondition::kEitherSide ||
         side == (karikata ? ShiwakenikkiSubCondition::kKarikataSide : ShiwakenikkiSubCondition::kKashikataSide);
}

}  // namespace

bool ShiwakenikkiCondition::isShiwakeMatchKamokuCondition(const Shiwake& s, const ShiwakenikkiSubCondition& item)
{
  const int32_t side = item.karikatOrKashikataCondition();
  const int32_t hojyo = item.hojyoCode();
  if (sideMatches(side, true) && s.karikataKamokuCode() == item.code() &&
      (hojyo == -1 || s.karikataHojyoKamokuCode() == hojyo))
    return true;
  return sideMatches(side, false) && s.kashikataKamokuCode() == item.code() &&
         (hojyo == -1 || s.kashikataHojyoKamokuCode() == hojyo);
}

bool ShiwakenikkiCondition::isShiwakeMatchJigyoubuCondition(const Shiwake& s, const ShiwakenikkiSubCondition& item)
{
  const int32_t side = item.karikatOrKashikataCondition();
  if (sideMatches(side, true) && s.karikataJigyoubuCode() == item.code()) return true;
  return sideMatches(side, false) && s.kashikataJigyoubuCode() == item.code();
}

std::string ShiwakenikkiCondition::DisplayResult::stateString() const
{
  char buf[128];
  std::snprintf(buf, sizeof buf, "%d 個中 %d 個の仕訳が条件に一致しました。", totalCount,
                static_cast<int>(displayShiwakeArray.size()));
  return buf;
}

void ShiwakenikkiCondition::setMarked(const ShiwakePtr& shiwake, bool marked)
{
  if (!shiwake) return;
  if (marked)
    marked_[shiwake.get()] = shiwake;
  else
    marked_.erase(shiwake.get());
}

ShiwakenikkiCondition::DisplayResult ShiwakenikkiCondition::displayShiwakeArrayOfDocument(
    const MyDocument& document, bool doDisplayMarkedShiwakes, const std::function<void()>& tick)
{
  const std::vector<ShiwakePtr>& sorted = document.journal().sortedByDate();

  // The stages narrow a list of positions in the sorted journal; the entries are
  // taken out only at the end.
  std::vector<int32_t> list;
  list.reserve(sorted.size());
  for (size_t i = 0; i < sorted.size(); ++i)
    if (sorted[i]->denpyouNo() > 0) list.push_back(static_cast<int32_t>(i));
  DisplayResult result;
  result.totalCount = static_cast<int>(list.size());

  // Keeps the entries of the list that pred accepts, in their order.
  auto keep = [&](auto&& pred) {
    size_t out = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      if (tick && i % 10 == 0) tick();
      if (pred(*sorted[list[i]])) list[out++] = list[i];
    }
    list.resize(out);
  };

  if (doDisplayMarkedShiwakes) {
    keep([this](const Shiwake& s) { return isMarked(s); });
  } else {
    if (dateConditionState_ != kStateOff) {
      const std::vector<Month>& months = document.kaisya().monthArray();
      const Date from = !dateFrom_.isNull() ? dateFrom_ : (months.empty() ? Date() : months.front().startDate());
      const Date to = !dateTo_.isNull() ? dateTo_ : Date::kessanSeiridukiDate();
      const bool inside = dateConditionState_ == kStateInside;
      keep([&](const Shiwake& s) {
        const bool in = Journal::compareDate(s.date(), from) >= 0 && Journal::compareDate(s.date(), to) <= 0;
        return in == inside;
      });
    }
    if (denpyouNoConditionState_ != kStateOff) {
      const int32_t from = denpyouNoFrom_ < 0 ? 1 : denpyouNoFrom_;
      const int32_t to = denpyouNoTo_ < 0 ? kMaxDenpyouNo : denpyouNoTo_;
      const bool inside = denpyouNoConditionState_ == kStateInside;
      keep([&](const Shiwake& s) { return (s.denpyouNo() >= from && s.denpyouNo() <= to) == inside; });
    }
    if (kamokuConditionState_ != kStateOff) {
      if (kamokuConditionState_ == kStateOr) {
        keep([&](const Shiwake& s) {
          for (const ShiwakenikkiSubCondition& item : kamokuConditionArray_)
            if (isShiwakeMatchKamokuCondition(s, item)) return true;
          return false;
        });
      } else {
        for (const ShiwakenikkiSubCondition& item : kamokuConditionArray_)
          keep([&](const Shiwake& s) { return isShiwakeMatchKamokuCondition(s, item); });
      }
    }
    if (jigyoubuConditionState_ != kStateOff) {
      if (document.numberOfActiveJigyoubu() == 0) {
        jigyoubuConditionState_ = kStateOff;
        jigyoubuConditionArray_.clear();
      } else if (jigyoubuConditionState_ == kStateOr) {
        keep([&](const Shiwake& s) {
          for (const ShiwakenikkiSubCondition& item : jigyoubuConditionArray_)
            if (isShiwakeMatchJigyoubuCondition(s, item)) return true;
          return false;
        });
      } else {
        for (const ShiwakenikkiSubCondition& item : jigyoubuConditionArray_)
          keep([&](const Shiwake& s) { return isShiwakeMatchJigyoubuCondition(s, item); });
      }
    }
    if (kingakuConditionState_ != kStateOff) {
      const int64_t from = kingakuFrom_ < 0 ? 0 : kingakuFrom_;
      const int64_t to = kingakuTo_ < 0 ? document.kaisya().maxInputAmountValue() : kingakuTo_;
      const bool working = kingakuConditionState_ == kStateInside;
      keep([&](const Shiwake& s) {
        if (!working) return false;
        const int64_t kari = s.karikataKingaku();
        const int64_t kashi = s.kashikataKingaku();
        // A side whose amount is 0 while the other side has one is not judged.
        return (kari >= from && kari <= to && (kari != 0 || kari == kashi)) ||
               (kashi >= from && kashi <= to && (kashi != 0 || kashi == kari));
      });
    }
    if (tekiyouConditionState_ != kStateOff) {
      const int32_t state = tekiyouConditionState_;
      if (doCaseInsensitiveSearch_) {
        std::string text;
        foldCase(tekiyou_, text);
        std::string folded;
        keep([&](const Shiwake& s) {
          foldCase(s.tekiyou(), folded);
          return tekiyouMatches(folded, text, state);
        });
      } else {
        keep([&](const Shiwake& s) { return tekiyouMatches(s.tekiyou(), tekiyou_, state); });
      }
    }
  }

  result.displayShiwakeArray.reserve(list.size());
  for (int32_t i : list) result.displayShiwakeArray.push_back(sorted[i]);
  return result;
}

}  // namespace kivo
