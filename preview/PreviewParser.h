// Building a previewed document from a page: a forgiving one-pass parser over the page reader's tokens.
// Unknown tags are skipped, missing end tags tolerated, and a comment left open at the end of the page
// ends the parse quietly with everything built so far.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "preview/HtmlTokenizer.h"
#include "preview/SectionList.h"

namespace preview {

class TSection;

// Anchor names (upper-cased) and the section each stands in; the first of a name wins.
using TNameList = std::map<std::string, const TSection*>;

using TSoundType = std::function<void(const std::string& src, int loop, bool terminate)>;
using TMetaType =
    std::function<void(const std::string& httpEquiv, const std::string& name, const std::string& content)>;

struct ParseCallbacks {
  TIncludeType include;
  TSoundType sound;
  TMetaType meta;
};

struct ParseResult {
  std::string title;
  std::string base;
  std::string baseTarget;
};

// Each replaces what list and names held. The files are read whole; a file that cannot be read raises
// platform::EFileError. Scripts go to list.onScript when it is set. A file is read in the encoding given,
// or else in the one its bytes suggest; a buffer in list.encoding.
ParseResult ParseHtmlFile(const std::string& path, TSectionList& list, TNameList& names,
                          const ParseCallbacks& callbacks, std::optional<platform::TextEncoding> encoding = {});
ParseResult ParseHtmlBuffer(std::string_view page, TSectionList& list, TNameList& names,
                            const ParseCallbacks& callbacks);
// A plain text file: every line preformatted, every byte literal.
ParseResult ParseTextFile(const std::string& path, TSectionList& list, TNameList& names);

}  // namespace preview
