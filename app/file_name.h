// The last component of a path: what follows its last '/'. A backslash is
// an ordinary character of a name on this system.
#pragma once

#include <string_view>

namespace bd {

inline std::string_view FileNamePart(std::string_view path) {
  const auto separator = path.rfind('/');
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace bd
