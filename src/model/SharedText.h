// Text that many records hold alike: a year of books repeats the same descriptions
// thousands of times. Copies share one immutable string rather than each owning its own,
// and the empty text owns nothing.
#pragma once

#include <memory>
#include <string>

namespace kivo {

class SharedText {
public:
  SharedText() = default;
  explicit SharedText(const std::string& s) : text_(s.empty() ? nullptr : std::make_shared<const std::string>(s)) {}

  const std::string& str() const { return text_ ? *text_ : empty(); }

private:
  static const std::string& empty()
  {
    static const std::string none;
    return none;
  }
  std::shared_ptr<const std::string> text_;
};

}  // namespace kivo
