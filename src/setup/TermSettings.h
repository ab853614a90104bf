// What a user types for a term of the books: the company's name and kind, the term's
// number (a corporation's "第 n 期") or year (a sole proprietor's "n 年度"), and the
// first and last day of the term. Shared by the new-document window and the window
// that carries the books forward into the next term, so both refuse the same input
// with the same words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/Date.h"
#include "model/Kaisya.h"

namespace kivo {

class TermSettings {
public:
  // The field a refusal points at, so that the window can select it.
  enum class Field { None, Name, TermNo, StartDate, EndDate };

  // Why the input was refused. A refusal with a message shows it as an alert under
  // the title; one without says its note next to the field.
  struct Refusal {
    Field field = Field::None;
    std::string title;
    std::string message;
    std::string note;
    bool isRefused() const { return field != Field::None; }
  };

  static constexpr const char* kInvalidDateTitle = "無効な日付";
  static constexpr const char* kEndOfMonthMessage = "期間の最終日は、月末日を指定してください。";
  static constexpr const char* kTermTooLongMessage = "設定できる期間は最長１年です。";
  static constexpr const char* kTooEarlyStartMessage = "期間の開始日は、1984年1月24日以降を指定してください。";
  static constexpr const char* kTooLateStartMessage = "期間の開始日は、9999年12月31日以前を指定してください。";
  static constexpr const char* kTooLateEndMessage = "期間の終了日は、9999年12月31日以前を指定してください。";
  static constexpr const char* kEmptyNameNote = "名前を入力してください。";
  static constexpr const char* kTermNoNote = "期には 1 から 9999 までの数を入力してください。";
  static constexpr const char* kStartDateNote = "開始日を入力してください。";
  static constexpr const char* kEndDateNote = "終了日を入力してください。";
  static constexpr const char* kEndBeforeStartNote = "終了日には開始日より後の日付を指定してください。";
  // The largest term number a corporation can give: the company record's bound.
  static constexpr int32_t kMaxTermNo = Kaisya::kMaxTermNo;

  std::string name;
  bool isHoujin = true;
  bool isKakeibo = false;
  // The term number (corporation) or year (sole proprietor) as typed.
  std::string termNoText;
  // nullopt: the field holds no readable date.
  std::optional<Date> startDate;
  std::optional<Date> endDate;

  // The checks in order; the first failure refuses:
  //   an empty name; a corporation's term number that is not a whole number from 1 to
  //   kMaxTermNo (an empty one is accepted); a start that is no date, lies before
  //   1984/1/24 or after 9999/12/31; an end that is no date, lies before the start or
  //   after 9999/12/31; an end that is not
  //   the last day of its month (unless household book); a term longer than one year.
  Refusal check() const;

  // A typed term number: digits (full-width ones too) from 1 to kMaxTermNo; nullopt
  // otherwise.
  static std::optional<int32_t> termNoOfText(const std::string& text);
  // The last day of a term that starts on the date: one year later, less a day when
  // that lands on the same day of the month (a term from the 1st ends at the end of
  // the month before).
  static Date defaultEndDateForStartDate(Date startDate);
  // A name as it is stored: without the ASCII and ideographic spaces around it.
  static std::string trimmedName(const std::string& text);
  // The text before the first "/" of a date's text: the year as the field shows it.
  static std::string yearTextOfDateText(const std::string& dateText);
};

}  // namespace kivo
