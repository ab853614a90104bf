// The account field: shows an account code as the account's name and reads what a
// user types (a code, a name or a kana key) back into a code. With doAcceptSyokuchi
// the sundry account 諸口 (code 999) is read and shown as well.
//
// Five typed digits are an account code and a sub-account code at once ("10001" is
// account 100, sub-account 01); the sub-account is kept in inputedHojyoKamokuCode for
// the entry grid to fill the sub-account cell.
//
// The pickers of this field (the account list windows) keep their outcome here:
// stopFormatterListChar and selectedHojyoKamokuCodeOfFormatterList.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo {

class KamokuFormatter : public Formatter {
public:
  static constexpr const char* kSyokuchiName = "諸口";
  static constexpr const char* kNoMatchMessage = "一致する勘定科目がありません。";

  KamokuFormatter(const MyDocument& document, bool doAcceptSyokuchi);

  const MyDocument& document() const { return *document_; }
  bool doAcceptSyokuchi() const { return doAcceptSyokuchi_; }

  // The accounts the field accepts (and its pickers offer): the document's active
  // accounts as they are at each use, sorted by code.
  const std::vector<KamokuPtr>& codeSortedAcceptKamokuArray() const;

  // The sub-account typed together with the account in the last accepted input, -1
  // when none.
  int32_t inputedHojyoKamokuCode() const { return inputedHojyoKamokuCode_; }
  void setInputedHojyoKamokuCode(int32_t code) { inputedHojyoKamokuCode_ = code; }

  // Outcome of the last picker run.
  uint16_t stopFormatterListChar() const { return stopFormatterListChar_; }
  void setStopFormatterListChar(uint16_t c) { stopFormatterListChar_ = c; }
  int32_t selectedHojyoKamokuCodeOfFormatterList() const { return selectedHojyoKamokuCodeOfFormatterList_; }
  void setSelectedHojyoKamokuCodeOfFormatterList(int32_t code) { selectedHojyoKamokuCodeOfFormatterList_ = code; }

  // A code shows as its account's name ("諸口" for 999 when accepted), whether or not
  // the account is active, so that stored entries always show their account; text
  // shows as it is.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Empty text gives empty text; a resolved account gives its code; text whose kana
  // begins several accounts gives the typed text back (the picker decides); anything
  // else is refused with "一致する勘定科目がありません。".
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;

private:
  const MyDocument* document_;
  bool doAcceptSyokuchi_;
  int32_t inputedHojyoKamokuCode_ = -1;
  uint16_t stopFormatterListChar_ = 0;
  int32_t selectedHojyoKamokuCodeOfFormatterList_ = -1;
};

}  // namespace kivo
