#include "tools/icons/icons.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>
#include <ostream>

namespace bd::icons {

QImage RenderIcon(const QString& svg_path, int size) {
  QSvgRenderer renderer(svg_path);
  if (!renderer.isValid() || size <= 0) return {};
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, size, size));
  return image;
}

int MakeIconsMain(const std::vector<std::string>& args, std::ostream& err) {
  if (args.size() != 2) {
    err << "usage: bd_make_icons SVG OUTDIR\n";
    return 2;
  }
  const QString svg = QString::fromStdString(args[0]);
  const QDir out(QString::fromStdString(args[1]));
  for (const int size : kIconSizes) {
    const QImage icon = RenderIcon(svg, size);
    if (icon.isNull()) {
      err << "bd_make_icons: cannot read the SVG " << args[0] << "\n";
      return 2;
    }
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = out.filePath(folder + QStringLiteral("/burrow-dash.png"));
    if (!out.mkpath(folder) || !icon.save(path, "PNG")) {
      err << "bd_make_icons: cannot write " << path.toStdString() << "\n";
      return 1;
    }
  }
  return 0;
}

}  // namespace bd::icons
