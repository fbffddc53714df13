// tallimar-batch --plot-main: the PNG is the main window's plot of the same map, pixel for
// pixel, and a picture that cannot be written fails the run without leaving a file.
// --report and --report-main: the PDF pages, turned into pictures with pdftoppm, show the
// legend colours and the plot frame where the page puts them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "plot/colour_scale.h"
#include "plot/raw_map_plot.h"
#include "support/datalog_generator.h"
#include "ui/plot/draw_list_painter.h"
#include "workspace/workspace.h"

namespace tallimar {
namespace {

using Lines = std::vector<std::string>;

class TallimarBatchPlot : public ::testing::Test {
 protected:
  std::string path(const char* name) { return folder.filePath(name).toStdString(); }
  // Runs the program with a private configuration folder; returns its exit code.
  int run(const std::string& arguments) {
    const std::string command = "XDG_CONFIG_HOME='" + path("config") + "' '" +
                                TALLIMAR_BATCH_PROGRAM + "' " + arguments + " 2>'" +
                                path("err.txt") + "' >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  Lines errLines() {
    QFile file(folder.filePath("err.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return common::splitLines(file.readAll().toStdString());
  }
  QTemporaryDir folder;
};

TEST_F(TallimarBatchPlot, PngIsTheMainWindowsPlotOfTheMapOrNoFileAtAll) {
  const std::string datalog = path("drive.xls");
  testsupport::DatalogShape shape;
  shape.samples = 20000;
  testsupport::writeDatalog(datalog, shape);
  ASSERT_EQ(run("--no-user-settings '" + datalog + "' --plot-main '" + path("plot.png") + "'"), 0);

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({datalog});
  common::VectorStatusLog status;
  engine::NullCrossoverList list;
  (void)commands::openDatalog(ws, prompts, status, list);
  const QImage expected =
      ui::renderDrawList(plot::rawMapPlot(ws.rawMap, ws.settings), QSize(300, 167));

  const QImage written(folder.filePath("plot.png"));
  ASSERT_EQ(written.size(), QSize(300, 167));
  EXPECT_EQ(written.convertToFormat(expected.format()), expected);
  QImage blank = expected.copy();
  blank.fill(Qt::white);
  EXPECT_NE(expected, blank);  // the map is there

  const std::string target = path("no-such-folder/plot.png");
  EXPECT_EQ(run("--no-user-settings --plot-main '" + target + "'"), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

// The PDF page at 100 dots per inch (letter, quarter-inch margins: 850 x 1100 pixels), and
// where a point of the 5100 x 6600 page lands on it.
struct PdfPicture {
  QImage image;
  QPoint at(double u, double v) const {
    return {static_cast<int>((0.25 + u * 8.0 / 5100) * 100),
            static_cast<int>((0.25 + v * 10.5 / 6600) * 100)};
  }
  int darkness(QPoint p) const { return 255 - qGray(image.pixel(p)); }
};

TEST_F(TallimarBatchPlot, ReportPagesShowTheLegendColoursAndTheFrame) {
  const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  const std::string datalog = path("drive.xls");
  testsupport::DatalogShape shape;
  shape.samples = 20000;
  testsupport::writeDatalog(datalog, shape);
  ASSERT_EQ(run("--no-user-settings '" + datalog + "' --calculate --report raw-low '" +
                path("delta.pdf") + "' --report-main '" + path("main.pdf") + "'"),
            0);

  for (const char* name : {"delta", "main"}) {
    const std::string pdf = path((std::string(name) + ".pdf").c_str());
    const std::string png = path(name);
    ASSERT_EQ(std::system(("'" + pdftoppm.toStdString() + "' -r 100 -png -singlefile '" + pdf +
                           "' '" + png + "'")
                              .c_str()),
              0);
    PdfPicture page{QImage(QString::fromStdString(png + ".png"))};
    ASSERT_EQ(page.image.size(), QSize(850, 1100)) << name;
    // Eleven swatches, lowest band on top, in the colours of both scales.
    const double span = 0.3975 * 6600;
    for (int k = 0; k < plot::kBandCount; ++k) {
      const QPoint centre = page.at(0.8375 * 5100, 0.5125 * 6600 + k * span / 11 + span / 30);
      const plot::Rgb expected = plot::kBandColours[static_cast<std::size_t>(k)];
      EXPECT_EQ(page.image.pixelColor(centre), QColor(expected.r, expected.g, expected.b))
          << name << " swatch " << k;
    }
    // The frame: dark along its four edges, from 0.05 to 0.8 of the width and from 0.5125 to
    // 0.9125 of the height.
    const auto darkNear = [&](QPoint p) {
      int most = 0;
      for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) most = std::max(most, page.darkness(p + QPoint(dx, dy)));
      return most;
    };
    for (double f = 0.05; f < 1; f += 0.1) {
      const double u = (0.05 + 0.75 * f) * 5100;
      const double v = (0.5125 + 0.4 * f) * 6600;
      EXPECT_GT(darkNear(page.at(u, 0.5125 * 6600)), 200) << name << " top " << f;
      EXPECT_GT(darkNear(page.at(u, 0.9125 * 6600)), 200) << name << " bottom " << f;
      EXPECT_GT(darkNear(page.at(0.05 * 5100, v)), 200) << name << " left " << f;
      EXPECT_GT(darkNear(page.at(0.8 * 5100, v)), 200) << name << " right " << f;
    }
    // Between the frame and the legend the page is white: nothing runs over the legend.
    for (double v = 0.52; v < 0.9; v += 0.01)
      EXPECT_EQ(page.darkness(page.at(0.8125 * 5100, v * 6600)), 0) << name << " gap " << v;
  }
}

TEST_F(TallimarBatchPlot, RefusedOrUnwritableReportLeavesOlderFilesAlone) {
  const QString old = folder.filePath("old.pdf");
  {
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("an older report");
  }
  // No raw data map: nothing to print, and the older file keeps its content.
  EXPECT_EQ(run("--no-user-settings --report-main '" + old.toStdString() + "'"), 1);
  EXPECT_EQ(errLines().front(), "Message: Nothing to print");
  QFile file(old);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "an older report");

  const std::string target = path("no-such-folder/report.pdf");
  const std::string datalog = path("drive.xls");
  testsupport::writeDatalog(datalog, testsupport::DatalogShape{});
  EXPECT_EQ(run("--no-user-settings '" + datalog + "' --report-main '" + target + "'"), 1);
  const Lines err = errLines();
  ASSERT_FALSE(err.empty());
  EXPECT_NE(err.back().find("cannot write " + target), std::string::npos) << err.back();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

}  // namespace
}  // namespace tallimar
