// A vector with a movable gap: inserting or erasing next to the last edit costs O(1) amortised, so
// line-by-line edits in a file of a million lines do not move the whole line table each time.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <vector>

namespace editor {

template <typename T>
class GapVector {
 public:
  // invariant: items live in body_[0, gapStart_) and body_[gapStart_ + gapLength_, body_.size())
  std::size_t size() const { return body_.size() - gapLength_; }
  bool empty() const { return size() == 0; }

  T& operator[](std::size_t i) {
    assert(i < size());
    return body_[i < gapStart_ ? i : i + gapLength_];
  }
  const T& operator[](std::size_t i) const {
    assert(i < size());
    return body_[i < gapStart_ ? i : i + gapLength_];
  }

  void insert(std::size_t at, const T& item) {
    assert(at <= size());
    if (gapLength_ == 0) Grow();
    MoveGapTo(at);
    body_[gapStart_++] = item;
    --gapLength_;
  }

  void erase(std::size_t at) {
    assert(at < size());
    MoveGapTo(at);
    ++gapLength_;
  }

  void push_back(const T& item) { insert(size(), item); }

  void clear() {
    body_.clear();
    body_.shrink_to_fit();
    gapStart_ = gapLength_ = 0;
  }

  // Replaces the contents with items, leaving a small gap at the end for appends.
  void assign(std::vector<T>&& items) {
    body_ = std::move(items);
    gapStart_ = body_.size();
    gapLength_ = 0;
  }

 private:
  void MoveGapTo(std::size_t at) {
    if (at < gapStart_) {
      std::move_backward(body_.begin() + at, body_.begin() + gapStart_, body_.begin() + gapStart_ + gapLength_);
    } else if (at > gapStart_) {
      std::move(body_.begin() + gapStart_ + gapLength_, body_.begin() + at + gapLength_, body_.begin() + gapStart_);
    }
    gapStart_ = at;
  }

  void Grow() {
    std::size_t extra = std::max<std::size_t>(16, body_.size() / 8);
    std::size_t tail = body_.size() - gapStart_;  // the gap is empty here
    body_.resize(body_.size() + extra);
    std::move_backward(body_.begin() + gapStart_, body_.begin() + gapStart_ + tail, body_.end());
    gapLength_ = extra;
  }

  std::vector<T> body_;
  std::size_t gapStart_ = 0;
  std::size_t gapLength_ = 0;
};

}  // namespace editor
