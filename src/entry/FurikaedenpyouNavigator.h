// Where the voucher window's navigation commands go. The journal is walked in its
// stored (date) order; a voucher is a run of entries with one number. Only
// transfer-voucher lines that a limited user may see and that carry a number count:
// cash-book entries, hidden entries and pending entries (number 0) are passed over.
// Regular-type vouchers (negative numbers) come first, as their date sorts first.
//
// Each answers the number of the voucher to show, nullopt when the command does
// nothing; n is the shown voucher's number.
#pragma once

#include <cstdint>
#include <optional>

#include "document/MyDocument.h"

namespace kivo {

class FurikaedenpyouNavigator {
public:
  static bool isCandidate(const Shiwake& s)
  {
    return s.kindOfShiwake() == ShiwakeKind::Furikaedenpyou && !s.didCreateBeforeOpen() && s.denpyouNo() != 0;
  }

  // 次の伝票: the voucher after n; nothing for an unregistered n or at the end.
  static std::optional<int32_t> showNextDenpyou(const MyDocument& document, int32_t n);
  // 前の伝票: the voucher before n; for an unregistered n the last voucher.
  static std::optional<int32_t> showPreviousDenpyou(const MyDocument& document, int32_t n);
  // １０個後の伝票: ten vouchers on, or the last one found before the end.
  static std::optional<int32_t> skipDenpyou(const MyDocument& document, int32_t n);
  // １０個前の伝票: ten vouchers back, or the first; for an unregistered n the tenth
  // voucher counted from the end.
  static std::optional<int32_t> reverseSkipDenpyou(const MyDocument& document, int32_t n);
  // 最初の伝票 / 最後の伝票.
  static std::optional<int32_t> showStartDenpyou(const MyDocument& document, int32_t n);
  static std::optional<int32_t> showEndDenpyou(const MyDocument& document, int32_t n);
  // 次月の伝票: the first voucher of a later month, else the last voucher of n's month.
  static std::optional<int32_t> showNextMonthDenpyou(const MyDocument& document, int32_t n);
  // 月初の伝票: the first voucher of n's month before n, else the first voucher of
  // the nearest earlier month that has one (from the first month: the first voucher).
  static std::optional<int32_t> showPreviousMonthDenpyou(const MyDocument& document, int32_t n);
};

}  // namespace kivo
