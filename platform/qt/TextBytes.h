// Document bytes and Qt strings: the document's bytes are Windows-1252, one character per byte.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform::qt {

QString TextFromBytes(std::string_view bytes);
// A character the code page cannot hold becomes '?'.
std::string BytesFromText(const QString& text);

}  // namespace platform::qt
