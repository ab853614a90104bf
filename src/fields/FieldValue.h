// The value a field holds: nothing, a code (account, sub-account, division), text
// (typed text that is not yet a code, or a description), a calendar date, or an
// amount in stored units. Formatters turn text into one of these and back.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "model/Date.h"

namespace kivo {

class FieldValue {
public:
  // An amount in stored units, kept apart from a code so the two never mix.
  struct Amount {
    int64_t units = 0;
    friend bool operator==(const Amount&, const Amount&) = default;
  };

  FieldValue() = default;
  static FieldValue nil() { return FieldValue(); }
  static FieldValue code(int32_t c) { return FieldValue(Storage(c)); }
  static FieldValue text(std::string t) { return FieldValue(Storage(std::move(t))); }
  static FieldValue date(Date d) { return FieldValue(Storage(d)); }
  static FieldValue amount(int64_t units) { return FieldValue(Storage(Amount{units})); }

  bool isNil() const { return std::holds_alternative<std::monostate>(v_); }
  bool isCode() const { return std::holds_alternative<int32_t>(v_); }
  bool isText() const { return std::holds_alternative<std::string>(v_); }
  bool isDate() const { return std::holds_alternative<Date>(v_); }
  bool isAmount() const { return std::holds_alternative<Amount>(v_); }

  // The held value; the fallback (-1, "", a null date, 0) when it holds another kind.
  int32_t codeValue() const { return isCode() ? std::get<int32_t>(v_) : -1; }
  const std::string& textValue() const;
  Date dateValue() const { return isDate() ? std::get<Date>(v_) : Date(); }
  int64_t amountValue() const { return isAmount() ? std::get<Amount>(v_).units : 0; }

  friend bool operator==(const FieldValue&, const FieldValue&) = default;

private:
  using Storage = std::variant<std::monostate, int32_t, std::string, Date, Amount>;
  explicit FieldValue(Storage v) : v_(std::move(v)) {}
  Storage v_;
};

}  // namespace kivo
