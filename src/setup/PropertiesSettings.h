// What the company-properties sheet edits: name, address, term number or year, the era
// form of dates, and, while the journal holds no entry, the industry flags, the term's
// dates and the number of decimal places. Once entries exist those would make them
// wrong, so they are only shown. The company's kind (corporation, sole proprietor,
// household book) comes with its chart of accounts and is never changed here.
//
// Passwords are checked here too; hashing them is the window's business.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/Date.h"

namespace kivo {

class KamokuKubun;
class MyDocument;

class PropertiesSettings {
public:
  enum class Field { None, Name, TermNo, StartDate, EndDate, DecimalPrecision, Password, LimitedUserPassword };
  struct Refusal {
    Field field = Field::None;
    std::string title;  // empty: the note next to the field is enough
    std::string message;
    std::string note;
    bool isRefused() const { return field != Field::None; }
  };

  static constexpr const char* kInvalidTitle = "無効な設定";
  static constexpr const char* kPasswordMismatchMessage = "確認のために入力したパスワードが一致しません。";
  static constexpr const char* kSamePasswordsMessage =
      "パスワードと制限付きユーザのパスワードには、別のものを指定してください。";
  static constexpr const char* kLimitedWithoutPasswordMessage =
      "制限付きユーザのパスワードを設定するには、パスワードも設定してください。";

  // The values the document has now.
  explicit PropertiesSettings(const MyDocument& document);

  std::string name;
  std::string address;
  std::string termNoText;  // a corporation's term number, a sole proprietor's year
  bool doUseWareki = false;
  bool isSeizou = false;
  bool isKensetu = false;
  std::optional<Date> startDate;
  std::optional<Date> endDate;
  int32_t decimalPrecision = 0;

  bool isHoujin() const { return isHoujin_; }
  bool isKakeibo() const { return isKakeibo_; }
  // Industry, term dates and decimal places can change only while the journal is empty.
  bool canEditTermAndKind() const { return canEditTermAndKind_; }

  Refusal check() const;
  // Writes the settings into the document: the months of the term are rebuilt when the
  // dates changed, the opening balances are rescaled when the decimal places changed,
  // the accounts of a newly chosen industry are turned on. Only after check().
  void applyTo(MyDocument& document) const;

  // Opening balances are stored in units of the precision: going from 0 to 2 decimal
  // places multiplies them by 100. Refused (with the reason) when a balance would lose
  // digits or pass the input limit; with apply, the balances are rescaled.
  static std::string rescaleStartBalances(KamokuKubun& root, int32_t fromPrecision, int32_t toPrecision, bool apply);

  // The passwords the user typed (each with its confirmation). An empty new password
  // keeps what is set unless `clear` is given. A limited-user password needs a full
  // password (else nobody could open the books fully), and the two must differ.
  struct PasswordChange {
    std::string password, passwordConfirmation;
    std::string limitedPassword, limitedPasswordConfirmation;
    bool clearPassword = false;
    bool clearLimitedPassword = false;
  };
  // hasPassword / hasLimitedPassword: what the document has now.
  static Refusal checkPasswords(const PasswordChange& change, bool hasPassword, bool hasLimitedPassword);

private:
  const MyDocument* document_;
  bool isHoujin_ = true;
  bool isKakeibo_ = false;
  bool canEditTermAndKind_ = true;
};

}  // namespace kivo
