// Reading and writing the INI-style registry file.
#include "platform/IniFileRegistry.h"

#include <cstdlib>
#include <fstream>

#include "platform/FileIO.h"

namespace platform {
namespace {

// Values may hold any byte; backslash, CR and LF are escaped so each value stays on its line.
std::string EscapeValue(const std::string& v) {
  std::string out;
  for (char c : v) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string UnescapeValue(const std::string& v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      char n = v[++i];
      out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += v[i];
    }
  }
  return out;
}

}  // namespace

IniFileRegistry::IniFileRegistry(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  std::string line;
  Values* section = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = &keys_[line.substr(1, line.size() - 2)];
    } else if (auto eq = line.find('='); section && eq != std::string::npos) {
      (*section)[line.substr(0, eq)] = UnescapeValue(line.substr(eq + 1));
    }
  }
}

std::filesystem::path IniFileRegistry::DefaultFile() {
  std::filesystem::path dir;
  if (const char* d = std::getenv("QUILLMARK_CONFIG_DIR"); d && *d) {
    dir = d;
  } else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
    dir = std::filesystem::path(x) / "quillmark";
  } else {
    const char* home = std::getenv("HOME");
    dir = std::filesystem::path(home ? home : ".") / ".config" / "quillmark";
  }
  return dir / "registry.ini";
}

void IniFileRegistry::Changed() {
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  // A settings file that cannot be written loses only this change; the program goes on.
  try {
    WriteFileAtomically(file_, [this](std::ostream& out) {
      for (const auto& [key, values] : keys_) {
        out << '[' << key << "]\n";
        for (const auto& [name, value] : values) out << name << '=' << EscapeValue(value) << '\n';
      }
    });
  } catch (const EFileError&) {
  }
}

}  // namespace platform
