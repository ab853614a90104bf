#include "fields/FieldValue.h"

namespace kivo {

const std::string& FieldValue::textValue() const
{
  static const std::string empty;
  return isText() ? std::get<std::string>(v_) : empty;
}

}  // namespace kivo
