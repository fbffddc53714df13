// The QPainter renderer: the pixels a DrawList becomes on an image, a PNG file and a PDF.
#include "ui/plot/draw_list_painter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <limits>

#include "plot/raw_map_plot.h"
#include "ui/plot/png_export.h"

namespace tallimar::common {
void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}
}  // namespace tallimar::common

namespace tallimar::ui {
namespace {

using plot::Box;
using plot::DrawList;
using plot::Line;
using plot::PenMode;
using plot::Rgb;

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0},
    kMagenta{255, 0, 255};

Rgb pixel(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

DrawList tenByTen() {
  DrawList list;
  list.widthTwips = 1500;  // 100 x 100 pixels at 96 dpi
  list.heightTwips = 1500;
  list.scale = {0, 0, 10, 10};
  return list;
}

TEST(DrawListPainter, BoxesLandOnTheirUserCoordinatesAndTileWithoutGaps) {
  DrawList list = tenByTen();
  list.add(Box{2, 2, 5, 5, kRed});
  // Three boxes with edges between pixels: together they must cover 10..40 with no gap.
  list.add(Box{1, 7, 1 + 1.0 / 3, 8, kGreen});
  list.add(Box{1 + 1.0 / 3, 7, 1 + 2.0 / 3, 8, kMagenta});
  list.add(Box{1 + 2.0 / 3, 7, 2, 8, kGreen});
  const QImage image = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(image, 20, 20), kRed);
  EXPECT_EQ(pixel(image, 49, 49), kRed);
  EXPECT_EQ(pixel(image, 50, 35), kWhite);
  EXPECT_EQ(pixel(image, 35, 50), kWhite);
  EXPECT_EQ(pixel(image, 19, 35), kWhite);
  for (int x = 10; x < 20; ++x) EXPECT_NE(pixel(image, x, 75), kWhite) << x;
  EXPECT_EQ(pixel(image, 9, 75), kWhite);
  EXPECT_EQ(pixel(image, 20, 75), kWhite);
}

TEST(DrawListPainter, NegativeHeightScaleHasYGrowingUpwards) {
  DrawList list = tenByTen();
  list.scale = {0, 10, 10, -10};
  list.add(Box{0, 0, 1, 1, kRed});
  const QImage image = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(image, 5, 95), kRed);
  EXPECT_EQ(pixel(image, 5, 5), kWhite);
}

TEST(DrawListPainter, PaintsOnlyInsideTheTargetRectangle) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(QColor(128, 128, 128));
  DrawList list = tenByTen();
  list.add(Box{-5, -5, 15, 15, kRed});  // larger than the surface
  list.add(Line{-100, 5, 100, 5, kBlack, 3});
  QPainter painter(&image);
  paintDrawList(painter, list, QRectF(25, 25, 50, 50));
  painter.end();
  EXPECT_EQ(pixel(image, 30, 30), kRed);
  EXPECT_EQ(pixel(image, 50, 50), kBlack);
  EXPECT_EQ(pixel(image, 24, 50), (Rgb{128, 128, 128}));
  EXPECT_EQ(pixel(image, 80, 50), (Rgb{128, 128, 128}));
  EXPECT_EQ(pixel(image, 50, 76), (Rgb{128, 128, 128}));
}

TEST(DrawListPainter, MergePenNotLinesInvertWhatIsUnderThemAndTwiceRestoreIt) {
  DrawList list = tenByTen();
  list.add(Box{0, 0, 10, 5, kGreen});
  const Line across{5.05, 0, 5.05, 10, kBlack, 1, PenMode::MergePenNot};
  list.add(across);
  QImage once = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(once, 50, 20), kMagenta);  // NOT green
  EXPECT_EQ(pixel(once, 50, 80), kBlack);    // NOT white
  EXPECT_EQ(pixel(once, 40, 20), kGreen);
  list.add(across);
  QImage twice = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(twice, 50, 20), kGreen);
  EXPECT_EQ(pixel(twice, 50, 80), kWhite);
  // (NOT pen) OR surface: a black pen paints white, a white pen leaves the surface alone.
  DrawList mergeNot = tenByTen();
  mergeNot.add(Box{0, 0, 10, 10, kGreen});
  mergeNot.add(Line{5.05, 0, 5.05, 10, kBlack, 1, PenMode::MergeNot});
  mergeNot.add(Line{2.05, 0, 2.05, 10, kWhite, 1, PenMode::MergeNot});
  const QImage m = renderDrawList(mergeNot, QSize(100, 100));
  EXPECT_EQ(pixel(m, 50, 50), kWhite);
  EXPECT_EQ(pixel(m, 20, 50), kGreen);
}

TEST(DrawListPainter, TheMainPlotExampleCellShowsTealWhereItBelongs) {
  settings::Settings s;  // 1200..10000 rev/min, 100 kPa
  engine::RawDataMap raw;
  raw.at(30, 80).average = 65;
  raw.at(5, 50).average = 95;  // below RPMMin: off the surface
  const DrawList list = plot::rawMapPlot(raw, s);
  const QSize size = laidOutSizePixels(list);
  ASSERT_EQ(size, QSize(300, 167));
  const QImage image = renderDrawList(list, size);
  // x 30..31.96 of 12..100 is pixels 61.4..68.1; y 20..21 of 0..100 is 33.4..35.1.
  EXPECT_EQ(pixel(image, 64, 34), (Rgb{0, 128, 128}));
  EXPECT_EQ(pixel(image, 60, 34), kWhite);
  EXPECT_EQ(pixel(image, 69, 34), kWhite);
  EXPECT_EQ(pixel(image, 64, 32), kWhite);
  int coloured = 0;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) coloured += pixel(image, x, y) != kWhite;
  EXPECT_EQ(coloured, 7 * 2);  // the one box; the off-surface cell leaves no trace
}

TEST(DrawListPainter, TextIsDrawnAtItsAnchor) {
  DrawList list = tenByTen();
  plot::Text text{5, 5, "MMMM", kBlack};
  text.pointSize = 12;
  text.anchor = plot::TextAnchor::Centre;
  list.add(text);
  const QImage image = renderDrawList(list, QSize(100, 100));
  int inside = 0, outside = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      if (pixel(image, x, y) == kWhite) continue;
      (x > 20 && x < 80 && y > 35 && y < 65 ? inside : outside)++;
    }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST(DrawListPainter, DegenerateScalesAndWildCoordinatesLeaveTheBackground) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  DrawList list = tenByTen();
  list.add(Box{nan, 0, 5, 5, kRed});
  list.add(Line{0, inf, 5, 5, kRed});
  list.add(plot::Circle{1e300, 5, 1, kRed});
  list.add(plot::Text{-1e300, 5, "x", kRed});
  list.add(Box{-1e300, 9, 1e300, 1e300, kGreen});  // reaches into the surface: rows 90..99
  const QImage image = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(image, 30, 30), kWhite);
  EXPECT_EQ(pixel(image, 50, 95), kGreen);
  list.scale.width = 0;
  const QImage flat = renderDrawList(list, QSize(100, 100));
  EXPECT_EQ(pixel(flat, 50, 95), kWhite);
  EXPECT_TRUE(renderDrawList(list, QSize(0, 10)).isNull());
}

TEST(DrawListPainter, PrinterLikeDevicesGetMergeLinesInTheirColourOverTheBackground) {
  // A PDF device has no raster operations; the page must still come out.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    QPainter painter(&pdf);
    DrawList list = tenByTen();
    list.add(Box{0, 0, 5, 5, kGreen});
    list.add(Line{5, 0, 5, 10, kBlack, 2, PenMode::MergePenNot});
    paintDrawList(painter, list, QRectF(0, 0, pdf.width(), pdf.height()));
  }
  EXPECT_GT(buffer.size(), 500);
}

TEST(PngExport, WritesWhatTheRendererPaintsAndRefusesWithoutTouchingFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  DrawList list = tenByTen();
  list.add(Box{1, 1, 4, 9, kRed});
  list.add(Line{0, 5, 10, 5, kBlack, 1, PenMode::MergePenNot});
  const QString path = dir.filePath("plot.png");
  QString error;
  ASSERT_TRUE(savePng(list, 120, 80, path, &error)) << error.toStdString();
  const QImage back(path);
  ASSERT_EQ(back.size(), QSize(120, 80));
  const QImage expected = renderDrawList(list, QSize(120, 80));
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), expected);
  EXPECT_EQ(pixel(back, 20, 20), kRed);

  EXPECT_FALSE(savePng(list, 0, 80, path, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(savePng(list, 20000, 80, path));
  EXPECT_EQ(QImage(path).size(), QSize(120, 80));  // the earlier picture is still whole
  EXPECT_FALSE(savePng(list, 10, 10, dir.filePath("missing/plot.png"), &error));
  EXPECT_FALSE(QFile::exists(dir.filePath("missing/plot.png")));

  ASSERT_TRUE(savePng(list, dir.filePath("laid-out.png")));
  EXPECT_EQ(QImage(dir.filePath("laid-out.png")).size(), QSize(100, 100));
}

}  // namespace
}  // namespace tallimar::ui
