// A registry held in memory: the test fake, and the base of the file-backed store.
#pragma once

#include <map>
#include <string>

#include "platform/Registry.h"

namespace platform {

class MemoryRegistry : public Registry {
 public:
  bool KeyExists(std::string_view key) const override { return keys_.count(std::string(key)) != 0; }
  void CreateKey(std::string_view key) override {
    keys_[std::string(key)];
    Changed();
  }
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) const override {
    auto k = keys_.find(std::string(key));
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(std::string(name));
    if (v == k->second.end()) return std::nullopt;
    return v->second;
  }
  void WriteString(std::string_view key, std::string_view name, std::string_view value) override {
    keys_[std::string(key)][std::string(name)] = std::string(value);
    Changed();
  }

 protected:
  using Values = std::map<std::string, std::string>;
  // Called after every change; the file-backed store writes itself out here.
  virtual void Changed() {}
  std::map<std::string, Values> keys_;
};

}  // namespace platform
