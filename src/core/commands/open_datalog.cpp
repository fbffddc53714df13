// The "Open Datalog" command: datalogs -> crossover points -> raw data map.
#include "commands/open_datalog.h"

#include <filesystem>

#include "commands/raw_map_commands.h"
#include "commands/raw_map_revision.h"
#include "engine/crossover_detector.h"
#include "engine/raw_map_builder.h"
#include "formats/datalog_reader.h"

namespace tallimar::commands {
namespace {

using common::Answer;
using common::MessageButtons;
using common::MessageIcon;
using formats::DatalogLayout;

constexpr const char* kTitle = "Tallimar";

// Feeds the records of a read to crossover detection, and remembers a record the detector
// refused.
class DetectorSink : public formats::DatalogRecordSink {
 public:
  explicit DetectorSink(engine::CrossoverDetector& detector) : m_detector(detector) {}
  std::size_t take(std::span<const engine::DatalogRecord> records,
                   std::int64_t firstPosition) override {
    const std::size_t taken = m_detector.offerAll(records, firstPosition);
    if (taken < records.size()) refused = records[taken];
    return taken;
  }
  engine::DatalogRecord refused;

 private:
  engine::CrossoverDetector& m_detector;
};

enum class FileOutcome { Read, Refused, StopCommand };

struct FileContext {
  workspace::Workspace& workspace;
  common::Prompts& prompts;
  common::StatusLog& status;
  engine::CrossoverList& list;
  const CommandOptions& options;
};

std::string where(std::int64_t line, const std::string& name) {
  return "line " + std::to_string(line) + " of " + name;
}

// A file that gave no points: the crossover points are emptied, as after a failed read.
FileOutcome refuseFile(const FileContext& c, const std::vector<std::string>& boxes,
                       const std::string& detail) {
  for (const auto& text : boxes)
    c.prompts.message(kTitle, text, MessageButtons::Ok, MessageIcon::Stop);
  if (!boxes.empty()) c.status.append("DataLog Read Error");
  c.status.append(detail);
  c.workspace.crossovers.clear();
  return FileOutcome::Refused;
}

std::string missingHeaderBox(DatalogLayout layout) {
  return layout == DatalogLayout::Full ? "Invalid Datalog File; Missing Header in First Line"
                                       : "Invalid Datalog File; Missing Header";
}

std::string missingHeaderDetail(DatalogLayout layout, const std::string& name) {
  switch (layout) {
    case DatalogLayout::NoLineFeed:
      return where(1, name) + " does not start with a \"Seconds\" column";
    case DatalogLayout::Classic:
      return where(1, name) + " does not begin with \"Seconds\"";
    case DatalogLayout::Full:
      return where(1, name) + " does not begin with \"Time\"";
    case DatalogLayout::Msl:
      return name + " has no header with Time, RPM and MAP columns in its first lines";
  }
  return {};
}

// For a named-column log: how many samples were read and why some took no part.
void reportSamples(const FileContext& c, const std::string& name,
                   const formats::DatalogRead& read) {
  for (const std::string& warning : read.warnings) c.status.append(name + " " + warning);
  // Two short lines, so that the window's status list shows them whole.
  c.status.append("Samples Read: " + std::to_string(read.entries) +
                  " (running below RPMMin: " + std::to_string(read.belowRpmMin) + ")");
  c.status.append("Skipped: " + std::to_string(read.statusSkipped) +
                  " (warm-up, cranking, after-start, enrichment), " +
                  std::to_string(read.gapLines) + " gaps");
}

// Reads one datalog and replaces the crossover points with its points. `lines` receives the
// file line of each point.
FileOutcome readOneDatalog(const FileContext& c, const std::string& path,
                           std::vector<std::int64_t>& lines) {
  const std::string name = fileNameOf(path);
  const auto probe = formats::probeDatalog(path);
  if (!probe) return refuseFile(c, {"DataLog Read Failed"}, name + " " + probe.reason());
  if (!probe->layout) {
    return refuseFile(
        c, {},
        "DataLog Not Read: " + where(1, name) + " begins with neither \"Seconds\" nor \"Time\"");
  }
  const DatalogLayout layout = *probe->layout;
  c.status.append(std::string(formats::layoutStatusLine(layout)));
  std::error_code sizeError;
  const auto fileSize = std::filesystem::file_size(path, sizeError);
  if (c.options.progress && !c.options.progress(0, sizeError ? 0 : fileSize)) {
    c.status.append("DataLog Read Cancelled: " + name);
    return FileOutcome::StopCommand;
  }

  const auto& settings = c.workspace.settings;
  // Named-column logs carry each sample's crossing point in the record.
  engine::CrossoverDetector detector =
      layout == DatalogLayout::Msl
          ? engine::CrossoverDetector::againstSampleTargets(settings.rpmMin)
          : engine::CrossoverDetector(settings.o2Transfer, settings.rpmMin);
  DetectorSink sink(detector);
  const formats::DatalogReadOptions options{c.options.progress, settings.o2Transfer,
                                            settings.wbTargetAfr};
  const auto read = formats::readDatalog(path, layout, sink, options);
  if (!read) return refuseFile(c, {"DataLog Read Failed"}, name + " " + read.reason());
  using End = formats::DatalogRead::End;
  switch (read->end) {
    case End::Complete:
      break;
    case End::MissingHeader:
      return refuseFile(c, {missingHeaderBox(layout), "DataLog Read Failed"},
                        missingHeaderDetail(layout, name));
    case End::MissingColumn:
      return refuseFile(c, {}, "DataLog Read Error: " + name + " " + read->problem);
    case End::BadLine:
      c.status.append("DataLog Read Stopped at " + where(read->line, name) + ": " + read->problem);
      return FileOutcome::StopCommand;
    case End::SinkStopped:
      c.status.append("DataLog Read Stopped at " + where(read->line, name) + ": NewVE of Gve " +
                      std::to_string(sink.refused.gve) + " and Gego " +
                      std::to_string(sink.refused.gego) + " is out of range");
      return FileOutcome::StopCommand;
    case End::Cancelled:
      c.status.append("DataLog Read Cancelled: " + name);
      return FileOutcome::StopCommand;
  }
  engine::publishCrossovers(detector, c.workspace.crossovers, c.status, c.list);
  lines = detector.takePositions();
  for (std::int64_t& line : lines) line += read->firstRecordLine - 1;
  c.status.append("DataLog Entries Read: " + std::to_string(read->entries));
  if (layout == DatalogLayout::Msl) reportSamples(c, name, *read);
  return FileOutcome::Read;
}

// Adds the current crossover points to the raw data map. False when a point lay outside.
bool buildFromPoints(const FileContext& c, const std::string& path,
                     const std::vector<std::int64_t>& lines) {
  auto& ws = c.workspace;
  const engine::ReductionSettings reduction{ws.settings.veOutlierEnable,
                                            ws.settings.veOutlierSigma};
  const auto outside =
      engine::buildRawDataMap(ws.rawMap, ws.crossovers, reduction, c.status, c.list);
  if (!outside) return true;
  const engine::CrossoverPoint& point = ws.crossovers[*outside];
  const std::string at =
      *outside < lines.size() ? " at " + where(lines[*outside], fileNameOf(path)) : "";
  c.status.append("Crossover Array Stopped" + at + ": RPM " + std::to_string(point.rpm) +
                  " and MAP " + std::to_string(point.map) + " lie outside the raw data map");
  return false;
}

}  // namespace

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

CommandResult openDatalog(workspace::Workspace& workspace, common::Prompts& prompts,
                          common::StatusLog& status, engine::CrossoverList& list,
                          const CommandOptions& options) {
  CommandResult result = CommandResult::done();
  if (workspace.rawDataMapPresent) {
    const Answer answer = prompts.message(
        kTitle,
        "High Density VE Array already loaded, do you wish to append to the map? <No> to "
        "clear map, <Cancel> to cancel",
        MessageButtons::YesNoCancel, MessageIcon::None);
    if (answer == Answer::Cancel) return CommandResult::cancelled();
    if (answer == Answer::No) {
      (void)clearRawDataMapCommand(workspace, status, list);
      result.changed = true;
    }
  }
  common::FileRequest request;
  request.title = "Load Datalog";
  request.filter = "*.xls;*.msl";
  request.presetName = "*.xls";
  request.initialFolder =
      workspace.settings.incPath.empty() ? options.programFolder : workspace.settings.incPath;
  const std::vector<std::string> chosen = prompts.openFiles(request, true);
  if (chosen.empty()) {
    result.status = CommandStatus::Cancelled;
    return result;
  }

  list.clear();
  const FileContext context{workspace, prompts, status, list, options};
  const bool several = chosen.size() > 1;
  // The map changed once any file added points to it, also when a later file stops the run.
  bool mapChanged = false;
  const auto finish = [&](CommandStatus ending) {
    if (mapChanged) rawMapChanged(workspace, status);
    result.status = ending;
    return result;
  };
  for (const std::string& path : chosen) {
    if (several) {
      const std::string marker = "**** DataLog: " + fileNameOf(path) + " ****";
      list.append(std::span(&marker, 1));
      status.append("Reading DataLog: " + fileNameOf(path));
    }
    std::vector<std::int64_t> lines;
    const FileOutcome outcome = readOneDatalog(context, path, lines);
    if (outcome == FileOutcome::StopCommand) return finish(CommandStatus::Failed);
    if (outcome == FileOutcome::Refused) ++result.inputsRefused;
    const bool built = buildFromPoints(context, path, lines);
    mapChanged = mapChanged || !workspace.crossovers.empty();
    result.changed = result.changed || !workspace.crossovers.empty();
    if (!built) return finish(CommandStatus::Failed);
  }
  workspace.datalogPresent = true;
  if (workspace.crossovers.size() > 10) workspace.rawDataMapPresent = true;
  return finish(result.status);
}

}  // namespace tallimar::commands
