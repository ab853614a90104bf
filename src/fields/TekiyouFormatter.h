// The description field. Any text is a description; a kana key typed in ASCII
// (compared without case) completes to a registered description, searching first the
// description groups named after the entry's accounts, then every group in order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo {

class TekiyouFormatter : public Formatter {
public:
  explicit TekiyouFormatter(const MyDocument& document);

  const MyDocument& document() const { return *document_; }

  // The groups searched first become the names of the accounts with these codes;
  // the empty name for nullopt or an unknown code.
  void setPrimeGroupNameToSearchFromFirstKamokuCode(std::optional<int32_t> firstKamokuCode,
                                                    std::optional<int32_t> secondKamokuCode);
  const std::string& firstPrimeTekiyouGroupName() const { return firstPrimeGroupName_; }
  const std::string& secondPrimeTekiyouGroupName() const { return secondPrimeGroupName_; }

  // The document's description groups in search order: the two prime groups first,
  // then the others as the document keeps them.
  std::vector<TekiyouGroupPtr> searchOrderedTekiyouGroupArray() const;

  uint16_t stopFormatterListChar() const { return stopFormatterListChar_; }
  void setStopFormatterListChar(uint16_t c) { stopFormatterListChar_ = c; }

  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Every text is accepted as it was typed.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;

private:
  const MyDocument* document_;
  std::string firstPrimeGroupName_;
  std::string secondPrimeGroupName_;
  uint16_t stopFormatterListChar_ = 0;
};

}  // namespace kivo
