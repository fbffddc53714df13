// Running the commands of tallimar-batch against one workspace.
#include "batch_run.h"

#include <memory>
#include <ostream>

#include "batch_options.h"
#include "common/prompts.h"
#include "ecu_run.h"
#include "files/open_datalog.h"
#include "files/raw_map_commands.h"
#include "files/ve_map_file_commands.h"
#include "plot/raw_map_plot.h"
#include "plot/ve_views.h"
#include "plot_png.h"
#include "settings/settings_io.h"
#include "settings/settings_store.h"
#include "user_settings_store.h"
#include "vemap/ve_map_commands.h"
#include "workspace/startup.h"
#include "workspace/workspace.h"

namespace tallimar::batch {
namespace {

using common::Answer;
using common::MessageButtons;

// Answers the commands' questions from the command line: the append question with Yes (and
// the burn question as the ECU step says), each file dialog with the file named for the
// command. Boxes that only inform are shown on standard error, and so are the questions
// with their answers when echoQuestions is set.
class BatchPrompts : public common::Prompts {
 public:
  explicit BatchPrompts(std::ostream& err) : m_err(err) {}
  Answer message(const std::string&, const std::string& text, MessageButtons buttons,
                 common::MessageIcon) override {
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel) {
      if (echoQuestions)
        m_err << "Message: " << text << ' ' << (yesNoAnswer == Answer::Yes ? "Yes" : "No") << '\n';
      return yesNoAnswer;
    }
    m_err << "Message: " << text << '\n';
    return Answer::Ok;
  }
  std::vector<std::string> openFiles(const common::FileRequest&, bool) override {
    return std::exchange(nextOpen, {});
  }
  std::optional<std::string> saveFile(const common::FileRequest&) override {
    return std::exchange(nextSave, std::nullopt);
  }
  std::optional<common::Rgb> chooseColour(common::Rgb) override { return std::nullopt; }

  std::vector<std::string> nextOpen;
  std::optional<std::string> nextSave;
  Answer yesNoAnswer = Answer::Yes;
  bool echoQuestions = false;

 private:
  std::ostream& m_err;
};

class StreamStatusLog : public common::StatusLog {
 public:
  explicit StreamStatusLog(std::ostream& out) : m_out(out) {}
  void append(const std::string& line) override { m_out << line << '\n' << std::flush; }

 private:
  std::ostream& m_out;
};

// The crossover list as lines on a stream, or nowhere without --list.
class StreamCrossoverList : public engine::CrossoverList {
 public:
  StreamCrossoverList(std::ostream& out, bool enabled) : m_out(out), m_enabled(enabled) {}
  void clear() override {}
  void append(std::span<const std::string> lines) override {
    if (!m_enabled) return;
    for (const auto& line : lines) m_out << line << '\n';
  }

 private:
  std::ostream& m_out;
  bool m_enabled;
};

// The keys of the settings record: those loadSettings reads.
std::vector<std::string> settingKeys() {
  struct KeyRecorder : settings::SettingsStore {
    std::string get(const std::string&, const std::string&, const std::string& key,
                    const std::string& defaultText) const override {
      keys.push_back(key);
      return defaultText;
    }
    void save(const std::string&, const std::string&, const std::string&,
              const std::string&) override {}
    mutable std::vector<std::string> keys;
  } recorder;
  settings::Settings ignored;
  settings::loadSettings(recorder, ignored);
  return recorder.keys;
}

bool runEcu(EcuStep step, const BatchOptions& options, workspace::Workspace& ws,
            BatchPrompts& prompts, common::StatusLog& status, std::ostream& err) {
  prompts.echoQuestions = true;
  prompts.yesNoAnswer = step == EcuStep::SendAndBurn ? Answer::Yes : Answer::No;
  std::string why;
  const bool ok = runEcuStep(step, ws, *options.port, prompts, status, why);
  prompts.echoQuestions = false;
  prompts.yesNoAnswer = Answer::Yes;
  if (!why.empty()) err << "tallimar-batch: " << why << '\n';
  return ok;
}

// The VE table steps, in their fixed order: ECU read, import, clear, filter, calculate, ECU
// send (or send and burn), export, plots.
int runVeSteps(const BatchOptions& options, workspace::Workspace& ws, BatchPrompts& prompts,
               common::StatusLog& status, std::ostream& err) {
  if (options.ecuRead && !runEcu(EcuStep::Read, options, ws, prompts, status, err))
    return kExitFailed;
  if (options.importVe && !files::importVeMapFile(ws, *options.importVe, status).loaded)
    return kExitFailed;
  if (options.clearVe) vemap::clearLdMapCommand(ws);
  if (options.filter) {
    if (!ws.rawDataMapPresent) {
      status.append(vemap::kNoRawMapLine);
      return kExitFailed;
    }
    if (!vemap::filterRawDatalogCommand(ws, status).completed) return kExitFailed;
  }
  if (options.calculate) {
    if (!ws.rawDataMapPresent) {
      status.append(vemap::kNoRawMapLine);
      return kExitFailed;
    }
    vemap::calculateMapCommand(ws, status);
  }
  if ((options.ecuSend || options.ecuBurn) &&
      !runEcu(options.ecuBurn ? EcuStep::SendAndBurn : EcuStep::Send, options, ws, prompts, status,
              err))
    return kExitFailed;
  if (options.exportVe && !files::exportVeMapFile(ws, *options.exportVe, status))
    return kExitFailed;
  std::string why;
  for (const auto& [name, path] : options.plots) {
    const auto drawn = plot::plotVeView(*plot::veViewFromName(name), plot::viewInputs(ws));
    for (const auto& line : drawn.statusLines) status.append(line);
    if (!writePlotPng(drawn.drawing, path, why)) {
      err << "tallimar-batch: cannot write " << path << ": " << why << '\n';
      return kExitFailed;
    }
  }
  if (options.plotMain &&
      !writePlotPng(plot::rawMapPlot(ws.rawMap, ws.settings), *options.plotMain, why)) {
    err << "tallimar-batch: cannot write " << *options.plotMain << ": " << why << '\n';
    return kExitFailed;
  }
  return kExitDone;
}

int usageError(std::ostream& err, const std::string& message) {
  err << "tallimar-batch: " << message << "\n\n" << kUsage;
  return kExitUsage;
}

}  // namespace

int runBatch(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> keys = settingKeys();
  std::string error;
  const auto options = parseBatchOptions(arguments, keys, error);
  if (!options) return usageError(err, error);
  if (options->help) {
    out << kUsage;
    return kExitDone;
  }

  std::unique_ptr<settings::SettingsStore> base;
  if (options->userSettings) {
    base = openUserSettingsStore(error);
    if (!base) return usageError(err, error);
  } else {
    base = std::make_unique<settings::MemorySettingsStore>();
  }
  // --set values live in the overlay only: the user's store is never written.
  settings::OverlaySettingsStore store(*base);
  for (const auto& [key, value] : options->overrides)
    store.save(settings::kApplication, settings::kSection, key, value);
  // The workspace starts as the program's does (settings, factor tables, the VE table's
  // sizes and start-up bins); start-up's own status lines are not part of the batch output.
  auto workspace = std::make_unique<workspace::Workspace>();
  common::VectorStatusLog startupLines;
  workspace::StartupWindow noWindow;
  workspace::runStartup(*workspace, store, startupLines, noWindow);

  BatchPrompts prompts(err);
  StreamStatusLog status(err);
  StreamCrossoverList list(out, options->list);
  const auto done = [&](files::CommandResult result) {
    return result == files::CommandResult::Done;
  };

  if (options->openHdmap) {
    prompts.nextOpen = {*options->openHdmap};
    if (!done(files::openRawDataMap(*workspace, prompts, status))) return kExitFailed;
  }
  if (!options->datalogs.empty()) {
    prompts.nextOpen = options->datalogs;
    const auto result = files::openDatalog(*workspace, prompts, status, list);
    out << std::flush;
    if (!done(result.result) || result.filesRefused > 0) return kExitFailed;
  }
  if (options->saveHdmap) {
    prompts.nextSave = *options->saveHdmap;
    if (!done(files::saveRawDataMap(*workspace, prompts, status))) return kExitFailed;
  }
  if (options->saveCrossovers) {
    prompts.nextSave = *options->saveCrossovers;
    if (!done(files::saveCrossoverPoints(*workspace, prompts, status))) return kExitFailed;
  }
  return runVeSteps(*options, *workspace, prompts, status, err);
}

}  // namespace tallimar::batch
