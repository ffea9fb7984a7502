// The desktop icons: the SVG in assets/desktop drawn as PNG at the sizes
// desktops look for, into a hicolor-style folder tree for installing.
#pragma once

#include <QImage>
#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace bd::icons {

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The SVG drawn into a square ARGB picture of `size` pixels; a null image when
// the SVG cannot be read.
QImage RenderIcon(const QString& svg_path, int size);

// `bd_make_icons SVG OUTDIR`: writes OUTDIR/NxN/apps/burrow-dash.png for every
// size in kIconSizes. Returns 0 when all are written, 2 for bad arguments or an
// unreadable SVG, 1 when a file cannot be written.
int MakeIconsMain(const std::vector<std::string>& args, std::ostream& err);

}  // namespace bd::icons
