// The wide-band factor creator window: "Create Table" writes the file from what the rows hold.
#include "ui/tools/wb_factor_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/scripted_prompts.h"
#include "ui/pictures.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

TEST(WbFactorWindow, CreateTableWritesWhatTheRowsHold) {
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  QTemporaryDir folder;
  ws.settings.incPath = folder.path().toStdString();  // the file goes where tables load from
  WbFactorWindow window(ws, prompts, folder.path());
  testing::savePicture(&window, "frmMakeWBFactor");
  const auto createAndRead = [&] {
    window.findChild<QPushButton*>("Command1")->click();
    QFile file(folder.filePath("diywbfactor.inc"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
  };
  EXPECT_TRUE(createAndRead().contains("\tDB\t101T\t; 071 - 1.392\r\n"));  // the rows as loaded
  EXPECT_EQ(prompts.asked.size(), 1u);

  // An edited row changes the file; the window stays open for the next try.
  window.afr(30)->selectAll();
  QTest::keyClicks(window.afr(30), "150");
  EXPECT_TRUE(createAndRead().contains("\tDB\t1239T\t; 147 - 2.882\r\n"));
  window.voltOut(5)->clear();
  EXPECT_TRUE(createAndRead().contains("\tDB\t1239T"));  // refused: the last file stays
  EXPECT_EQ(prompts.asked.back().text, "Not Enough Data Points");
}

}  // namespace
}  // namespace tallimar::ui
