// Indent records, kept only while they can still cover a line below: layout runs downwards, so a record
// that ended above the current line is dropped, which keeps the lookups short on long pages.
#include "preview/IndentManager.h"

#include <algorithm>

namespace preview {
namespace {

bool Covers(const IndentRec& r, int y) { return r.top <= y && y <= r.bottom; }

void DropEnded(std::vector<IndentRec>& side, int y) {
  std::erase_if(side, [y](const IndentRec& r) { return r.bottom < y; });
}

}  // namespace

void IndentManager::Reset(int leftEdge, int rightEdge) {
  leftEdge_ = leftEdge;
  rightEdge_ = rightEdge;
  level_ = 0;
  left_.clear();
  right_.clear();
  leftFloatBottom_ = rightFloatBottom_ = kNoFloats;
}

void IndentManager::SetLevel(int level, int y) {
  DropEnded(left_, y);
  DropEnded(right_, y);
  for (; level_ < level; ++level_)
    left_.push_back({LeftIndent(y) - leftEdge_ + kListIndent, y, kUnbounded, level_ + 1});
  if (level_ > level) {
    for (IndentRec& r : left_)
      if (r.level > level) r.bottom = std::min(r.bottom, y - 1);
    level_ = level;
  }
}

int IndentManager::LeftIndent(int y) const {
  int x = 0;
  for (const IndentRec& r : left_)
    if (Covers(r, y)) x = std::max(x, r.x);
  return leftEdge_ + x;
}

int IndentManager::RightSide(int y) const {
  int x = 0;
  for (const IndentRec& r : right_)
    if (Covers(r, y)) x = std::min(x, r.x);
  return rightEdge_ + x;
}

void IndentManager::AddLeftFloat(int width, int top, int bottom) {
  left_.push_back({LeftIndent(top) - leftEdge_ + width, top, bottom, 0});
  leftFloatBottom_ = std::max(leftFloatBottom_, bottom);
}

void IndentManager::AddRightFloat(int width, int top, int bottom) {
  right_.push_back({RightSide(top) - rightEdge_ - width, top, bottom, 0});
  rightFloatBottom_ = std::max(rightFloatBottom_, bottom);
}

int IndentManager::LeftFloatBottomBeyond(int level, int y) const {
  int bottom = kNoFloats;
  for (const IndentRec& r : left_)
    if (r.level == 0 && r.bottom >= y && r.x > level * kListIndent) bottom = std::max(bottom, r.bottom);
  return bottom;
}

}  // namespace preview
