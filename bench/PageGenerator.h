// Deterministic benchmark inputs: a realistic HTML page of a given size, and a page of a given number of
// lines. The same seed always gives the same bytes.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// Nested tags with attributes, entities, comments over several lines, <% %> blocks, tables and lists.
std::string RealisticHtml(std::size_t bytes);

// A style sheet of `rules` rules for RealisticHtml's pages: classes, ids, tags, descendant and child
// steps, attribute tests, @media blocks, shorthands and !important, most matching something of the page.
std::string RealisticSheet(int rules);

// `lines` lines of about 50 bytes each, mixing markup and plain text, none leaving an open construct.
std::string LinePage(int lines);

// An RTF document of about `bytes` as word processors write them: font and colour tables, then paragraphs
// with runs of bold, italic, colours and sizes, and bulleted lists.
std::string WordProcessorRtf(std::size_t bytes);

// A GIF of one flat colour.
std::string SmallGif(int width, int height);

}  // namespace bench
