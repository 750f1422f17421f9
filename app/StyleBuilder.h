// The Style Builder's logic: its four groups of controls (what each is called, shows and adds) and the
// style sheet that "Save as Style Sheet" grows during a run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace app {

struct StyleControl {
  const char* name;  // the control's object name
  const char* label;
  std::vector<const char*> items;  // a drop-down's; none for a box
  const char* prefix;              // the declaration before the control's text
};

struct StyleGroup {
  const char* title;
  const char* button;  // the add button's object name
  std::vector<StyleControl> controls;
};

// The groups in the page's order; each group's controls in the order its add button appends them.
const std::vector<StyleGroup>& StyleGroups();
inline constexpr const char* kSelectorPrompt = "Choose Style Selector";
std::vector<const char*> StyleSelectors();

// One declaration line per control: its prefix, its text unchanged, and ";" (empty text included).
std::vector<std::string> Declarations(const StyleGroup& group, const std::vector<std::string>& texts);

// The rules saved so far in this run (StyleMem); each save writes all of them.
class TStyleSheet {
 public:
  // Appends the rule (selector line, the declaration lines, " }") and writes every rule to file, each line
  // followed by CR LF; raises "Cannot create file PATH" (the rule stays appended).
  void SaveRule(const std::string& selector, const std::vector<std::string>& declarations,
                const std::filesystem::path& file);
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace app
