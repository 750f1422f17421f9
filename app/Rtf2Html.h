// RTF to HTML: one forward pass over an RTF text with a few formatting states, giving upper-case HTML 3.2
// markup (paragraphs, simple bulleted lists, bold, italic, underline, and FONT tags for face, colour and
// size). Everything the pass does not know is dropped; text passes through as bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace app {

// rtf: the file's text with its lines joined by CR LF.
std::string RtfToHtml(std::string_view rtf);
// An RTF file's text as the import reads it: its lines (split at CR, LF or CR LF) joined by CR LF. Raises
// "Cannot open file PATH" when it cannot be read.
std::string ReadRtfFile(const std::filesystem::path& file);

}  // namespace app
