// Writing and reading session.ini.
#include "app/SessionStore.h"

#include <charconv>
#include <sstream>

#include "platform/FileIO.h"

namespace app {
namespace {

int Number(std::string_view text, int otherwise) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 1 ? value : otherwise;
}

}  // namespace

void WriteSessionFile(const std::filesystem::path& file, const StoredSession& session) {
  platform::WriteFileAtomically(file, [&](std::ostream& out) {
    out << "[Session]\nCurrent=" << session.current + 1 << "\n";
    for (const StoredTab& tab : session.tabs) {
      out << "\n[Tab]\nFile=" << tab.file << "\nCaret=" << tab.caretLine << "," << tab.caretColumn
          << "\nTopLine=" << tab.topLine << "\nLanguage=" << tab.language
          << "\nEncoding=" << platform::EncodingName(tab.encoding) << "\n";
    }
  });
}

StoredSession ReadSessionFile(const std::filesystem::path& file) {
  StoredSession session;
  std::string bytes;
  try {
    bytes = platform::ReadFileBytes(file);
  } catch (const platform::EFileError&) {
    return session;
  }
  std::istringstream in(bytes);
  bool inTab = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "[Tab]") {
      session.tabs.emplace_back();
      inTab = true;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (!inTab) {
      if (key == "Current") session.current = Number(value, 1) - 1;
      continue;
    }
    StoredTab& tab = session.tabs.back();
    if (key == "File") {
      tab.file = value;
    } else if (key == "Caret") {
      const std::size_t comma = value.find(',');
      tab.caretLine = Number(value.substr(0, comma), 1);
      tab.caretColumn = comma == std::string::npos ? 1 : Number(value.substr(comma + 1), 1);
    } else if (key == "TopLine") {
      tab.topLine = Number(value, 1);
    } else if (key == "Language") {
      tab.language = value;
    } else if (key == "Encoding") {
      tab.encoding = value == "utf8" ? platform::TextEncoding::Utf8 : platform::TextEncoding::Cp1252;
    }
  }
  std::erase_if(session.tabs, [](const StoredTab& tab) { return tab.file.empty(); });
  if (session.current < 0 || session.current >= static_cast<int>(session.tabs.size())) session.current = 0;
  return session;
}

}  // namespace app
