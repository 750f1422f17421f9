// A small linear congruential generator and word lists, so benchmark inputs never live in the repository
// and the same seed always gives the same bytes.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>

namespace bench {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  unsigned Next(unsigned bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>((state_ >> 33) % bound);
  }

 private:
  std::uint64_t state_;
};

inline const char* const kWords[] = {"lorem", "ipsum", "dolor", "sit",  "amet",  "page",   "editor", "table", "value",
                                     "quill", "mark",  "text",  "link", "image", "script", "server", "block", "line"};

// count words of the list, blank-separated.
inline std::string Words(Random& r, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    if (i) s += ' ';
    s += kWords[r.Next(std::size(kWords))];
  }
  return s;
}

}  // namespace bench
