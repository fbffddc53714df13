// The wide-band factor creator window: "Create Table" writes the file from what the rows hold
// (the first file comes from the rows as loaded).
#include "ui/tools/wb_factor_window.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/scripted_prompts.h"
#include "workspace/workspace.h"

namespace tallimar::ui {
namespace {

TEST(WbFactorWindow, CreateTableWritesWhatTheRowsHold) {
  workspace::Workspace ws;
  common::ScriptedPrompts prompts;
  QTemporaryDir folder;
  ws.settings.incPath = folder.path().toStdString();
  WbFactorWindow window(ws, prompts, folder.path());
  QFile file(folder.filePath("diywbfactor.inc"));
  const auto createAndRead = [&] {
    window.findChild<QPushButton*>("Command1")->click();
    file.open(QIODevice::ReadOnly);
    const QString written = QString::fromLatin1(file.readAll());
    file.close();
    return written;
  };
  EXPECT_TRUE(createAndRead().contains("\tDB\t101T\t; 071 - 1.392\r\n"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_NE(prompts.asked[0].text.find(file.fileName().toStdString()), std::string::npos);

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
