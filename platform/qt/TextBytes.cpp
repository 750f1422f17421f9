#include "platform/qt/TextBytes.h"

#include <QList>

#include "platform/Cp1252.h"

namespace platform::qt {

QString TextFromBytes(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) text += QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c))));
  return text;
}

std::string BytesFromText(const QString& text) {
  std::string bytes;
  for (char32_t code : text.toUcs4()) bytes += static_cast<char>(UnicodeToCp1252(code));
  return bytes;
}

QString TextFromBytes(std::string_view bytes, TextEncoding encoding) {
  if (encoding != TextEncoding::Utf8) return TextFromBytes(bytes);
  const std::u32string text = DecodeText(bytes, encoding);
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::string BytesFromText(const QString& text, TextEncoding encoding) {
  const QList<uint> codes = text.toUcs4();
  return EncodeText(std::u32string(codes.begin(), codes.end()), encoding);
}

}  // namespace platform::qt
