// Parsing the command line of tallimar-batch.
#include "batch_options.h"

#include <algorithm>

#include "plot/ve_views.h"

namespace tallimar::batch {

const char* const kUsage =
    "usage: tallimar-batch [--no-user-settings] [--set KEY=VALUE]... [--open-hdmap FILE]\n"
    "                      [DATALOG]... [--save-hdmap FILE] [--save-crossovers FILE] [--list]\n"
    "                      [--import-ve FILE] [--clear-ve] [--filter] [--calculate]\n"
    "                      [--export-ve FILE] [--export-msq BASE.msq OUT.msq]\n"
    "                      [--plot VIEW FILE.png]... [--plot-main FILE.png]\n"
    "                      [--report VIEW FILE.pdf]... [--report-main FILE.pdf]\n"
    "                      [--port DEVICE [--ecu-read] [--ecu-send | --ecu-burn]]\n"
    "\n"
    "Reads datalogs into the raw data map as \"Open Datalog\" does (appending to a map\n"
    "opened with --open-hdmap), then saves the raw data map and the crossover points.\n"
    "Then works on the VE table, which starts as the program's does: imports a VE file,\n"
    "clears the table, filters the raw data map, calculates the table, exports it, and\n"
    "writes plots as PNG pictures and report pages as PDF files.\n"
    "Status lines go to standard error; --list prints the crossover list to standard output.\n"
    "\n"
    "  --no-user-settings     start from the first-run settings, not the user's own\n"
    "  --set KEY=VALUE        use VALUE for a setting in this run only (nothing is saved),\n"
    "                         e.g. --set O2Transfer=0.45 --set VEOutlierEnable=True\n"
    "  --open-hdmap FILE      load a raw data map file first\n"
    "  --save-hdmap FILE      save the raw data map after the datalogs\n"
    "  --save-crossovers FILE save the crossover points after the datalogs\n"
    "  --list                 print the crossover list lines\n"
    "  --port DEVICE          the serial device of the ECU (such as /dev/ttyUSB0, or the\n"
    "                         device tallimar-ecu-sim prints), for the three steps below\n"
    "  --ecu-read             \"Read VE Map\" from the ECU first (then --export-ve saves it)\n"
    "  --import-ve FILE       import a VE table (*.vex exchange, *.dmp dump or *.msq file)\n"
    "  --clear-ve             \"Clear LD Map\": zero the active VE values\n"
    "  --filter               \"Filter Raw Datalog\" with the BSpline, BSpline2 and\n"
    "                         BSplineFilter settings\n"
    "  --calculate            \"Calculate Map\" from the filtered or raw data map\n"
    "  --ecu-send             \"Send VE Map\" to the ECU's RAM and verify it; never burns\n"
    "  --ecu-burn             send and verify, then burn to flash when the verify passed\n"
    "  --export-ve FILE       export the VE table as a VE exchange file\n"
    "  --export-msq BASE.msq OUT.msq\n"
    "                         write the XML tune BASE.msq with the VE table and its bins\n"
    "                         replaced to OUT.msq (which may be BASE.msq itself)\n"
    "  --plot VIEW FILE.png   draw a view of the \"Modify VE Map\" window; VIEW is one of\n"
    "                         low, raw, filtered, raw-low, filtered-low, filtered-raw\n"
    "  --plot-main FILE.png   draw the main window's raw data map plot (\"VE Area Plot\")\n"
    "  --report VIEW FILE.pdf the printed page of a view (\"Print Current Plot\"), VIEW as\n"
    "                         for --plot, as a one-page letter PDF\n"
    "  --report-main FILE.pdf the printed raw data map page (\"Print Raw Data Map\")\n"
    "  --help                 show this text\n"
    "  --version              show the program's version\n"
    "\n"
    "Exit status: 0 done, 1 a read, save or ECU command failed or was refused, 2 usage error.\n";

namespace {

// "--name=value" or "--name value": the value of a file option.
bool takeValue(std::span<const std::string> arguments, std::size_t& i, const std::string& name,
               std::optional<std::string>& into, std::string& error) {
  const std::string& argument = arguments[i];
  std::string value;
  if (argument.size() > name.size() && argument[name.size()] == '=') {
    value = argument.substr(name.size() + 1);
  } else if (i + 1 < arguments.size()) {
    value = arguments[++i];
  } else {
    error = name + " needs a value";
    return false;
  }
  if (into) {
    error = name + " given twice";
    return false;
  }
  if (value.empty()) {
    error = name + " needs a file name";
    return false;
  }
  into = value;
  return true;
}

bool isOption(const std::string& argument, const std::string& name) {
  return argument == name || argument.rfind(name + "=", 0) == 0;
}

// "--name VIEW FILE" (or "--name=VIEW FILE"): a view by its short name and a file name.
bool takeViewAndFile(std::span<const std::string> arguments, std::size_t& i,
                     const std::string& name,
                     std::vector<std::pair<std::string, std::string>>& into, std::string& error) {
  std::optional<std::string> view;
  if (!takeValue(arguments, i, name, view, error)) return false;
  if (!plot::veViewFromName(*view)) {
    error = name + ": no view is called \"" + *view +
            "\" (low, raw, filtered, raw-low, filtered-low, filtered-raw)";
    return false;
  }
  if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
    error = name + " " + *view + " needs a file name";
    return false;
  }
  into.emplace_back(*view, arguments[++i]);
  return true;
}

}  // namespace

std::optional<BatchOptions> parseBatchOptions(std::span<const std::string> arguments,
                                              std::span<const std::string> knownKeys,
                                              std::string& error) {
  BatchOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      options.datalogs.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--no-user-settings") {
      options.userSettings = false;
    } else if (argument == "--list") {
      options.list = true;
    } else if (isOption(argument, "--set")) {
      std::optional<std::string> setting;
      if (!takeValue(arguments, i, "--set", setting, error)) return std::nullopt;
      const auto equals = setting->find('=');
      if (equals == std::string::npos || equals == 0) {
        error = "--set needs KEY=VALUE, not \"" + *setting + "\"";
        return std::nullopt;
      }
      const std::string key = setting->substr(0, equals);
      if (std::find(knownKeys.begin(), knownKeys.end(), key) == knownKeys.end()) {
        error = "--set: no setting is called \"" + key + "\" (keys are case-sensitive)";
        return std::nullopt;
      }
      options.overrides.emplace_back(key, setting->substr(equals + 1));
    } else if (argument == "--clear-ve") {
      options.clearVe = true;
    } else if (argument == "--filter") {
      options.filter = true;
    } else if (argument == "--calculate") {
      options.calculate = true;
    } else if (argument == "--ecu-read") {
      options.ecuRead = true;
    } else if (argument == "--ecu-send") {
      options.ecuSend = true;
    } else if (argument == "--ecu-burn") {
      options.ecuBurn = true;
    } else if (isOption(argument, "--port")) {
      if (!takeValue(arguments, i, "--port", options.port, error)) return std::nullopt;
    } else if (isOption(argument, "--import-ve")) {
      if (!takeValue(arguments, i, "--import-ve", options.importVe, error)) return std::nullopt;
    } else if (isOption(argument, "--export-ve")) {
      if (!takeValue(arguments, i, "--export-ve", options.exportVe, error)) return std::nullopt;
    } else if (isOption(argument, "--export-msq")) {
      std::optional<std::string> base;
      if (!takeValue(arguments, i, "--export-msq", base, error)) return std::nullopt;
      if (options.exportMsq) {
        error = "--export-msq given twice";
        return std::nullopt;
      }
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = "--export-msq needs a base tune and a file to write";
        return std::nullopt;
      }
      options.exportMsq.emplace(*base, arguments[++i]);
    } else if (isOption(argument, "--plot-main")) {
      if (!takeValue(arguments, i, "--plot-main", options.plotMain, error)) return std::nullopt;
    } else if (isOption(argument, "--report-main")) {
      if (!takeValue(arguments, i, "--report-main", options.reportMain, error)) return std::nullopt;
    } else if (isOption(argument, "--plot")) {
      if (!takeViewAndFile(arguments, i, "--plot", options.plots, error)) return std::nullopt;
    } else if (isOption(argument, "--report")) {
      if (!takeViewAndFile(arguments, i, "--report", options.reports, error)) return std::nullopt;
    } else if (isOption(argument, "--open-hdmap")) {
      if (!takeValue(arguments, i, "--open-hdmap", options.openHdmap, error)) return std::nullopt;
    } else if (isOption(argument, "--save-hdmap")) {
      if (!takeValue(arguments, i, "--save-hdmap", options.saveHdmap, error)) return std::nullopt;
    } else if (isOption(argument, "--save-crossovers")) {
      if (!takeValue(arguments, i, "--save-crossovers", options.saveCrossovers, error))
        return std::nullopt;
    } else {
      error = "unknown option " + argument;
      return std::nullopt;
    }
  }
  const bool ecuWork = options.ecuRead || options.ecuSend || options.ecuBurn;
  if (ecuWork && !options.port) {
    error = "--ecu-read, --ecu-send and --ecu-burn need --port DEVICE";
    return std::nullopt;
  }
  if (options.port && !ecuWork) {
    error = "--port needs --ecu-read, --ecu-send or --ecu-burn";
    return std::nullopt;
  }
  if (options.ecuSend && options.ecuBurn) {
    error = "give --ecu-send or --ecu-burn, not both";
    return std::nullopt;
  }
  const bool veWork = ecuWork || options.importVe || options.clearVe || options.filter ||
                      options.calculate || options.exportVe || options.exportMsq ||
                      !options.plots.empty() || options.plotMain || !options.reports.empty() ||
                      options.reportMain;
  if (!options.help && !options.version && !options.openHdmap && options.datalogs.empty() &&
      !options.saveHdmap && !options.saveCrossovers && !veWork) {
    error = "nothing to do: give a datalog, --open-hdmap, a VE step or a file to write";
    return std::nullopt;
  }
  return options;
}

}  // namespace tallimar::batch
