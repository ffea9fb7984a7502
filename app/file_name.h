// The last component of a path: what follows its last separator.
#pragma once

#include <string_view>

namespace bd {

inline std::string_view FileNamePart(std::string_view path) {
  const auto separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace bd
