// Builds the sprite sheet PNG (576 x 480, 8-bit palette) from the text art.
//   bd_make_sprite_sheet ART_FOLDER OUTPUT.png
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "tools/sheet/sheet_builder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ART_FOLDER OUTPUT.png\n", argv[0]);
    return 2;
  }
  try {
    const bd::art::IndexedPicture picture =
        bd::art::ToIndexed(bd::art::BuildSpriteSheet(bd::art::ReadArtFolder(argv[1])));
    QImage image(picture.width, picture.height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const uint32_t colour : picture.colours)
      table.push_back(qRgb(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF));
    image.setColorTable(table);
    for (int y = 0; y < picture.height; ++y)
      std::copy_n(picture.indices.data() + size_t(y) * picture.width, picture.width, image.scanLine(y));
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
