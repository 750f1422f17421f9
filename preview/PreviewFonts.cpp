// The size tables and the rounding every scaled value of a page uses.
#include "preview/PreviewFonts.h"

#include <algorithm>
#include <array>

namespace preview {
namespace {

constexpr std::array<int, 7> kNormalSizes = {8, 10, 12, 14, 18, 24, 36};
constexpr std::array<int, 7> kPreSizes = {7, 8, 10, 12, 15, 20, 30};
constexpr std::array<int, 7> kHeadingPoints = {12, 24, 18, 15, 12, 10, 8};  // level 0 first

}  // namespace

int MulDivRound(long long a, long long b, long long c) {
  if (c == 0) return 0;
  long long product = a * b;
  if (c < 0) product = -product, c = -c;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

int SizeOfIndex(int index, bool preformatted) {
  const auto& table = preformatted ? kPreSizes : kNormalSizes;
  return table[std::clamp(index, 1, 7) - 1];
}

std::optional<int> IndexOfSize(int points) {
  for (int i = 0; i < 7; ++i)
    if (kNormalSizes[i] == points) return i + 1;
  return std::nullopt;
}

int HeadingPoints(int level) { return kHeadingPoints[level >= 1 && level <= 6 ? level : 0]; }

}  // namespace preview
