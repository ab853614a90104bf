// The month/day date field of a document's term. "4/1", "04/01", "0401" and "401"
// all read as April 1 of the term's year in which April falls (for a term starting
// in April, "1/15" is in the next calendar year); a day outside the term is refused,
// never moved. "13/00" is the closing-adjustment month; "00/00", the date of
// regular-type vouchers, only when the field was made to accept it.
#pragma once

#include <optional>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo {

class HidukeFormatter : public Formatter {
public:
  static constexpr const char* kInvalidDateMessage = "無効な日付です。";
  static constexpr const char* kOutOfTermMessage = "会計期間外の日付です。";

  HidukeFormatter(const MyDocument& document, bool doAcceptRegularTypeDenpyouDate);

  bool doAcceptRegularTypeDenpyouDate() const { return doAcceptRegularTypeDenpyouDate_; }

  // "%02d/%02d" month and day; "13/00" for the closing-adjustment month, "00/00" for
  // the regular-type voucher date; text as it is.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Empty text gives empty text; a month/day of the term gives its date.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;
  // Digits with at most one "/", at most two digits on either side of it, at most
  // four without it.
  bool isPartialStringValid(const std::string& partialString) const override;

  // The date of a month and day within the term from..to; nullopt when that day is
  // not in it (or is no real day).
  static std::optional<Date> dateInTerm(int month, int day, Date termStart, Date termEnd);

private:
  const MyDocument* document_;
  bool doAcceptRegularTypeDenpyouDate_;
};

}  // namespace kivo
