// Defaults shared by every scanner.
#include "highlighters/CustomHighlighter.h"

namespace highlighters {

CharSet TqeCustomHighLighter::WordChars() const {
  CharSet set;
  for (int c = 33; c <= 255; ++c) set.set(c);
  return set;
}

}  // namespace highlighters
