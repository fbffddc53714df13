// The command line of tallimar-ecu-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tallimar::ecusim {

struct SimOptions {
  std::optional<std::string> pageFile;   // --page FILE: the flash page at start (125 bytes)
  std::optional<std::string> flashFile;  // --save-flash FILE: the flash page after each burn
  std::optional<std::string> linkPath;   // --link PATH: a symbolic link to the device
  long lineSpeed = 9600;                 // --line-speed BAUD: replies paced as on the line
  // Misbehaviour on purpose.
  bool silent = false;                       // --silent: never answer
  std::optional<std::size_t> shortPage;      // --short N: answer only N bytes of the page
  bool garbage = false;                      // --garbage: answer random bytes
  std::optional<std::uint64_t> dropByte;     // --drop-byte K: lose the K-th received byte
  long slowMs = 0;                           // --slow MS: delay every reply
  std::optional<std::uint64_t> hangUpAfter;  // --hang-up-after N: close after N commands
  bool help = false;
};

extern const char* const kSimUsage;

// Parses the arguments after the program name; nullopt and `error` on a usage error.
std::optional<SimOptions> parseSimOptions(std::span<const std::string> arguments,
                                          std::string& error);

}  // namespace tallimar::ecusim
