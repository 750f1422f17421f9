// Integer values over the registry's text values.
#include "platform/Registry.h"

#include <cstdlib>

namespace platform {

std::optional<int> Registry::ReadInteger(std::string_view key, std::string_view name) const {
  auto text = ReadString(key, name);
  if (!text) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(text->c_str(), &end, 10);
  if (text->empty() || *end != '\0') return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace platform
