// What the scanners share outside the scanning loop.
#include "highlighters/LineScanner.h"

namespace highlighters {

std::unique_ptr<TqeHighLightAttributes> NewAttribute(std::string name, platform::FontStyle style) {
  auto attribute = std::make_unique<TqeHighLightAttributes>(std::move(name));
  attribute->SetStyle(style);
  return attribute;
}

}  // namespace highlighters
