// Pictures of every plot of a full synthetic workspace, for looking at them. Set
// TALLIMAR_PLOT_PNG_DIR to a folder to get main.png, view0.png .. view5.png and the legends
// there (at the laid-out size and at three times that size); without it the pictures are
// only painted and checked for colour.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "core/plot/plot_fixtures.h"
#include "plot/legend.h"
#include "plot/raw_map_plot.h"
#include "plot/ve_views.h"
#include "ui/plot/draw_list_painter.h"
#include "ui/plot/png_export.h"

namespace tallimar::ui {
namespace {

int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

TEST(PlotPictures, EveryViewOfAFullWorkspaceIsColourful) {
  workspace::Workspace ws;
  plot::fixtures::fillWorkspace(ws, 8);
  const QString folder = qEnvironmentVariable("TALLIMAR_PLOT_PNG_DIR");
  auto check = [&](const plot::DrawList& list, const QString& name, int minColours) {
    const QImage image = renderDrawList(list, laidOutSizePixels(list));
    EXPECT_GE(distinctColours(image), minColours) << name.toStdString();
    if (folder.isEmpty()) return;
    const QSize size = laidOutSizePixels(list);
    EXPECT_TRUE(savePng(list, QDir(folder).filePath(name + ".png")));
    EXPECT_TRUE(savePng(list, 3 * size.width(), 3 * size.height(),
                        QDir(folder).filePath(name + "-x3.png")));
  };
  check(plot::rawMapPlot(ws.rawMap, ws.settings), "main", 8);
  for (int v = 0; v < plot::kVeViewCount; ++v)
    check(plot::plotVeView(static_cast<plot::VeView>(v), plot::viewInputs(ws)).drawing,
          QString("view%1").arg(v), 4);
  check(plot::colourLegend(plot::LegendKind::Ve), "legend-ve", 12);
  check(plot::colourLegend(plot::LegendKind::VeDelta), "legend-delta", 12);
}

}  // namespace
}  // namespace tallimar::ui
