// An in-memory clipboard; a test can make it refuse writes or reads to reach the error paths.
#pragma once

#include <map>

#include "platform/Clipboard.h"

namespace platform::headless {

class MemoryClipboard : public Clipboard {
 public:
  bool SetItems(const std::vector<ClipboardItem>& items) override {
    formats_.clear();
    if (refuseWrites) return false;
    for (const auto& item : items) formats_[item.format] = item.data;
    return true;
  }
  bool HasFormat(std::string_view format) const override { return Find(format) != formats_.end(); }
  std::optional<std::string> Data(std::string_view format) const override {
    auto it = Find(format);
    if (it == formats_.end() || refuseReads) return std::nullopt;
    // Text put in one encoding is read in the other as the system clipboard would convert it.
    const auto wanted = TextFormatEncoding(format), stored = TextFormatEncoding(it->first);
    if (wanted && stored) return Transcode(it->second, *stored, *wanted);
    return it->second;
  }

  bool refuseWrites = false;
  bool refuseReads = false;

 private:
  using Formats = std::map<std::string, std::string, std::less<>>;
  // The format itself, or for plain text the text in its other encoding.
  Formats::const_iterator Find(std::string_view format) const {
    auto it = formats_.find(format);
    if (it != formats_.end() || !TextFormatEncoding(format)) return it;
    it = formats_.find(kPlainTextFormat);
    return it != formats_.end() ? it : formats_.find(kUtf8TextFormat);
  }
  Formats formats_;
};

}  // namespace platform::headless
