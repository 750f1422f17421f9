// Everything a person may set in Edit > Preferences, with the program's defaults, and how it is kept in
// the settings store: one value a preference under kPreferencesKey, read at start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace editor {
class TqeCustomEdit;
}

namespace app {

// The settings of the program's own that go beyond the design's.
inline constexpr const char* kPreferencesKey = "HKEY_CURRENT_USER\\Software\\Tarnwell\\Quillmark\\Preferences";

struct Preferences {
  // Editor
  std::string fontName = "Courier New";
  int fontSize = 10;
  int tabWidth = 4;
  bool tabInsertsBlanks = true;  // else Tab types a tab character
  int rightEdge = 80;            // 0 hides it
  bool lineNumbers = true;
  bool highlightCaretLine = false;
  bool showBlanks = false;
  bool wordWrap = false;  // at the window
  bool caretBlink = true;
  bool overwriteAtStart = false;
  int maxUndo = 30;
  // Colours: a scheme's name; empty until the person chooses one (the desktop decides meanwhile).
  std::string scheme;
  std::string customBase = "Classic";  // the scheme the Custom colours were made from
  // Files
  bool newDocumentsUtf8 = false;  // else Windows-1252
  bool detectUtf8 = true;
  bool writeLf = false;  // else CR LF
  bool trimTrailingBlanks = false;
  bool restoreSessionAtStart = true;
  int journalDelayMs = 1000;
  // Preview
  std::string previewFont = "Times New Roman";
  std::string previewFixedFont = "Courier New";
  int previewFontSize = 12;
  bool livePreviewAtStart = false;
  int livePreviewDelayMs = 300;
  bool previewImages = true;
  // Writing aids and checks (the spelling language is kept by the spelling itself, as
  // "SpellingLanguage")
  bool autoCloseTags = true;
  bool showMatches = true;
  bool completion = true;
  bool checkWhileTyping = true;  // the Check Page panel checks again when typing pauses

  bool operator==(const Preferences&) const = default;
};

// The pages of the dialog; each restores its own defaults.
enum class PreferencesPage { Editor, Colours, Files, Preview, WritingAids };

// What is stored, over the defaults. A value that cannot be read (not a number, out of range, an unknown
// word) keeps its default and its name is added to unreadable.
Preferences ReadPreferences(const platform::Registry& registry, std::vector<std::string>* unreadable = nullptr);
void WritePreferences(platform::Registry& registry, const Preferences& preferences);
// The values of one page put back to their defaults, the others kept.
void RestoreDefaults(Preferences& preferences, PreferencesPage page);

// The editor page and the writing aids as a view shows them.
void ApplyToView(const Preferences& preferences, editor::TqeCustomEdit& view);

}  // namespace app
