// The tabs kept for the next start: session.ini in the data folder, written whole through the atomic
// write. Each tab names its file, the caret, the top line, the language and the encoding.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"

namespace app {

struct StoredTab {
  std::string file;
  int caretLine = 1, caretColumn = 1, topLine = 1;
  std::string language;  // the language box's name ("HTML"); empty: as a new tab has it
  platform::TextEncoding encoding = platform::TextEncoding::Cp1252;
  friend bool operator==(const StoredTab&, const StoredTab&) = default;
};

struct StoredSession {
  std::vector<StoredTab> tabs;
  int current = 0;  // index into tabs
  friend bool operator==(const StoredSession&, const StoredSession&) = default;
};

void WriteSessionFile(const std::filesystem::path& file, const StoredSession& session);
// What a session file holds; a missing or unreadable file is an empty session, and a value that does not
// read (a hand-edited file) takes its default.
StoredSession ReadSessionFile(const std::filesystem::path& file);

}  // namespace app
