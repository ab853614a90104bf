// What the voucher browser shows: the transfer vouchers of one date as cards, each
// named by the journal index of its voucher's first entry, earlier vouchers first;
// the dates before and after; the voucher a number names. Cash-book lines never
// make a card, nor entries a limited user cannot see.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/MyDocument.h"

namespace kivo {

class FurikaedenpyouBrowser {
public:
  // The most rows a card pictures.
  static constexpr int kMaxRowsOfCard = 5;

  // Whether the entry may be on a card.
  static bool isCardEntry(const Shiwake& s);
  // The journal index of the first entry of each voucher of the date, in journal
  // order.
  static std::vector<size_t> cardsOfDate(const MyDocument& document, Date date);
  // The entries a card pictures: the voucher's entries from its first, at most five.
  static std::vector<ShiwakePtr> rowsOfCard(const MyDocument& document, size_t shiwakeIndex);

  // The nearest earlier (later) date with transfer vouchers. cards: the cards on show;
  // date: the date chosen (when no card is on show). With neither, the first (last)
  // voucher's date.
  static std::optional<Date> previousDate(const MyDocument& document, const std::vector<size_t>& cards,
                                          std::optional<Date> date);
  static std::optional<Date> nextDate(const MyDocument& document, const std::vector<size_t>& cards,
                                      std::optional<Date> date);

  // The journal index of the first entry of voucher n, nullopt when there is none.
  static std::optional<size_t> firstIndexOfDenpyouNo(const MyDocument& document, int32_t n);
};

}  // namespace kivo
