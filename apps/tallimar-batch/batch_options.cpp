// Parsing the command line of tallimar-batch.
#include "batch_options.h"

#include <algorithm>

namespace tallimar::batch {

const char* const kUsage =
    "usage: tallimar-batch [--no-user-settings] [--set KEY=VALUE]... [--open-hdmap FILE]\n"
    "                      [DATALOG]... [--save-hdmap FILE] [--save-crossovers FILE] [--list]\n"
    "\n"
    "Reads datalogs into the raw data map as \"Open Datalog\" does (appending to a map\n"
    "opened with --open-hdmap), then saves the raw data map and the crossover points.\n"
    "Status lines go to standard error; --list prints the crossover list to standard output.\n"
    "\n"
    "  --no-user-settings     start from the first-run settings, not the user's own\n"
    "  --set KEY=VALUE        use VALUE for a setting in this run only (nothing is saved),\n"
    "                         e.g. --set O2Transfer=0.45 --set VEOutlierEnable=True\n"
    "  --open-hdmap FILE      load a raw data map file first\n"
    "  --save-hdmap FILE      save the raw data map after the datalogs\n"
    "  --save-crossovers FILE save the crossover points after the datalogs\n"
    "  --list                 print the crossover list lines\n"
    "  --help                 show this text\n"
    "\n"
    "Exit status: 0 done, 1 a read or save failed or was refused, 2 usage error.\n";

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
  if (!options.help && !options.openHdmap && options.datalogs.empty() && !options.saveHdmap &&
      !options.saveCrossovers) {
    error = "nothing to do: give a datalog, --open-hdmap or a file to save";
    return std::nullopt;
  }
  return options;
}

}  // namespace tallimar::batch
