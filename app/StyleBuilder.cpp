// The groups of the Style Builder as the page shows them, and the growing style sheet.
#include "app/StyleBuilder.h"

#include "app/TextFiles.h"

namespace app {

const std::vector<StyleGroup>& StyleGroups() {
  static const std::vector<StyleGroup> groups = {
      {"Fonts",
       "BitBtn1",
       {{"ComboBox1",
         "Font Size:",
         {"xx-large", "x-large", "large", "medium", "small", "x-small", "xx-small", "larger", "smaller"},
         "font-size : "},
        {"ComboBox3", "Font Weight:", {"normal", "bold"}, "font-weight : "},
        {"ComboBox5",
         "Colour:",
         {"Red", "Green", "Blue", "Yellow", "Black", "White", "Teal", "Lime", "Brown", "Grey"},
         "color : "},
        {"ComboBox2", "Font Family:", {"cursive", "fantasy", "monospace", "serif", "sans-serif"}, "font-family : "},
        {"ComboBox4", "Font Style:", {"normal", "italic"}, "font-style : "},
        {"Edit5", "Font:", {}, "font : "}}},
      {"Text:",
       "BitBtn2",
       {{"Edit6", "Line Height:", {}, "line-height : "},
        {"ComboBox6", "Text Decoration:", {"none", "overline", "underline", "through"}, "text-decoration : "},
        {"ComboBox7", "Text Align:", {"left", "center", "right"}, "text-align : "},
        {"Edit7", "Text Indent:", {}, "text-indent : "},
        {"ComboBox8", "Text Transform:", {"capitalize", "uppercase", "lowercase"}, "text-transform : "}}},
      {"Box:",
       "BitBtn3",
       {{"Edit8", "T", {}, "margin-top : "},
        {"Edit9", "B", {}, "margin-bottom : "},
        {"Edit10", "L", {}, "margin-left : "},
        {"Edit11", "R", {}, "margin-right : "},
        {"Edit12", "T", {}, "padding-top : "},
        {"Edit13", "B", {}, "padding-bottom : "},
        {"Edit14", "L", {}, "padding-left : "},
        {"Edit15", "R", {}, "padding-right : "}}},
      {"Positioning:",
       "BitBtn4",
       {{"ComboBox9", "Clip:", {"auto"}, "clip : "},
        {"ComboBox10", "Height:", {"auto"}, "height : "},
        {"ComboBox11", "Width:", {"auto"}, "width : "},
        {"ComboBox12", "Left:", {"auto"}, "left : "},
        {"ComboBox13", "Top:", {"auto"}, "top : "},
        {"ComboBox14", "Overflow:", {"clip", "none", "scroll"}, "overflow : "},
        {"ComboBox15", "Position:", {"absolute", "relative", "static"}, "position : "},
        {"ComboBox16", "Visibility:", {"visible", "hidden"}, "visibility : "}}},
  };
  return groups;
}

std::vector<const char*> StyleSelectors() {
  return {"P", "H1", "H2", "H3", "A", "A:Visited", "A:Active", "A:Hover", "Body"};
}

std::vector<std::string> Declarations(const StyleGroup& group, const std::vector<std::string>& texts) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < group.controls.size(); ++i)
    lines.push_back(std::string(group.controls[i].prefix) + (i < texts.size() ? texts[i] : "") + ";");
  return lines;
}

void TStyleSheet::SaveRule(const std::string& selector, const std::vector<std::string>& declarations,
                           const std::filesystem::path& file) {
  lines_.push_back(selector + "  { ");
  lines_.insert(lines_.end(), declarations.begin(), declarations.end());
  lines_.push_back(" }");
  WriteLines(file, lines_);
}

}  // namespace app
