// PNG export of display lists.
#include "ui/plot/png_export.h"

#include <QImage>
#include <QSaveFile>

#include "common/atomic_file.h"
#include "ui/plot/draw_list_painter.h"

namespace tallimar::ui {

namespace {

constexpr int kMaxSidePixels = 16384;

bool fail(QString* error, const QString& reason) {
  if (error) *error = reason;
  return false;
}

}  // namespace

bool savePng(const plot::DrawList& list, int widthPx, int heightPx, const QString& path,
             QString* error) {
  if (widthPx < 1 || heightPx < 1 || widthPx > kMaxSidePixels || heightPx > kMaxSidePixels)
    return fail(error,
                QStringLiteral("Picture size %1 x %2 is out of range").arg(widthPx).arg(heightPx));
  const QImage image = renderDrawList(list, QSize(widthPx, heightPx));
  if (image.isNull()) return fail(error, QStringLiteral("Not enough memory for the picture"));
  // QSaveFile follows links and keeps the mode, but replaces a read-only file for root.
  if (const common::Outcome allowed = common::checkSaveTarget(path.toStdString()); !allowed)
    return fail(error, QString::fromStdString(allowed.reason()));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail(error, file.errorString());
  if (!image.save(&file, "PNG")) {
    file.cancelWriting();
    return fail(error, QStringLiteral("The picture could not be encoded"));
  }
  if (!file.commit()) return fail(error, file.errorString());
  return true;
}

bool savePng(const plot::DrawList& list, const QString& path, QString* error) {
  const QSize size = laidOutSizePixels(list);
  return savePng(list, size.width(), size.height(), path, error);
}

}  // namespace tallimar::ui
