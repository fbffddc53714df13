// The worker of "Filter Raw Datalog".
#include "ui/vemap/filter_run.h"

#include <QMetaObject>

#include "commands/ve_map_commands.h"

namespace tallimar::ui {
namespace {

std::vector<plot::CurvePoint> copyPoints(std::span<const vemap::Point> points) {
  std::vector<plot::CurvePoint> copy;
  copy.reserve(points.size());
  for (const vemap::Point& p : points) copy.push_back({p.x, p.y});
  return copy;
}

}  // namespace

FilterRun::FilterRun(const workspace::Workspace& workspace, QObject* parent)
    : QObject(parent), m_scratch(std::make_unique<workspace::Workspace>()) {
  m_scratch->settings = workspace.settings;
  m_scratch->veTable = workspace.veTable;
  m_scratch->rawMap = workspace.rawMap;
  m_scratch->rawDataMapPresent = workspace.rawDataMapPresent;
  m_scratch->rawMapRevision = workspace.rawMapRevision;
}

FilterRun::~FilterRun() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

void FilterRun::start() {
  if (m_thread.joinable()) return;
  m_thread = std::thread([this] {
    m_result = commands::filterRawDatalogCommand(
        *m_scratch, m_lines, [this](const vemap::FilterLine& line) { return report(line); });
    QMetaObject::invokeMethod(
        this, [this] { finish(); }, Qt::QueuedConnection);
  });
}

FilterRun::Line FilterRun::copyLine(const vemap::FilterLine& line) {
  Line copy;
  copy.step = line.step == 2 ? plot::FilterStep::AlongRpm : plot::FilterStep::AlongMap;
  copy.line = line.line;
  copy.fitted = line.fitted;
  if (line.fitted) {
    copy.controlPoints = copyPoints(line.controlPoints);
    copy.curve = copyPoints(line.curve);
  }
  return copy;
}

bool FilterRun::report(const vemap::FilterLine& line) {
  if (m_stop) return false;
  Line copy = copyLine(line);
  {
    const std::lock_guard lock(m_mutex);
    m_waiting.push_back(std::move(copy));
  }
  // One signal is enough for every line that arrives before the window takes them.
  if (!m_signalled.exchange(true)) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_signalled = false;
          emit linesReady();
        },
        Qt::QueuedConnection);
  }
  return !m_stop;
}

std::vector<FilterRun::Line> FilterRun::takeLines() {
  const std::lock_guard lock(m_mutex);
  return std::exchange(m_waiting, {});
}

void FilterRun::finish() {
  if (m_thread.joinable()) m_thread.join();
  emit finished();
}

bool FilterRun::commit(workspace::Workspace& workspace, common::StatusLog& log) {
  if (m_thread.joinable()) return false;
  const bool completed = m_result.ok();
  if (completed) {
    workspace.filteredMap = std::move(m_scratch->filteredMap);
    workspace.veTable.filteredMapPresent = m_scratch->veTable.filteredMapPresent;
    workspace.filteredFromRevision = m_scratch->filteredFromRevision;
  }
  for (const std::string& line : m_lines.lines) log.append(line);
  m_lines.lines.clear();
  return completed;
}

}  // namespace tallimar::ui
