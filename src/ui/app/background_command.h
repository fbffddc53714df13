// BackgroundCommand: runs one long command of the main window (reading datalogs, loading or
// saving the raw data map, the crossover export) on a worker thread, so that the window keeps
// painting and answering while it works.
//
// The command talks to the user as it would on the window's thread: its questions and file
// dialogs are asked on the window's thread while the worker waits for the answer; its status
// lines and crossover list lines are handed over in the order they were made and shown in
// batches every kDeliverIntervalMs, so that 200,000 list lines cost a few list updates, not
// one per line. One batch adds at most kListLinesPerBatch list lines; a longer backlog is
// shown batch by batch with the window's events handled in between, so the window never
// waits long for the list. While a command runs, the caller keeps everything else away from
// the data the command works on.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/prompts.h"
#include "common/status_log.h"
#include "engine/crossover_list.h"
#include "formats/datalog_reader.h"

class QListView;

namespace tallimar::ui {

class StringListModel;

class BackgroundCommand : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDeliverIntervalMs = 40;
  static constexpr std::size_t kListLinesPerBatch = 8192;

  // What a command works with on the worker thread.
  struct Context {
    common::Prompts& prompts;        // answered on the window's thread
    common::StatusLog& status;       // lines shown in the status list, in order
    engine::CrossoverList& list;     // lines shown in the crossover list, in order
    formats::ReadProgress progress;  // for the datalog reader; false once cancelled
  };
  using Job = std::function<void(Context& context)>;

  // Where the command's questions go and its lines are shown; all must outlive this object.
  struct Views {
    common::Prompts& prompts;
    StringListModel& statusModel;
    QListView& statusView;
    StringListModel& listModel;
    QListView& listView;
  };

  explicit BackgroundCommand(Views views, QObject* parent = nullptr);
  // Cancels a running command and waits for its thread to end.
  ~BackgroundCommand() override;

  // Starts `job` on a worker thread. `whenDone` runs on this object's thread once the job has
  // ended and all its lines are shown. Returns false, starting nothing, while a job runs.
  // An exception that escapes the job ends it with the status line "Command Failed: <what>".
  bool start(Job job, std::function<void()> whenDone);
  bool running() const { return m_running; }

  // Asks the running job to end as soon as it can: the read's progress callback returns
  // false from now on and a question waiting for the user is answered as cancelled.
  void cancel();

  // Shows all lines handed over so far (also done before every question to the user, so that
  // the lines before a question are in view when it is asked).
  void deliver();

 signals:
  // Progress of the file being read, in thousandths of its size.
  void progressChanged(int permille);
  // A question to the user (message box, file dialog) opens (true) or is answered (false).
  void asking(bool open);

 private:
  class WorkerPrompts;
  class WorkerStatus;
  class WorkerList;
  friend class WorkerPrompts;
  friend class WorkerStatus;
  friend class WorkerList;

  // One item for the window's thread, in the order the job made it.
  struct Handover {
    enum class Kind { Status, ListClear, ListLines };
    Kind kind = Kind::Status;
    std::string line;
    std::vector<std::string> lines;
  };

  void handOver(Handover item);
  void runJob(const Job& job);
  // Shows the oldest lines handed over, stopping once maxListLines list lines (or a little
  // more: blocks are not cut) were added; true when more wait.
  bool deliverBatch(std::size_t maxListLines);
  // Shows the next batch and, when more wait, comes back for them once pending events ran.
  void deliverInTurns();
  void finish();
  void complete();
  void tick();

  Views m_views;
  std::thread m_thread;
  bool m_running = false;
  std::function<void()> m_whenDone;
  QTimer m_timer;

  std::mutex m_mutex;  // guards m_pending and the answers of questions in flight
  std::condition_variable m_answered;
  std::deque<Handover> m_pending;
  std::atomic<bool> m_cancelled{false};
  std::atomic<std::uint64_t> m_bytesDone{0};
  std::atomic<std::uint64_t> m_bytesTotal{0};
  int m_lastPermille = -1;
  bool m_turnQueued = false;  // a deliverInTurns call waits in the event queue
  bool m_finishing = false;   // the job has ended; its last lines are being shown
};

}  // namespace tallimar::ui
