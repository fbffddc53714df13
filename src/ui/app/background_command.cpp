// A long command on a worker thread, with its questions and lines handed to the window.
#include "ui/app/background_command.h"

#include <QListView>
#include <exception>
#include <memory>
#include <optional>

#include "ui/common/string_list_model.h"

namespace tallimar::ui {

// The command's prompts: each question runs on the window's thread, the worker waits.
class BackgroundCommand::WorkerPrompts : public common::Prompts {
 public:
  explicit WorkerPrompts(BackgroundCommand& owner) : m_owner(owner) {}

  common::Answer message(const std::string& title, const std::string& text,
                         common::MessageButtons buttons, common::MessageIcon icon) override {
    // Closing a box counts as Cancel (or No, or Ok), as for the user's own prompts.
    const common::Answer closed = buttons == common::MessageButtons::Ok ? common::Answer::Ok
                                  : buttons == common::MessageButtons::YesNo
                                      ? common::Answer::No
                                      : common::Answer::Cancel;
    return ask<common::Answer>(
        [=, &prompts = m_owner.m_views.prompts] {
          return prompts.message(title, text, buttons, icon);
        },
        closed);
  }
  std::vector<std::string> openFiles(const common::FileRequest& request, bool several) override {
    return ask<std::vector<std::string>>(
        [=, &prompts = m_owner.m_views.prompts] { return prompts.openFiles(request, several); },
        {});
  }
  std::optional<std::string> saveFile(const common::FileRequest& request) override {
    return ask<std::optional<std::string>>(
        [=, &prompts = m_owner.m_views.prompts] { return prompts.saveFile(request); },
        std::nullopt);
  }
  std::optional<common::Rgb> chooseColour(common::Rgb initial) override {
    return ask<std::optional<common::Rgb>>(
        [=, &prompts = m_owner.m_views.prompts] { return prompts.chooseColour(initial); },
        std::nullopt);
  }

 private:
  template <class Result>
  Result ask(std::function<Result()> question, Result ifCancelled) {
    if (m_owner.m_cancelled) return ifCancelled;
    struct Pending {
      std::optional<Result> answer;
    };
    auto pending = std::make_shared<Pending>();
    BackgroundCommand* owner = &m_owner;
    // Runs only while the owner lives: a question left behind by a cancelled command is
    // dropped with it.
    QMetaObject::invokeMethod(
        owner,
        [owner, pending, question = std::move(question)] {
          if (owner->m_cancelled) return;  // the worker no longer waits for an answer
          owner->deliver();
          emit owner->asking(true);
          Result answer = question();
          emit owner->asking(false);
          {
            const std::lock_guard lock(owner->m_mutex);
            pending->answer = std::move(answer);
          }
          owner->m_answered.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(m_owner.m_mutex);
    m_owner.m_answered.wait(lock, [&] { return pending->answer || m_owner.m_cancelled; });
    return pending->answer ? std::move(*pending->answer) : ifCancelled;
  }

  BackgroundCommand& m_owner;
};

class BackgroundCommand::WorkerStatus : public common::StatusLog {
 public:
  explicit WorkerStatus(BackgroundCommand& owner) : m_owner(owner) {}
  void append(const std::string& line) override {
    m_owner.handOver({Handover::Kind::Status, line, {}});
  }

 private:
  BackgroundCommand& m_owner;
};

class BackgroundCommand::WorkerList : public engine::CrossoverList {
 public:
  explicit WorkerList(BackgroundCommand& owner) : m_owner(owner) {}
  void clear() override { m_owner.handOver({Handover::Kind::ListClear, {}, {}}); }
  void append(std::span<const std::string> lines) override {
    if (lines.empty()) return;
    m_owner.handOver({Handover::Kind::ListLines, {}, {lines.begin(), lines.end()}});
  }

 private:
  BackgroundCommand& m_owner;
};

BackgroundCommand::BackgroundCommand(Views views, QObject* parent)
    : QObject(parent), m_views(views) {
  m_timer.setInterval(kDeliverIntervalMs);
  connect(&m_timer, &QTimer::timeout, this, &BackgroundCommand::tick);
}

BackgroundCommand::~BackgroundCommand() {
  cancel();
  if (m_thread.joinable()) m_thread.join();
}

bool BackgroundCommand::start(Job job, std::function<void()> whenDone) {
  if (m_running) return false;
  m_running = true;
  m_cancelled = false;
  m_bytesDone = 0;
  m_bytesTotal = 0;
  m_lastPermille = -1;
  m_whenDone = std::move(whenDone);
  m_timer.start();
  m_thread = std::thread([this, job = std::move(job)] { runJob(job); });
  return true;
}

void BackgroundCommand::cancel() {
  {
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
  }
  m_answered.notify_all();
}

void BackgroundCommand::runJob(const Job& job) {
  WorkerPrompts prompts(*this);
  WorkerStatus status(*this);
  WorkerList list(*this);
  Context context{prompts, status, list, [this](std::uint64_t done, std::uint64_t total) {
                    m_bytesTotal = total;
                    m_bytesDone = done;
                    return !m_cancelled;
                  }};
  try {
    job(context);
  } catch (const std::exception& failure) {
    status.append(std::string("Command Failed: ") + failure.what());
  } catch (...) {
    status.append("Command Failed");
  }
  QMetaObject::invokeMethod(this, &BackgroundCommand::finish, Qt::QueuedConnection);
}

void BackgroundCommand::handOver(Handover item) {
  const std::lock_guard lock(m_mutex);
  // Consecutive list lines travel in blocks of up to kListLinesPerBatch, so the list grows by
  // one insertion per block.
  if (item.kind == Handover::Kind::ListLines && !m_pending.empty() &&
      m_pending.back().kind == Handover::Kind::ListLines &&
      m_pending.back().lines.size() + item.lines.size() <= kListLinesPerBatch) {
    auto& into = m_pending.back().lines;
    into.insert(into.end(), std::make_move_iterator(item.lines.begin()),
                std::make_move_iterator(item.lines.end()));
    return;
  }
  m_pending.push_back(std::move(item));
}

bool BackgroundCommand::deliverBatch(std::size_t maxListLines) {
  std::vector<Handover> items;
  bool more = false;
  {
    const std::lock_guard lock(m_mutex);
    std::size_t listLines = 0;
    while (!m_pending.empty() && listLines < maxListLines) {
      if (m_pending.front().kind == Handover::Kind::ListLines)
        listLines += m_pending.front().lines.size();
      items.push_back(std::move(m_pending.front()));
      m_pending.pop_front();
    }
    more = !m_pending.empty();
  }
  bool statusAdded = false;
  bool listAdded = false;
  for (Handover& item : items) {
    switch (item.kind) {
      case Handover::Kind::Status:
        m_views.statusModel.append(std::move(item.line));
        statusAdded = true;
        break;
      case Handover::Kind::ListClear:
        m_views.listModel.clear();
        break;
      case Handover::Kind::ListLines:
        m_views.listModel.append(std::move(item.lines));
        listAdded = true;
        break;
    }
  }
  if (statusAdded) {
    const QModelIndex newest = m_views.statusModel.index(m_views.statusModel.rowCount() - 1);
    m_views.statusView.setCurrentIndex(newest);
    m_views.statusView.scrollTo(newest);
  }
  // Scrolling lays the whole list out again: once the backlog is shown is enough.
  if (listAdded && !more) m_views.listView.scrollToBottom();
  return more;
}

void BackgroundCommand::deliver() {
  while (deliverBatch(kListLinesPerBatch)) {
  }
}

void BackgroundCommand::deliverInTurns() {
  m_turnQueued = false;
  if (deliverBatch(kListLinesPerBatch)) {
    // A timer, not a posted call: the window's own timers and input get their turn first.
    m_turnQueued = true;
    QTimer::singleShot(1, Qt::PreciseTimer, this, &BackgroundCommand::deliverInTurns);
  } else if (m_finishing) {
    complete();
  }
}

void BackgroundCommand::tick() {
  if (!m_turnQueued) deliverInTurns();
  const std::uint64_t total = m_bytesTotal;
  const std::uint64_t done = m_bytesDone;
  const int permille =
      total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(done, total) * 1000 / total);
  if (permille != m_lastPermille) {
    m_lastPermille = permille;
    emit progressChanged(permille);
  }
}

void BackgroundCommand::finish() {
  if (m_thread.joinable()) m_thread.join();
  m_timer.stop();
  m_finishing = true;
  if (!m_turnQueued) deliverInTurns();
}

void BackgroundCommand::complete() {
  m_finishing = false;
  m_running = false;
  if (auto whenDone = std::exchange(m_whenDone, {})) whenDone();
}

}  // namespace tallimar::ui
