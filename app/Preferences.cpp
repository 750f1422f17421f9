// One table names every preference, its page and what it may hold, so reading, writing and restoring a
// page's defaults cannot miss one.
#include "app/Preferences.h"

#include <charconv>
#include <variant>

#include "editor/CustomEdit.h"

namespace app {
namespace {

struct Flag {
  bool Preferences::*member;
};
struct Number {
  int Preferences::*member;
  int min;
  int max;
};
struct Text {
  std::string Preferences::*member;
  bool mayBeEmpty;
};

struct Field {
  std::string_view name;
  PreferencesPage page;
  std::variant<Flag, Number, Text> value;
};

using enum PreferencesPage;

const Field kFields[] = {
    {"FontName", Editor, Text{&Preferences::fontName, false}},
    {"FontSize", Editor, Number{&Preferences::fontSize, 6, 72}},
    {"TabWidth", Editor, Number{&Preferences::tabWidth, 1, 16}},
    {"TabInsertsBlanks", Editor, Flag{&Preferences::tabInsertsBlanks}},
    {"RightEdge", Editor, Number{&Preferences::rightEdge, 0, 1000}},
    {"LineNumbers", Editor, Flag{&Preferences::lineNumbers}},
    {"HighlightCaretLine", Editor, Flag{&Preferences::highlightCaretLine}},
    {"ShowBlanks", Editor, Flag{&Preferences::showBlanks}},
    {"WordWrap", Editor, Flag{&Preferences::wordWrap}},
    {"CaretBlink", Editor, Flag{&Preferences::caretBlink}},
    {"OverwriteAtStart", Editor, Flag{&Preferences::overwriteAtStart}},
    {"MaxUndo", Editor, Number{&Preferences::maxUndo, 1, 10000}},
    {"Scheme", Colours, Text{&Preferences::scheme, true}},
    {"CustomBase", Colours, Text{&Preferences::customBase, false}},
    {"NewDocumentsUtf8", Files, Flag{&Preferences::newDocumentsUtf8}},
    {"DetectUtf8", Files, Flag{&Preferences::detectUtf8}},
    {"WriteLf", Files, Flag{&Preferences::writeLf}},
    {"TrimTrailingBlanks", Files, Flag{&Preferences::trimTrailingBlanks}},
    {"RestoreSessionAtStart", Files, Flag{&Preferences::restoreSessionAtStart}},
    {"JournalDelay", Files, Number{&Preferences::journalDelayMs, 100, 60000}},
    {"PreviewFont", Preview, Text{&Preferences::previewFont, false}},
    {"PreviewFixedFont", Preview, Text{&Preferences::previewFixedFont, false}},
    {"PreviewFontSize", Preview, Number{&Preferences::previewFontSize, 6, 72}},
    {"LivePreviewAtStart", Preview, Flag{&Preferences::livePreviewAtStart}},
    {"LivePreviewDelay", Preview, Number{&Preferences::livePreviewDelayMs, 50, 10000}},
    {"PreviewImages", Preview, Flag{&Preferences::previewImages}},
    {"AutoCloseTags", WritingAids, Flag{&Preferences::autoCloseTags}},
    {"ShowMatches", WritingAids, Flag{&Preferences::showMatches}},
    {"Completion", WritingAids, Flag{&Preferences::completion}},
    {"CheckWhileTyping", WritingAids, Flag{&Preferences::checkWhileTyping}},
};

// Flags are stored as the words the settings file shows best; 1 and 0 are read too.
bool ReadFlag(const std::string& stored, bool& value) {
  if (stored == "true" || stored == "1") return value = true, true;
  if (stored == "false" || stored == "0") return value = false, true;
  return false;
}

bool ReadNumber(const std::string& stored, const Number& field, int& value) {
  int number = 0;
  const char* end = stored.data() + stored.size();
  const auto [at, error] = std::from_chars(stored.data(), end, number);
  if (error != std::errc{} || at != end || number < field.min || number > field.max) return false;
  value = number;
  return true;
}

template <typename... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
// Spelt out for compilers that do not yet deduce an aggregate's arguments.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

Preferences ReadPreferences(const platform::Registry& registry, std::vector<std::string>* unreadable) {
  Preferences preferences;
  for (const Field& field : kFields) {
    const std::optional<std::string> stored = registry.ReadString(kPreferencesKey, field.name);
    if (!stored) continue;
    const bool read = std::visit(Overloaded{
                                     [&](const Flag& f) { return ReadFlag(*stored, preferences.*f.member); },
                                     [&](const Number& f) { return ReadNumber(*stored, f, preferences.*f.member); },
                                     [&](const Text& f) {
                                       if (stored->empty() && !f.mayBeEmpty) return false;
                                       preferences.*f.member = *stored;
                                       return true;
                                     },
                                 },
                                 field.value);
    if (!read && unreadable) unreadable->emplace_back(field.name);
  }
  return preferences;
}

void WritePreferences(platform::Registry& registry, const Preferences& preferences) {
  for (const Field& field : kFields) {
    const std::string stored =
        std::visit(Overloaded{
                       [&](const Flag& f) { return std::string(preferences.*f.member ? "true" : "false"); },
                       [&](const Number& f) { return std::to_string(preferences.*f.member); },
                       [&](const Text& f) { return preferences.*f.member; },
                   },
                   field.value);
    registry.WriteString(kPreferencesKey, field.name, stored);
  }
}

void RestoreDefaults(Preferences& preferences, PreferencesPage page) {
  const Preferences defaults;
  for (const Field& field : kFields) {
    if (field.page != page) continue;
    std::visit([&](const auto& f) { preferences.*f.member = defaults.*f.member; }, field.value);
  }
}

void ApplyToView(const Preferences& preferences, editor::TqeCustomEdit& view) {
  platform::FontDesc font = view.Font();
  font.family = preferences.fontName;
  font.pointSize = preferences.fontSize;
  // Points at the 96 dots an inch the window's fonts have always been sized at (10 points: 13 pixels).
  font.pixelHeight = (preferences.fontSize * 96 + 36) / 72;
  view.SetFont(font);
  view.SetTabIndent(preferences.tabWidth);
  view.SetTabInsertsBlanks(preferences.tabInsertsBlanks);
  view.SetRightEdge(preferences.rightEdge);
  view.Gutter().SetShowLineNumbers(preferences.lineNumbers);
  view.SetHighlightCaretLine(preferences.highlightCaretLine);
  view.SetShowBlanks(preferences.showBlanks);
  view.SetWordWrap(preferences.wordWrap);
  view.SetMaxUndo(preferences.maxUndo);
  view.SetAutoCloseTags(preferences.autoCloseTags);
  view.SetShowMatches(preferences.showMatches);
}

}  // namespace app
