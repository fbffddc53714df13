// "Filter Raw Datalog" on a worker thread. The filtering works on its own copies of the raw
// data map, the table and the settings, so the window stays responsive (and may go on using
// the shared tables) while the lines are fitted; the window shows each finished line as it
// arrives and takes the result over on its own thread when the run completes.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "commands/command_result.h"
#include "common/status_log.h"
#include "plot/spline_view.h"
#include "vemap/raw_filter.h"
#include "workspace/workspace.h"

namespace tallimar::ui {

class FilterRun : public QObject {
  Q_OBJECT
 public:
  // One finished line, copied out of the worker for the preview.
  struct Line {
    plot::FilterStep step = plot::FilterStep::AlongMap;
    int line = 0;
    bool fitted = false;
    std::vector<plot::CurvePoint> controlPoints;
    std::vector<plot::CurvePoint> curve;
  };

  // A line as the filter reports it, copied for the window's thread.
  static Line copyLine(const vemap::FilterLine& line);

  // Copies what the filtering reads from `workspace`.
  explicit FilterRun(const workspace::Workspace& workspace, QObject* parent = nullptr);
  // Stops a run still going (its result is dropped) and waits for the worker.
  ~FilterRun() override;

  void start();
  bool running() const { return m_thread.joinable(); }

  // The lines finished since the last call, in order.
  std::vector<Line> takeLines();

  // After `finished`: the run's status lines go to `log`; a completed run replaces the
  // filtered data map of `workspace` and sets its filtered-map-present flag. Returns whether
  // the run completed.
  bool commit(workspace::Workspace& workspace, common::StatusLog& log);

 signals:
  void linesReady();  // coalesced: one signal for any number of waiting lines
  void finished();

 private:
  bool report(const vemap::FilterLine& line);
  void finish();

  std::unique_ptr<workspace::Workspace> m_scratch;
  common::VectorStatusLog m_lines;
  commands::CommandResult m_result = commands::CommandResult::cancelled();
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_signalled{false};
  std::mutex m_mutex;
  std::vector<Line> m_waiting;
};

}  // namespace tallimar::ui
