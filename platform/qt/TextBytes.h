// Document bytes and Qt strings: Windows-1252, one character a byte, unless UTF-8 is asked for.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace platform::qt {

QString TextFromBytes(std::string_view bytes);
// A character the code page cannot hold becomes '?'.
std::string BytesFromText(const QString& text);
// The same in either encoding: an invalid UTF-8 byte becomes one replacement character.
QString TextFromBytes(std::string_view bytes, TextEncoding encoding);
std::string BytesFromText(const QString& text, TextEncoding encoding);

}  // namespace platform::qt
