#include "tools/planner/stage_text.h"

#include <sstream>

#include "stage/tile_chars.h"

namespace bd::planner {

std::optional<TStageGrid> ParseStageText(const std::string& text, std::string& error) {
  TStageGrid grid{};
  std::istringstream lines(text);
  std::string line;
  int row = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (row == kStageRows) {
      error = "more than " + std::to_string(kStageRows) + " rows";
      return std::nullopt;
    }
    if (line.size() != kStageColumns || line.find_first_not_of(kTileChars) != std::string::npos) {
      error = "row " + std::to_string(row) + " is not 16 cells of " + std::string(kTileChars);
      return std::nullopt;
    }
    for (int column = 0; column < kStageColumns; ++column) grid.at(column, row) = TileOfChar(line[column]);
    ++row;
  }
  if (row != kStageRows) {
    error = std::to_string(row) + " rows, a stage has " + std::to_string(kStageRows);
    return std::nullopt;
  }
  return grid;
}

}  // namespace bd::planner
