// tallimar-batch pictures and reports: the PNG against the plot drawn here, the PDF pages
// (turned into pictures with pdftoppm) showing the legend and the frame.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <cstdlib>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "plot/colour_scale.h"
#include "plot/raw_map_plot.h"
#include "support/datalog_generator.h"
#include "support/temp_dir.h"
#include "ui/plot/draw_list_painter.h"
#include "workspace/workspace.h"

namespace tallimar {
namespace {

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
  // A generated datalog of 20,000 lines.
  std::string drive() { return testsupport::writeDatalog(path("drive.xls"), 20000); }
};

TEST_F(TallimarBatchPlot, PngIsTheMainWindowsPlotOfTheMap) {
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
    // Eleven swatches, lowest band on top, in the colours of both scales.
    for (int k = 0; k < plot::kBandCount; ++k) {
      const plot::Rgb c = plot::kBandColours[static_cast<std::size_t>(k)];
      EXPECT_EQ(image.pixelColor(at(0.8375, 0.5125 + (k + 11.0 / 30) * 0.3975 / 11)),
                QColor(c.r, c.g, c.b))
          << name << " swatch " << k;
    }
    // The frame's right edge at 0.8 of the width, then white up to the legend.
    int darkest = 255;
    for (int dx = -2; dx <= 2; ++dx)
      darkest = std::min(darkest, qGray(image.pixel(at(0.8, 0.7) + QPoint(dx, 0))));
    EXPECT_LT(darkest, 55) << name;
    EXPECT_EQ(qGray(image.pixel(at(0.8125, 0.7))), 255) << name;
  }
}

TEST_F(TallimarBatchPlot, UnwritableReportFailsTheRunWithoutAFile) {
  const std::string target = path("no-such-folder/report.pdf");
  EXPECT_EQ(run("--no-user-settings '" + drive() + "' --report-main '" + target + "'"), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

}  // namespace
}  // namespace tallimar
