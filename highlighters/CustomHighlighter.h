// The scanner interface the editor drives one line at a time. A scanner sees one line; whatever must
// survive a line break lives in its range state, which the editor stores with every line.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace highlighters {

using RangeValue = std::uintptr_t;
using CharSet = std::bitset<256>;

class TqeCustomHighLighter {
 public:
  virtual ~TqeCustomHighLighter() = default;

  // Characters that make up words for word moves and double-click selection: by default 33 to 255.
  virtual CharSet WordChars() const;
  virtual bool AtLineEnd() const = 0;
  virtual RangeValue RangeState() const = 0;
  virtual void NextToken() = 0;
  // Keeps the text (the scanner reads it until the line's end) and scans the first token.
  virtual void StartLine(std::string_view text, int lineNumber) = 0;
  virtual void SetRangeState(RangeValue value) = 0;
  virtual void ResetRangeState() = 0;

  // Runs NextToken until the end-of-line token.
  void ScanToLineEnd() {
    while (!AtLineEnd()) NextToken();
  }
};

}  // namespace highlighters
