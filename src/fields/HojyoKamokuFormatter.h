// The sub-account field: accepts and shows the active sub-accounts of one parent
// account, by two-digit code, name or kana key. Without a parent it accepts only
// the empty text and shows nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo {

class HojyoKamokuFormatter : public Formatter {
public:
  static constexpr const char* kNoMatchMessage = "一致する補助科目がありません。";

  explicit HojyoKamokuFormatter(const MyDocument& document);

  const MyDocument& document() const { return *document_; }

  // The parent becomes the active account with that code when it has an active
  // sub-account; none for nullopt, an unknown code or an account without one.
  void setParentKamokuFromKamokuCode(std::optional<int32_t> kamokuCode);
  const KamokuPtr& parentKamoku() const { return parentKamoku_; }

  uint16_t stopFormatterListChar() const { return stopFormatterListChar_; }
  void setStopFormatterListChar(uint16_t c) { stopFormatterListChar_ = c; }

  // A code shows as the name of the parent's sub-account with that code; text as it is.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Empty text gives empty text; a resolved sub-account its code; a kana beginning
  // several sub-accounts the typed text; anything else is refused.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;

private:
  const MyDocument* document_;
  KamokuPtr parentKamoku_;
  uint16_t stopFormatterListChar_ = 0;
};

}  // namespace kivo
