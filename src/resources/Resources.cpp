#include "resources/Resources.h"

namespace kivo {

std::optional<std::string_view> Resources::get(std::string_view name)
{
  for (const Entry& e : entries())
    if (e.name == name) return e.data;
  return std::nullopt;
}

}  // namespace kivo
