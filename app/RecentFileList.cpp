// Recent-file rules.
#include "app/RecentFileList.h"

#include <algorithm>
#include <cstdio>

namespace app {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

void TRecentFileList::AddFile(const std::string& path) {
  auto found =
      std::find_if(files_.begin(), files_.end(), [&](const std::string& f) { return SameIgnoringCase(f, path); });
  if (found == files_.end()) {
    files_.insert(files_.begin(), path);
  } else if (found != files_.begin()) {
    files_.erase(found);
    files_.insert(files_.begin(), path);
  }
  while (static_cast<int>(files_.size()) > std::max(0, MaxEntries)) files_.pop_back();
  UpdateMenu();
}

void TRecentFileList::UpdateMenu() {
  if (!anchored_) return;
  for (size_t i = 0; i < files_.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%X", static_cast<unsigned>(static_cast<int>(i) + InitialCounter));
    const std::string caption = "&" + std::string(number) + " " + files_[i];
    if (i < captions_.size())
      captions_[i] = caption;
    else
      captions_.push_back(caption);
  }
  if (OnMenuUpdated) OnMenuUpdated();
}

void TRecentFileList::MenuItemClicked(int tag) {
  if (tag >= 0 && tag < static_cast<int>(files_.size()) && OnMenuClick) OnMenuClick(files_[tag]);
}

}  // namespace app
