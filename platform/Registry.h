// The settings store that stands in for the Windows registry: keys named by their original paths, holding
// named string values. Integers are stored as decimal text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(std::string_view key) const = 0;
  virtual void CreateKey(std::string_view key) = 0;
  // The names of the key's direct subkeys, sorted; none when the key does not exist.
  virtual std::vector<std::string> SubKeys(std::string_view key) const = 0;
  virtual std::optional<std::string> ReadString(std::string_view key, std::string_view name) const = 0;
  // Creates the key when it is missing.
  virtual void WriteString(std::string_view key, std::string_view name, std::string_view value) = 0;

  std::optional<int> ReadInteger(std::string_view key, std::string_view name) const;
  void WriteInteger(std::string_view key, std::string_view name, int value) {
    WriteString(key, name, std::to_string(value));
  }
};

}  // namespace platform
