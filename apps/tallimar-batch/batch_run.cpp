// Running the commands of tallimar-batch against one workspace.
#include "batch_run.h"

#include <memory>
#include <ostream>

#include "batch_options.h"
#include "commands/open_datalog.h"
#include "commands/print_report.h"
#include "commands/raw_map_commands.h"
#include "commands/startup.h"
#include "commands/ve_map_commands.h"
#include "commands/ve_map_file_commands.h"
#include "commands/ve_tune_commands.h"
#include "common/prompts.h"
#include "ecu_run.h"
#include "plot/raw_map_plot.h"
#include "plot/ve_views.h"
#include "plot_png.h"
#include "settings/settings_io.h"
#include "settings/settings_store.h"
#include "user_settings_store.h"
#include "workspace/view_inputs.h"
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
// send (or send and burn), the exports, plots.
int runVeSteps(const BatchOptions& options, workspace::Workspace& ws, BatchPrompts& prompts,
               common::StatusLog& status, std::ostream& err) {
  if (options.ecuRead && !runEcu(EcuStep::Read, options, ws, prompts, status, err))
    return kExitFailed;
  if (options.importVe && !commands::importVeMapFile(ws, *options.importVe, status).ok())
    return kExitFailed;
  if (options.clearVe) (void)commands::clearLdMapCommand(ws);
  // Without a raw data map both commands log "No raw data map loaded" and refuse.
  if (options.filter && !commands::filterRawDatalogCommand(ws, status).ok()) return kExitFailed;
  if (options.calculate && !commands::calculateMapCommand(ws, status).ok()) return kExitFailed;
  if ((options.ecuSend || options.ecuBurn) &&
      !runEcu(options.ecuBurn ? EcuStep::SendAndBurn : EcuStep::Send, options, ws, prompts, status,
              err))
    return kExitFailed;
  if (options.exportVe && !commands::exportVeMapFile(ws, *options.exportVe, status).ok())
    return kExitFailed;
  if (options.exportMsq &&
      !commands::exportVeMapToTune(ws, options.exportMsq->first, options.exportMsq->second, status)
           .ok())
    return kExitFailed;
  std::string why;
  for (const auto& [name, path] : options.plots) {
    const auto drawn = plot::plotVeView(*plot::veViewFromName(name), workspace::viewInputs(ws));
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

// The report pages go to PDF files, whatever the "PrintPreview" setting says.
class PdfReportOutput : public commands::ReportOutput {
 public:
  explicit PdfReportOutput(std::string path) : m_path(std::move(path)) {}
  void preview(const commands::ReportPageBuilder& page) override { (void)print(page); }
  commands::PrintOutcome print(const commands::ReportPageBuilder& page) override {
    m_written = writeReportPdf(page, m_path, m_error);
    return m_written ? commands::PrintOutcome::Printed : commands::PrintOutcome::Failed;
  }
  bool written() const { return m_written; }
  const std::string& error() const { return m_error; }

 private:
  std::string m_path;
  std::string m_error;
  bool m_written = false;
};

// --report and --report-main, after every other step. A page with nothing to print is
// refused as the print commands refuse it ("Nothing to print").
int runReports(const BatchOptions& options, const workspace::Workspace& ws,
               const settings::SettingsStore& store, common::Prompts& prompts, std::ostream& err) {
  const auto report = [&](const std::string& path, auto printCommand) {
    PdfReportOutput output(path);
    (void)printCommand(output);
    if (!output.written() && !output.error().empty())
      err << "tallimar-batch: cannot write " << path << ": " << output.error() << '\n';
    return output.written();
  };
  for (const auto& [name, path] : options.reports) {
    const plot::VeView view = *plot::veViewFromName(name);
    if (!report(path, [&](PdfReportOutput& output) {
          return commands::PrintPlot(ws, view, store, prompts, output);
        }))
      return kExitFailed;
  }
  if (options.reportMain && !report(*options.reportMain, [&](PdfReportOutput& output) {
        return commands::PrintRawDataMap(ws, store, prompts, output);
      }))
    return kExitFailed;
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
  if (options->version) {
    out << "tallimar-batch " << TALLIMAR_VERSION_MAJOR << "." << TALLIMAR_VERSION_MINOR << "."
        << TALLIMAR_VERSION_PATCH << "\n";
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
  commands::StartupWindow noWindow;
  (void)commands::runStartup(*workspace, store, startupLines, noWindow);

  BatchPrompts prompts(err);
  StreamStatusLog status(err);
  StreamCrossoverList list(out, options->list);
  if (options->openHdmap) {
    prompts.nextOpen = {*options->openHdmap};
    if (!commands::openRawDataMap(*workspace, prompts, status).ok()) return kExitFailed;
  }
  if (!options->datalogs.empty()) {
    prompts.nextOpen = options->datalogs;
    const auto result = commands::openDatalog(*workspace, prompts, status, list);
    out << std::flush;
    if (!result.ok() || result.inputsRefused > 0) return kExitFailed;
  }
  if (options->saveHdmap) {
    prompts.nextSave = *options->saveHdmap;
    if (!commands::saveRawDataMap(*workspace, prompts, status).ok()) return kExitFailed;
  }
  if (options->saveCrossovers) {
    prompts.nextSave = *options->saveCrossovers;
    if (!commands::saveCrossoverPoints(*workspace, prompts, status).ok()) return kExitFailed;
  }
  const int veSteps = runVeSteps(*options, *workspace, prompts, status, err);
  if (veSteps != kExitDone) return veSteps;
  return runReports(*options, *workspace, store, prompts, err);
}

}  // namespace tallimar::batch
