// Surfaces to and from Qt images: the sprite sheet out of the resources, and
// any surface written as PNG for review.
#pragma once

#include <QImage>
#include <QString>

#include "render/surface.h"

namespace bd::platform {

inline constexpr const char* kSpriteSheetResource = ":/burrow-dash/sprite_sheet.png";

// Fills the sheet surface from the picture built into the program; throws
// PlatformError if it is missing or of the wrong size.
void LoadSpriteSheet(TSurface& sprite_sheet);

// Copies an image of the surface's size into it; false if the sizes differ.
bool SurfaceFromImage(const QImage& image, TSurface& surface);

QImage SurfaceToImage(const TSurface& surface);

// Copies the surface into an RGB32 image of its size, reusing the image's pixels.
void CopySurfaceInto(const TSurface& surface, QImage& rgb32);

// Writes the surface as PNG, scaled up by a whole factor with sharp pixels.
bool SaveSurfacePng(const TSurface& surface, const QString& path, int scale = 1);

}  // namespace bd::platform
