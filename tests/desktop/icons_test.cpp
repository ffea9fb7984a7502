// The desktop icons drawn from assets/desktop/burrow-dash.svg: every size
// fills its square with the picture, and failures are reported.
#include "tools/icons/icons.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <sstream>

namespace bd::icons {
namespace {

bool IsGold(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) > 150 && qBlue(pixel) < 100; }

TEST(DesktopIcons, EverySizeIsTheWholePictureScaledToFit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::ostringstream err;
  ASSERT_EQ(MakeIconsMain({BD_ICON_SVG, dir.path().toStdString()}, err), 0) << err.str();
  for (const int size : kIconSizes) {
    const QImage icon(dir.filePath(QStringLiteral("%1x%1/apps/burrow-dash.png").arg(size)));
    ASSERT_FALSE(icon.isNull()) << size << " px: missing or not a PNG";
    EXPECT_EQ(icon.size(), QSize(size, size));
    // The black backdrop reaches the top corners...
    for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size / 4)})
      EXPECT_EQ(icon.pixel(corner), qRgb(0, 0, 0)) << size << " px at " << corner.x() << "," << corner.y();
    // ...and the bricks the bottom ones: the picture fills the square.
    for (const QPoint corner : {QPoint(0, size - 1), QPoint(size - 1, size - 1)})
      EXPECT_EQ(qAlpha(icon.pixel(corner)), 255) << size << " px at " << corner.x() << "," << corner.y();
    // The gold pile sits in the left half, above the bricks.
    int gold = 0;
    for (int y = 0; y < size * 3 / 4; ++y)
      for (int x = 0; x < size / 2; ++x) gold += IsGold(icon.pixel(x, y)) ? 1 : 0;
    EXPECT_GT(gold, size * size / 64) << size << " px: no gold pile where the SVG draws it";
  }
}

TEST(DesktopIcons, AnUnreadableSvgOrAnUnwritableFolderFails) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::ostringstream err;
  EXPECT_EQ(MakeIconsMain({dir.filePath("missing.svg").toStdString(), dir.path().toStdString()}, err), 2);
  EXPECT_EQ(MakeIconsMain({BD_ICON_SVG}, err), 2);
  QFile blocker(dir.filePath("16x16"));  // a file where the first size's folder goes
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_EQ(MakeIconsMain({BD_ICON_SVG, dir.path().toStdString()}, err), 1);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace bd::icons
