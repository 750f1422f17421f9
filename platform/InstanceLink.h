// The other Quillmark programs the same person runs: a file already open in one of them is shown there
// rather than loaded a second time, where two copies could overwrite each other's changes.
#pragma once

#include <string>

namespace platform {

class InstanceLink {
 public:
  virtual ~InstanceLink() = default;
  // Whether another running program has path open; that program then brings its window forward.
  virtual bool ShowIfOpenElsewhere(const std::string& path) = 0;
};

}  // namespace platform
