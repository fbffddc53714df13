// tallimar-batch --plot-main: the PNG is the main window's plot of the same map, pixel for
// pixel, and a picture that cannot be written fails the run without leaving a file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "commands/open_datalog.h"
#include "common/scripted_prompts.h"
#include "common/text_lines.h"
#include "plot/raw_map_plot.h"
#include "support/datalog_generator.h"
#include "ui/plot/draw_list_painter.h"
#include "workspace/workspace.h"

namespace tallimar {
namespace {

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

}  // namespace
}  // namespace tallimar
