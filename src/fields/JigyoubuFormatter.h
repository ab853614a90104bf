// The division field: accepts the document's active divisions by two-digit code,
// name or kana key; with doAcceptAllJigyoubu also 99, the whole company, shown
// "すべての事業部".
#pragma once

#include <cstdint>
#include <optional>

#include "document/MyDocument.h"
#include "fields/Formatter.h"

namespace kivo {

class JigyoubuFormatter : public Formatter {
public:
  static constexpr const char* kAllJigyoubuName = "すべての事業部";
  static constexpr const char* kNoMatchMessage = "一致する事業部がありません。";

  explicit JigyoubuFormatter(const MyDocument& document) : JigyoubuFormatter(document, false) {}
  JigyoubuFormatter(const MyDocument& document, bool doAcceptAllJigyoubu);

  const MyDocument& document() const { return *document_; }
  bool doAcceptAllJigyoubu() const { return doAcceptAllJigyoubu_; }

  uint16_t stopFormatterListChar() const { return stopFormatterListChar_; }
  void setStopFormatterListChar(uint16_t c) { stopFormatterListChar_ = c; }

  // 99 shows "すべての事業部"; another code the name of the division with exactly that
  // code (active or not, so stored entries keep showing it); text as it is.
  std::optional<std::string> stringForObjectValue(const FieldValue& value) const override;
  // Typed digits find the division with that code, else the first active division
  // whose code begins with them; names and kana as the other code fields.
  bool getObjectValue(FieldValue& value, const std::string& text, std::string* errorDescription) override;

private:
  const MyDocument* document_;
  bool doAcceptAllJigyoubu_;
  uint16_t stopFormatterListChar_ = 0;
};

}  // namespace kivo
