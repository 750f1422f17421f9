// The left and right edges of a cell at each height: list levels push the left edge in by 35 pixels a
// level, and floating images push either edge in beside themselves.
#pragma once

#include <vector>

namespace preview {

constexpr int kListIndent = 35;
constexpr int kUnbounded = 1 << 30;
constexpr int kNoFloats = -1;

struct IndentRec {
  int x = 0;  // offset from the edge: positive on the left, negative on the right
  int top = 0;
  int bottom = kUnbounded;
  int level = 0;  // 0 for a floating image, 1.. for a list level
};

class IndentManager {
 public:
  void Reset(int leftEdge, int rightEdge);

  // Opens a record per new list level at y, or closes the deeper ones at y - 1.
  void SetLevel(int level, int y);
  int LeftIndent(int y) const;
  int RightSide(int y) const;
  // A floating image from top to bottom against the current indent on that side.
  void AddLeftFloat(int width, int top, int bottom);
  void AddRightFloat(int width, int top, int bottom);
  // The lowest bottom of the floats on the left or on the right; kNoFloats when there are none.
  int LeftFloatBottom() const { return leftFloatBottom_; }
  int RightFloatBottom() const { return rightFloatBottom_; }
  // The lowest bottom of the left floats below y that reach further right than level's indent, or kNoFloats.
  int LeftFloatBottomBeyond(int level, int y) const;

 private:
  int leftEdge_ = 0;
  int rightEdge_ = 0;
  int level_ = 0;
  std::vector<IndentRec> left_;
  std::vector<IndentRec> right_;
  int leftFloatBottom_ = kNoFloats;
  int rightFloatBottom_ = kNoFloats;
};

}  // namespace preview
