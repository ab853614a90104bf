// The data files the program carries (charts of accounts, the era table, the
// depreciation rates, the help pages), compiled into the program at build time so
// that they are found however and wherever it is started.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace kivo {

class Resources {
public:
  struct Entry {
    std::string_view name;
    std::string_view data;
  };
  // Every resource, in the order the build listed them.
  static const std::vector<Entry>& entries();
  // The bytes of the named resource, or nullopt when the program carries none.
  static std::optional<std::string_view> get(std::string_view name);
};

}  // namespace kivo
