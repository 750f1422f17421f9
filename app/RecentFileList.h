// The recent-files list: paths most recent first, trimmed to MaxEntries, with the captions of the menu
// items that show them. The window turns the captions into menu items.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace app {

enum TRecentFileListMode { rflBefore, rflAfter, rflSubMenu };

class TRecentFileList {
 public:
  int MaxEntries = 5;
  TRecentFileListMode Mode = rflSubMenu;
  int InitialCounter = 0;

  // Whether a menu item anchors the list; without one UpdateMenu does nothing.
  void SetMenuItem(bool anchored) { anchored_ = anchored; }

  // Moves path to the top (looked up ignoring letter case, kept as now given), trims, updates the menu.
  void AddFile(const std::string& path);
  void UpdateMenu();
  // Replaces the paths as loading recent.ini does: no trimming, the menu untouched.
  void SetFiles(std::vector<std::string> files) { files_ = std::move(files); }
  const std::vector<std::string>& Files() const { return files_; }

  // One caption per menu item created so far; items are reused, never removed. The tag of item i is i.
  const std::vector<std::string>& MenuCaptions() const { return captions_; }
  // A menu item was chosen: OnMenuClick gets the path at its tag.
  void MenuItemClicked(int tag);

  std::function<void(const std::string&)> OnMenuClick;
  std::function<void()> OnMenuUpdated;

 private:
  std::vector<std::string> files_;
  std::vector<std::string> captions_;
  bool anchored_ = false;
};

}  // namespace app
