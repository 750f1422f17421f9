// A tiny scanner for the line-slot tests: "/*" opens a comment that "*/" closes; the comment is its range
// state. It counts the lines it is asked to scan.
#pragma once

#include <string>

#include "highlighters/CustomHighlighter.h"

class CommentScanner : public highlighters::TqeCustomHighLighter {
 public:
  bool AtLineEnd() const override { return run_ > line_.size(); }
  std::string_view TokenText() const override { return {}; }
  const highlighters::TqeHighLightAttributes* TokenAttribute() const override { return nullptr; }
  int TokenKind() const override { return 0; }
  int TokenPosition() const override { return 0; }
  highlighters::RangeValue RangeState() const override { return inComment_ ? 1 : 0; }
  void SetRangeState(highlighters::RangeValue v) override { inComment_ = (v & 0xFF) == 1; }
  void ResetRangeState() override { inComment_ = false; }
  void StartLine(std::string_view text, int) override {
    line_ = std::string(text);
    run_ = 0;
    ++linesScanned;
    NextToken();
  }
  // One token per byte pair or byte; the end-of-line token sits past the text.
  void NextToken() override {
    if (run_ >= line_.size()) {
      run_ = line_.size() + 1;
      return;
    }
    if (line_.compare(run_, 2, inComment_ ? "*/" : "/*") == 0) {
      inComment_ = !inComment_;
      run_ += 2;
    } else {
      ++run_;
    }
  }

  int linesScanned = 0;

 private:
  std::string line_;
  size_t run_ = 0;
  bool inComment_ = false;
};
