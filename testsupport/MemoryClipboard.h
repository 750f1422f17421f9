// An in-memory clipboard; a test can make it refuse writes or reads to reach the error paths.
#pragma once

#include <map>

#include "platform/Clipboard.h"

namespace platform::fakes {

class MemoryClipboard : public Clipboard {
 public:
  bool SetItems(const std::vector<ClipboardItem>& items) override {
    formats_.clear();
    if (refuseWrites) return false;
    for (const auto& item : items) formats_[item.format] = item.data;
    return true;
  }
  bool HasFormat(std::string_view format) const override { return formats_.count(std::string(format)) != 0; }
  std::optional<std::string> Data(std::string_view format) const override {
    auto it = formats_.find(std::string(format));
    if (it == formats_.end() || refuseReads) return std::nullopt;
    return it->second;
  }

  bool refuseWrites = false;
  bool refuseReads = false;

 private:
  std::map<std::string, std::string> formats_;
};

}  // namespace platform::fakes
