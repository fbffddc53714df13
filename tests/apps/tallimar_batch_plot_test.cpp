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
#include <cstdlib>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "plot/colour_scale.h"
#include "plot/raw_map_plot.h"
#include "support/datalog_generator.h"
#include "support/temp_dir.h"
#include "ui/plot/draw_list_painter.h"
#include "workspace/workspace.h"

namespace tallimar {
namespace {

using Lines = std::vector<std::string>;

class TallimarBatchPlot : public testsupport::TempDirTest {
 protected:
  // Runs the program with a private configuration folder; returns its exit code.
  int run(const std::string& arguments) {
    const std::string command = "XDG_CONFIG_HOME='" + path("config") + "' '" +
                                TALLIMAR_BATCH_PROGRAM + "' " + arguments + " 2>'" +
                                path("err.txt") + "' >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  Lines errLines() { return common::splitLines(read(path("err.txt"))); }
  // A generated datalog of 20,000 lines.
  std::string drive() { return testsupport::writeDatalog(path("drive.xls"), 20000); }
};

TEST_F(TallimarBatchPlot, PngIsTheMainWindowsPlotOfTheMapOrNoFileAtAll) {
  const std::string datalog = drive();
  ASSERT_EQ(run("--no-user-settings '" + datalog + "' --plot-main '" + path("plot.png") + "'"), 0);

  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  prompts.openAnswers.push_back({datalog});
  common::VectorStatusLog status;
  engine::NullCrossoverList list;
  (void)commands::openDatalog(ws, prompts, status, list);
  const QImage expected =
      ui::renderDrawList(plot::rawMapPlot(ws.rawMap, ws.settings), QSize(300, 167));

  const QImage written(QString::fromStdString(path("plot.png")));
  ASSERT_EQ(written.size(), QSize(300, 167));
  EXPECT_EQ(written.convertToFormat(expected.format()), expected);
  EXPECT_TRUE(ws.rawDataMapPresent);  // a map to see

  const std::string target = path("no-such-folder/plot.png");
  EXPECT_EQ(run("--no-user-settings --plot-main '" + target + "'"), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

TEST_F(TallimarBatchPlot, ReportPagesShowTheLegendColoursAndTheFrame) {
  const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  ASSERT_EQ(run("--no-user-settings '" + drive() + "' --calculate --report raw-low '" +
                path("delta.pdf") + "' --report-main '" + path("main.pdf") + "'"),
            0);
  for (const std::string name : {"delta", "main"}) {
    ASSERT_EQ(std::system(("'" + pdftoppm.toStdString() + "' -r 100 -png -singlefile '" +
                           path(name + ".pdf") + "' '" + path(name) + "'")
                              .c_str()),
              0);
    const QImage image(QString::fromStdString(path(name + ".png")));
    ASSERT_EQ(image.size(), QSize(850, 1100)) << name;  // letter, quarter-inch margins
    // The pixel at a fraction u of the page's width and v of its height.
    const auto at = [](double u, double v) {
      return QPoint(static_cast<int>((0.25 + u * 8.0) * 100),
                    static_cast<int>((0.25 + v * 10.5) * 100));
    };
    const auto darkNear = [&](double u, double v) {
      int most = 0;
      for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
          most = std::max(most, 255 - qGray(image.pixel(at(u, v) + QPoint(dx, dy))));
      return most;
    };
    // Eleven swatches, lowest band on top, in the colours of both scales.
    for (int k = 0; k < plot::kBandCount; ++k) {
      const plot::Rgb c = plot::kBandColours[static_cast<std::size_t>(k)];
      EXPECT_EQ(image.pixelColor(at(0.8375, 0.5125 + (k + 11.0 / 30) * 0.3975 / 11)),
                QColor(c.r, c.g, c.b))
          << name << " swatch " << k;
    }
    // The frame from 0.05 to 0.8 of the width and from 0.5125 to 0.9125 of the height.
    for (double f = 0.05; f < 1; f += 0.1)
      for (const auto& [u, v] : {std::pair{0.05 + 0.75 * f, 0.5125},
                                 {0.05 + 0.75 * f, 0.9125},
                                 {0.05, 0.5125 + 0.4 * f},
                                 {0.8, 0.5125 + 0.4 * f}})
        EXPECT_GT(darkNear(u, v), 200) << name << " frame at " << u << ", " << v;
    // Between the frame and the legend the page is white: nothing runs over the legend.
    for (double v = 0.52; v < 0.9; v += 0.01)
      EXPECT_EQ(qGray(image.pixel(at(0.8125, v))), 255) << name << " gap " << v;
  }
}

TEST_F(TallimarBatchPlot, RefusedOrUnwritableReportLeavesOlderFilesAlone) {
  const std::string old = write("old.pdf", "an older report");
  // No raw data map: nothing to print, and the older file keeps its content.
  EXPECT_EQ(run("--no-user-settings --report-main '" + old + "'"), 1);
  EXPECT_EQ(errLines().front(), "Message: Nothing to print");
  EXPECT_EQ(read(old), "an older report");

  const std::string target = path("no-such-folder/report.pdf");
  EXPECT_EQ(run("--no-user-settings '" + drive() + "' --report-main '" + target + "'"), 1);
  const Lines err = errLines();
  ASSERT_FALSE(err.empty());
  EXPECT_NE(err.back().find("cannot write " + target), std::string::npos) << err.back();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

}  // namespace
}  // namespace tallimar
