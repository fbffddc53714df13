// Parsing the command line of tallimar-ecu-sim.
#include "sim_options.h"

#include <charconv>

namespace tallimar::ecusim {

const char* const kSimUsage =
    "usage: tallimar-ecu-sim [--page FILE] [--save-flash FILE] [--link PATH]\n"
    "                        [--line-speed BAUD] [--silent | --short N | --garbage]\n"
    "                        [--drop-byte K] [--slow MS] [--hang-up-after N]\n"
    "\n"
    "A simulated MegaSquirt ECU on a pseudo-terminal. Prints the device to open on its\n"
    "first line, logs every command it serves on standard error, and runs until\n"
    "interrupted. It answers \"V\" (the RAM page), \"W\" offset value (stores a byte),\n"
    "\"B\" (burns RAM to flash), \"C\" (one byte) and \"A\" (the 22-byte real-time record).\n"
    "\n"
    "  --page FILE          load the flash page (125 bytes) from FILE instead of the\n"
    "                       built-in 8x8 table\n"
    "  --save-flash FILE    write the flash page to FILE at start and after every burn\n"
    "  --link PATH          also make PATH a symbolic link to the device\n"
    "  --line-speed BAUD    pace replies as a line at BAUD would (default 9600, 0: no pacing)\n"
    "  --silent             never answer\n"
    "  --short N            answer only the first N bytes of the page\n"
    "  --garbage            answer random bytes instead of the real reply\n"
    "  --drop-byte K        lose the K-th byte received (1 = the first), as a noisy line does\n"
    "  --slow MS            wait MS milliseconds before every reply\n"
    "  --hang-up-after N    close the device and exit after serving N commands\n";

namespace {

template <class T>
bool number(const std::string& text, T& into) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, into);
  return ec == std::errc{} && ptr == end;
}

}  // namespace

std::optional<SimOptions> parseSimOptions(std::span<const std::string> arguments,
                                          std::string& error) {
  SimOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    auto value = [&]() -> const std::string* {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = name + " needs a value";
        return nullptr;
      }
      return &arguments[++i];
    };
    auto count = [&](auto& into) {
      const std::string* text = value();
      if (!text) return false;
      typename std::remove_reference_t<decltype(into)>::value_type parsed{};
      if (!number(*text, parsed)) {
        error = name + " needs a whole number, not \"" + *text + "\"";
        return false;
      }
      into = parsed;
      return true;
    };
    const std::string* text = nullptr;
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--silent") {
      options.silent = true;
    } else if (name == "--garbage") {
      options.garbage = true;
    } else if (name == "--page" || name == "--save-flash" || name == "--link") {
      if (!(text = value())) return std::nullopt;
      (name == "--page"         ? options.pageFile
       : name == "--save-flash" ? options.flashFile
                                : options.linkPath) = *text;
    } else if (name == "--short") {
      if (!count(options.shortPage)) return std::nullopt;
    } else if (name == "--drop-byte") {
      if (!count(options.dropByte)) return std::nullopt;
    } else if (name == "--hang-up-after") {
      if (!count(options.hangUpAfter)) return std::nullopt;
    } else if (name == "--slow" || name == "--line-speed") {
      if (!(text = value())) return std::nullopt;
      long& into = name == "--slow" ? options.slowMs : options.lineSpeed;
      if (!number(*text, into) || into < 0) {
        error = name + " needs a whole number of at least 0, not \"" + *text + "\"";
        return std::nullopt;
      }
    } else {
      error = "unknown option " + name;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace tallimar::ecusim
