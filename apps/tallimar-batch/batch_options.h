// The command line of tallimar-batch:
//   tallimar-batch [--no-user-settings] [--set KEY=VALUE]... [--open-hdmap FILE]
//                  [DATALOG]... [--save-hdmap FILE] [--save-crossovers FILE] [--list]
//                  [--import-ve FILE] [--clear-ve] [--filter] [--calculate] [--export-ve FILE]
//                  [--export-msq BASE.msq OUT.msq] [--plot VIEW FILE.png]...
//                  [--plot-main FILE.png]
//                  [--report VIEW FILE.pdf]... [--report-main FILE.pdf]
//                  [--port DEVICE [--ecu-read] [--ecu-send | --ecu-burn]]
#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tallimar::batch {

struct BatchOptions {
  bool userSettings = true;  // false with --no-user-settings: the first-run defaults
  std::vector<std::pair<std::string, std::string>> overrides;  // --set KEY=VALUE, in order
  std::optional<std::string> openHdmap;
  std::vector<std::string> datalogs;
  std::optional<std::string> saveHdmap;
  std::optional<std::string> saveCrossovers;
  bool list = false;  // print the crossover list lines on standard output
  // VE table steps, run after the datalogs in this order.
  bool ecuRead = false;  // "Read VE Map" from the ECU on --port, before the other steps
  std::optional<std::string> importVe;
  bool clearVe = false;
  bool filter = false;
  bool calculate = false;
  // "Send VE Map" after the calculation: verified, never burnt (--ecu-send); or burnt to
  // flash when the verify passed (--ecu-burn).
  bool ecuSend = false;
  bool ecuBurn = false;
  std::optional<std::string> port;  // --port DEVICE: the serial device of the ECU
  std::optional<std::string> exportVe;
  std::optional<std::pair<std::string, std::string>> exportMsq;  // base tune, file to write
  std::vector<std::pair<std::string, std::string>> plots;        // --plot VIEW FILE, in order
  std::optional<std::string> plotMain;
  std::vector<std::pair<std::string, std::string>> reports;  // --report VIEW FILE, in order
  std::optional<std::string> reportMain;
  bool help = false;
  bool version = false;  // --version: print "tallimar-batch <version>" and do nothing else
};

// The usage text printed with --help and after a usage error.
extern const char* const kUsage;

// Parses the arguments after the program name. On a usage error returns nullopt and sets
// `error`. Options may come in any order and also as --option=VALUE; "--" ends the options,
// so that a datalog named like an option can be given after it. Keys of --set are checked
// against `knownKeys`.
std::optional<BatchOptions> parseBatchOptions(std::span<const std::string> arguments,
                                              std::span<const std::string> knownKeys,
                                              std::string& error);

}  // namespace tallimar::batch
