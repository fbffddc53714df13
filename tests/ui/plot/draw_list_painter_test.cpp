// The QPainter renderer: the pixels a DrawList becomes on an image and in a PNG file.
#include "ui/plot/draw_list_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <limits>
#include <tuple>

#include "ui/plot/png_export.h"

namespace tallimar::ui {
namespace {

using plot::Box;
using plot::DrawList;
using plot::Line;
using plot::Rgb;

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0};

Rgb pixel(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}
void expectPixels(const QImage& image, std::initializer_list<std::tuple<int, int, Rgb>> pixels) {
  for (const auto& [x, y, colour] : pixels) EXPECT_EQ(pixel(image, x, y), colour) << x << "," << y;
}

// 100 x 100 pixels at 96 dpi, user units 0..10 both ways.
DrawList tenByTen() {
  DrawList list;
  list.widthTwips = list.heightTwips = 1500;
  list.scale = {0, 0, 10, 10};
  return list;
}

// Boxes (three with edges between pixels tile 10..20 without a gap; one framed), a filled
// circle, merge lines (MergePenNot inverts under a black pen, twice restores; MergeNot black
// paints white), and centred text that stays around its anchor.
TEST(DrawListPainter, EveryKindOfItemLandsOnItsUserCoordinates) {
  DrawList list = tenByTen();
  list.add(Box{0, 0, 10, 5, kGreen});
  for (int k = 0; k < 3; ++k) list.add(Box{1 + k / 3.0, 7, 1 + (k + 1) / 3.0, 8, Rgb{255, 0, 255}});
  list.add(plot::Circle{8, 8, 1, kRed});
  list.add(Box{7, 5, 9, 6.5, kRed, true, kBlack});  // pixels 70..89 x 50..64, framed inside
  const Line across{5.05, 0, 5.05, 10, kBlack, 1, plot::PenMode::MergePenNot};
  list.add(across);
  list.add(Line{2.05, 0, 2.05, 5, kBlack, 1, plot::PenMode::MergeNot});
  const QImage image = renderDrawList(list, QSize(100, 100));
  expectPixels(image, {{30, 30, kGreen}, {50, 20, Rgb{255, 0, 255}}, {50, 80, kBlack}});
  expectPixels(image, {{20, 20, kWhite}, {80, 80, kRed}, {9, 75, kWhite}, {20, 75, kWhite}});
  for (int x = 10; x < 20; ++x) EXPECT_NE(pixel(image, x, 75), kWhite) << x;
  expectPixels(image, {{70, 57, kBlack}, {89, 57, kBlack}, {80, 50, kBlack}, {80, 64, kBlack},
                       {80, 57, kRed}, {90, 57, kWhite}, {80, 65, kWhite}});
  list.add(across);
  expectPixels(renderDrawList(list, QSize(100, 100)), {{50, 20, kGreen}, {50, 80, kWhite}});

  DrawList words = tenByTen();
  words.add(plot::Text{5, 5, "MMMM", kBlack, "Arial", 12, false, plot::TextAnchor::Centre});
  const QImage written = renderDrawList(words, QSize(100, 100));
  int inside = 0, outside = 0;  // inked pixels around the anchor and elsewhere
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      if (pixel(written, x, y) != kWhite)
        ++(x > 20 && x < 80 && y > 35 && y < 65 ? inside : outside);
  EXPECT_TRUE(inside > 20 && outside == 0) << inside << " inside, outside " << outside;
}

// Nothing lands outside the target rectangle; items at coordinates that are not finite or
// far off are skipped; a degenerate scale or an empty picture draws nothing.
TEST(DrawListPainter, PaintsOnlyInsideTheTargetAndSkipsWildCoordinates) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(QColor(128, 128, 128));
  DrawList list = tenByTen();
  list.add(Box{-5, -5, 15, 15, kRed});
  list.add(Line{-100, 5, 100, 5, kBlack, 3});
  QPainter painter(&image);
  paintDrawList(painter, list, QRectF(25, 25, 50, 50));
  painter.end();
  const Rgb grey{128, 128, 128};
  expectPixels(image, {{30, 30, kRed}, {50, 50, kBlack}, {24, 50, grey}, {50, 76, grey}});

  DrawList wild = tenByTen();
  wild.add(Box{std::numeric_limits<double>::quiet_NaN(), 0, 5, 5, kRed});
  wild.add(Line{0, std::numeric_limits<double>::infinity(), 5, 5, kRed});
  wild.add(plot::Circle{1e300, 5, 1, kRed});
  wild.add(plot::Text{-1e300, 5, "x", kRed});
  wild.add(Box{-1e300, 9, 1e300, 1e300, kGreen});  // reaches into the surface: rows 90..99
  expectPixels(renderDrawList(wild, QSize(100, 100)), {{30, 30, kWhite}, {50, 95, kGreen}});
  wild.scale.width = 0;
  expectPixels(renderDrawList(wild, QSize(100, 100)), {{50, 95, kWhite}});
  EXPECT_TRUE(renderDrawList(wild, QSize(0, 10)).isNull());
}

TEST(PngExport, WritesWhatTheRendererPaintsAndRefusesWithoutTouchingFiles) {
  QTemporaryDir dir;
  DrawList list = tenByTen();
  list.add(Box{1, 1, 4, 9, kRed});
  list.add(Line{0, 5, 10, 5, kBlack, 1, plot::PenMode::MergePenNot});
  const QString path = dir.filePath("plot.png");
  QString error;
  ASSERT_TRUE(savePng(list, 120, 80, path, &error)) << error.toStdString();
  EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32),
            renderDrawList(list, QSize(120, 80)));
  EXPECT_FALSE(savePng(list, 0, 80, path, &error) || error.isEmpty());
  EXPECT_FALSE(savePng(list, 20000, 80, path));
  EXPECT_EQ(QImage(path).size(), QSize(120, 80));  // the earlier picture is still whole
  EXPECT_FALSE(savePng(list, 10, 10, dir.filePath("missing/plot.png"), &error));
  EXPECT_FALSE(QFile::exists(dir.filePath("missing/plot.png")));
}

}  // namespace
}  // namespace tallimar::ui
