// BackgroundCommand: worker lines in order and in batches before the end, questions on the
// window's thread, failures as status lines, one at a time, and going away mid-question.
#include "ui/app/background_command.h"

#include <gtest/gtest.h>

#include <QListView>
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <stdexcept>

#include "common/scripted_prompts.h"
#include "ui/common/string_list_model.h"

namespace tallimar::ui {
namespace {

using Lines = std::vector<std::string>;

class BackgroundCommandTest : public ::testing::Test {
 protected:
  BackgroundCommandTest() {
    statusView.setModel(&statusModel);
    listView.setModel(&listModel);
  }
  // Runs the job to its end; true when whenDone ran.
  bool runToEnd(BackgroundCommand& command, BackgroundCommand::Job job) {
    bool done = false;
    QEventLoop loop;
    EXPECT_TRUE(command.start(std::move(job), [&] {
      done = true;
      linesAtEnd = listModel.lines().size();
      loop.quit();
    }));
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!done) loop.exec();
    return done;
  }
  BackgroundCommand::Views views(common::Prompts& asking) {
    return {asking, statusModel, statusView, listModel, listView};
  }

  common::ScriptedPrompts prompts;
  StringListModel statusModel;
  StringListModel listModel;
  QListView statusView;
  QListView listView;
  std::size_t linesAtEnd = 0;
};

TEST_F(BackgroundCommandTest, LinesArriveInOrderInBlocksAndTheEndComesLast) {
  BackgroundCommand command(views(prompts));
  int insertions = 0;  // to see that lines arrive in blocks
  QObject::connect(&listModel, &StringListModel::rowsInserted, [&insertions] { ++insertions; });
  constexpr std::size_t kBatches = 12, kBatch = engine::kCrossoverListBatch;
  Lines all;
  for (std::size_t k = 0; k < kBatches * kBatch; ++k) all.push_back("line " + std::to_string(k));
  ASSERT_TRUE(runToEnd(command, [&all](BackgroundCommand::Context& c) {
    c.status.append("first");
    c.list.clear();
    for (auto from = all.begin(); from < all.end(); from += kBatch)
      c.list.append(Lines(from, from + kBatch));
    c.status.append("last");
  }));
  EXPECT_EQ(statusModel.lines(), (Lines{"first", "last"}));
  EXPECT_EQ(statusView.currentIndex().row(), 1);
  EXPECT_EQ(linesAtEnd, all.size());  // all shown before the end
  EXPECT_EQ(listModel.lines(), all);
  EXPECT_LE(insertions, static_cast<int>(kBatches));
  EXPECT_GE(insertions, 2);  // a backlog is shown in more than one turn
  EXPECT_FALSE(command.running());
}

// Notes the thread each question is asked on and the status lines shown at that moment.
struct WatchingPrompts : common::ScriptedPrompts {
  common::Answer message(const std::string& title, const std::string& text,
                         common::MessageButtons buttons, common::MessageIcon icon) override {
    threads.push_back(QThread::currentThread());
    shown.push_back(status->lines());
    return ScriptedPrompts::message(title, text, buttons, icon);
  }
  const StringListModel* status = nullptr;
  std::vector<QThread*> threads;
  std::vector<Lines> shown;
};

TEST_F(BackgroundCommandTest, QuestionsAreAskedOnTheWindowsThreadAfterTheLinesBeforeThem) {
  WatchingPrompts watching;
  watching.status = &statusModel;
  watching.answers = {common::Answer::No};
  watching.saveAnswers = {std::string("/tmp/x")};
  BackgroundCommand command(views(watching));
  common::Answer answer = common::Answer::Ok;
  std::optional<std::string> saved;
  ASSERT_TRUE(runToEnd(command, [&](BackgroundCommand::Context& c) {
    c.status.append("before");
    answer = c.prompts.message("Tallimar", "Go on?", common::MessageButtons::YesNoCancel,
                               common::MessageIcon::None);
    saved = c.prompts.saveFile({});
    c.status.append("after");
  }));
  EXPECT_EQ(answer, common::Answer::No);
  EXPECT_EQ(saved, std::optional<std::string>("/tmp/x"));
  EXPECT_EQ(watching.threads, std::vector<QThread*>{QThread::currentThread()});
  EXPECT_EQ(watching.shown, std::vector<Lines>{Lines{"before"}});
  EXPECT_EQ(statusModel.lines(), (Lines{"before", "after"}));
}

TEST_F(BackgroundCommandTest, AFailureEndsTheCommandWithAStatusLine) {
  BackgroundCommand command(views(prompts));
  ASSERT_TRUE(runToEnd(command, [](BackgroundCommand::Context& c) {
    c.status.append("working");
    throw std::runtime_error("out of room");
  }));
  EXPECT_EQ(statusModel.lines(), (Lines{"working", "Command Failed: out of room"}));
}

TEST_F(BackgroundCommandTest, OneAtATimeAndGoingAwayAnswersAWaitingQuestionAsCancelled) {
  std::atomic<int> answer{-1};
  std::atomic<bool> progressStopped{false};
  {  // the question waits in the window's event queue, unanswered, when the command goes
    BackgroundCommand command(views(prompts));
    ASSERT_TRUE(command.start(
        [&](BackgroundCommand::Context& c) {
          answer = static_cast<int>(c.prompts.message(
              "Tallimar", "Wait", common::MessageButtons::YesNoCancel, common::MessageIcon::None));
          progressStopped = !c.progress(1, 2);
        },
        {}));
    EXPECT_FALSE(command.start([](BackgroundCommand::Context&) {}, {}));  // one at a time
    QThread::msleep(20);
  }
  EXPECT_EQ(answer, static_cast<int>(common::Answer::Cancel));
  EXPECT_TRUE(progressStopped);
  EXPECT_TRUE(prompts.asked.empty());  // never shown
}

}  // namespace
}  // namespace tallimar::ui
