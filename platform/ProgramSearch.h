// Finding a desktop program by name along PATH.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The full path of the first of names found as an executable file in one of PATH's folders.
std::optional<std::string> FindProgram(std::initializer_list<std::string_view> names, std::string_view path);

}  // namespace platform
