// A headless editor on the fake font, clipboard and window, with helpers to set and read its lines.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/CustomEdit.h"
#include "platform/headless/CellFont.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/RecordingWindow.h"

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : editor(fonts, clipboard) { editor.SetWindow(&window); }
  ~EditorTest() override { editor.SetWindow(nullptr); }

  // Replaces the text as a load does: one line per element.
  void SetLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    editor.Lines().SetTextStr(text);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int i = 0; i < editor.Lines().Count(); ++i) out.emplace_back(editor.Lines().Get(i));
    return out;
  }
  void Select(int c1, int l1, int c2, int l2) {
    editor.SetSelectionStart({c1, l1});
    editor.SetSelectionEnd({c2, l2});
  }
  void Type(std::string_view text) {
    for (char c : text) editor.KeyPress(c);
  }

  platform::headless::CellFontEngine fonts;
  platform::headless::MemoryClipboard clipboard;
  platform::headless::RecordingWindow window{{800, 600}};
  editor::TqeCustomEdit editor;
};

using Lines = std::vector<std::string>;
