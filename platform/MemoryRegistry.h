// A registry held in memory: the test fake, and the base of the file-backed store.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform {

class MemoryRegistry : public Registry {
 public:
  bool KeyExists(std::string_view key) const override { return keys_.count(std::string(key)) != 0; }
  void CreateKey(std::string_view key) override {
    keys_[std::string(key)];
    Changed();
  }
  // A key below this one counts even when only a key further down was written, as a registry makes the
  // keys of a path together.
  std::vector<std::string> SubKeys(std::string_view key) const override {
    std::vector<std::string> names;
    const std::string prefix = std::string(key) + "\\";
    for (auto k = keys_.lower_bound(prefix); k != keys_.end() && k->first.compare(0, prefix.size(), prefix) == 0; ++k) {
      std::string name = k->first.substr(prefix.size(), k->first.find('\\', prefix.size()) - prefix.size());
      if (!name.empty()) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
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
