// Reading and writing the VE table of an XML tune file over pugixml. The writer never
// serialises the parsed document again: it finds the byte span of each number in the base
// file and splices new numbers into a copy, so everything else stays byte for byte.
#include "formats/xml_tune.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <pugixml.hpp>
#include <span>
#include <vector>

#include "common/number_text.h"

namespace tallimar::formats {

namespace {

constexpr std::array<const char*, 2> kVeNames{"veTable1", "veBins1"};
constexpr std::array<const char*, 3> kRpmAxisNames{"frpm_table1", "frpm_table", "rpmBins1"};
constexpr std::array<const char*, 3> kMapAxisNames{"fmap_table1", "fmap_table", "mapBins1"};
constexpr int kMaxDecimals = 9;  // a digits attribute beyond this is taken as this

// One number in a constant's text: its byte span in the file, value and written decimals.
struct Number {
  std::size_t begin = 0;
  std::size_t end = 0;
  double value = 0;
  int decimals = 0;
};

// A constant whose text was read as rows x cols numbers.
struct Constant {
  std::string name;
  long long rows = 1;
  long long cols = 1;
  int digits = 0;
  std::vector<Number> numbers;
};

struct TuneLayout {
  Constant ve, rpm, map;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whole-number attribute; nullopt when absent or not a plain number.
std::optional<long long> numberAttribute(pugi::xml_node node, const char* name) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) return std::nullopt;
  const std::string_view text = attribute.value();
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool looksLikeXml(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  while (!bytes.empty() && isBlank(bytes.front())) bytes.remove_prefix(1);
  return bytes.starts_with("<?xml") || bytes.starts_with("<msq");
}

int decimalsOf(std::string_view token) {
  const auto point = token.find('.');
  if (point == std::string_view::npos) return 0;
  const auto exponent = token.find_first_of("eE", point);
  return static_cast<int>((exponent == std::string_view::npos ? token.size() : exponent) - point -
                          1);
}

// The numbers of a constant's text, read from the file's own bytes at the text node's
// offset, so that their spans are exact whatever the parser did to line ends.
common::Expected<std::vector<Number>> numbersOf(std::string_view bytes, pugi::xml_node node,
                                                const std::string& name) {
  const pugi::xml_node text = node.first_child();
  if (!text || text.type() != pugi::node_pcdata || text.next_sibling()) {
    return common::fail(name + " does not hold a plain list of numbers");
  }
  const std::ptrdiff_t offset = text.offset_debug();
  if (offset <= 0 || static_cast<std::size_t>(offset) >= bytes.size() ||
      bytes[static_cast<std::size_t>(offset) - 1] != '>') {
    return common::fail("the text of " + name + " could not be located in the file");
  }
  const std::size_t begin = static_cast<std::size_t>(offset);
  const std::size_t end = bytes.find('<', begin);
  if (end == std::string_view::npos || bytes.substr(end, 2) != "</") {
    return common::fail("the text of " + name + " could not be located in the file");
  }
  std::vector<Number> numbers;
  for (std::size_t at = begin; at < end;) {
    if (isBlank(bytes[at])) {
      ++at;
      continue;
    }
    std::size_t stop = at;
    while (stop < end && !isBlank(bytes[stop])) ++stop;
    const std::string_view token = bytes.substr(at, stop - at);
    Number number{at, stop, 0, decimalsOf(token)};
    const auto [last, error] =
        std::from_chars(token.data(), token.data() + token.size(), number.value);
    if (error != std::errc() || last != token.data() + token.size() ||
        !std::isfinite(number.value)) {
      return common::fail(name + " holds \"" + std::string(token.substr(0, 20)) +
                          "\", which is not a number");
    }
    numbers.push_back(number);
    at = stop;
  }
  return numbers;
}

// Reads a constant's shape and numbers; the count must match its rows x cols.
common::Expected<Constant> readConstant(std::string_view bytes, pugi::xml_node node) {
  Constant constant;
  constant.name = node.attribute("name").value();
  const auto rows = numberAttribute(node, "rows");
  const auto cols = numberAttribute(node, "cols");
  if ((node.attribute("rows") && !rows) || (node.attribute("cols") && !cols)) {
    return common::fail(constant.name + " has rows or cols that are not whole numbers");
  }
  constant.rows = rows.value_or(1);
  constant.cols = cols.value_or(1);
  constant.digits = static_cast<int>(
      std::clamp<long long>(numberAttribute(node, "digits").value_or(0), 0, kMaxDecimals));
  auto numbers = numbersOf(bytes, node, constant.name);
  if (!numbers) return common::fail(numbers.reason());
  constant.numbers = std::move(*numbers);
  if (constant.rows < 1 || constant.cols < 1 ||
      static_cast<long double>(constant.rows) * static_cast<long double>(constant.cols) !=
          static_cast<long double>(constant.numbers.size())) {
    return common::fail(constant.name + " holds " + std::to_string(constant.numbers.size()) +
                        " numbers, not rows x cols = " + std::to_string(constant.rows) + " x " +
                        std::to_string(constant.cols));
  }
  return constant;
}

// Every <constant> element with a name, in document order.
std::vector<pugi::xml_node> constantsOf(const pugi::xml_document& doc) {
  std::vector<pugi::xml_node> found;
  pugi::xml_node node = doc.first_child();
  while (node) {
    const bool isConstant = node.type() == pugi::node_element &&
                            std::strcmp(node.name(), "constant") == 0 && node.attribute("name");
    if (isConstant) found.push_back(node);
    if (!isConstant && node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != doc && !node.next_sibling()) node = node.parent();
    if (!node || node == doc) break;
    node = node.next_sibling();
  }
  return found;
}

bool named(pugi::xml_node node, const char* name) {
  return std::strcmp(node.attribute("name").value(), name) == 0;
}

// The axis among names, in their order, whose length is `length`.
common::Expected<Constant> findAxis(std::string_view bytes,
                                    const std::vector<pugi::xml_node>& constants,
                                    std::span<const char* const> names, std::size_t length,
                                    const std::string& what) {
  std::string mismatch;
  for (const char* name : names) {
    const auto node = std::find_if(constants.begin(), constants.end(),
                                   [&](pugi::xml_node n) { return named(n, name); });
    if (node == constants.end()) continue;
    auto axis = readConstant(bytes, *node);
    if (!axis) return axis;
    if (axis->numbers.size() == length) return axis;
    if (mismatch.empty()) {
      mismatch = "; " + std::string(name) + " has " + std::to_string(axis->numbers.size());
    }
  }
  std::string list = names[0];
  for (std::size_t i = 1; i < names.size(); ++i) {
    list += (i + 1 == names.size() ? " or " : ", ") + std::string(names[i]);
  }
  return common::fail("no " + what + " axis of " + std::to_string(length) + " bins (" + list + ")" +
                      mismatch);
}

// The first veTable1 or veBins1 with rows and cols, of 1 to 16 each.
common::Expected<Constant> findVeTable(std::string_view bytes,
                                       const std::vector<pugi::xml_node>& constants) {
  const auto node = std::find_if(constants.begin(), constants.end(), [](pugi::xml_node n) {
    return (named(n, kVeNames[0]) || named(n, kVeNames[1])) && n.attribute("rows") &&
           n.attribute("cols");
  });
  if (node == constants.end()) {
    return common::fail("no VE table found (no veTable1 or veBins1 constant with rows and cols)");
  }
  const auto inRange = [](std::optional<long long> size) {
    return size && *size >= 1 && *size <= vemap::kMaxBins;
  };
  if (!inRange(numberAttribute(*node, "rows")) || !inRange(numberAttribute(*node, "cols"))) {
    const auto shown = [&](const char* name) {
      return std::string(node->attribute(name).value()).substr(0, 12);
    };
    return common::fail(shown("name") + " is " + shown("cols") + " x " + shown("rows") +
                        " (RPM x MAP); a VE table has 1 to 16 bins on each axis");
  }
  return readConstant(bytes, *node);
}

common::Expected<TuneLayout> locateVeTable(std::string_view bytes) {
  if (bytes.empty()) return common::fail("no VE table found (the file is empty)");
  if (!looksLikeXml(bytes)) return common::fail("no VE table found (not an XML tune file)");
  pugi::xml_document doc;
  // Loaded as UTF-8 whatever the declaration says, so that the parser converts nothing and
  // its offsets are the file's own; only ASCII numbers are read. Comments and processing
  // instructions become nodes, so that one inside a constant is seen and refused.
  const pugi::xml_parse_result parsed = doc.load_buffer(
      bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_comments | pugi::parse_pi,
      pugi::encoding_utf8);
  if (!parsed) {
    return common::fail("not a readable XML tune (" + std::string(parsed.description()) +
                        " at byte " + std::to_string(parsed.offset) + ")");
  }
  if (std::strcmp(doc.document_element().name(), "msq") != 0) {
    return common::fail("no VE table found (not an XML tune file)");
  }
  const auto constants = constantsOf(doc);
  auto ve = findVeTable(bytes, constants);
  if (!ve) return common::fail(ve.reason());
  const auto rows = static_cast<std::size_t>(ve->rows);
  auto rpm = findAxis(bytes, constants, kRpmAxisNames, ve->numbers.size() / rows, "RPM");
  if (!rpm) return common::fail(rpm.reason());
  auto map = findAxis(bytes, constants, kMapAxisNames, rows, "MAP");
  if (!map) return common::fail(map.reason());
  return TuneLayout{std::move(*ve), std::move(*rpm), std::move(*map)};
}

// Fills `into` with the constant's numbers as 16-bit whole numbers, halves to even.
common::Outcome toInt16s(const Constant& constant, std::span<std::int16_t> into) {
  for (std::size_t i = 0; i < constant.numbers.size(); ++i) {
    const auto value = common::toInt16(constant.numbers[i].value);
    if (!value) {
      return common::fail(constant.name + ": " + common::shortestText(constant.numbers[i].value) +
                          " does not fit a 16-bit table entry");
    }
    into[i] = *value;
  }
  return {};
}

std::string describe(const TuneLayout& layout) {
  return layout.ve.name + " (" + std::to_string(layout.ve.cols) + " x " +
         std::to_string(layout.ve.rows) + "), " + layout.rpm.name + ", " + layout.map.name;
}

struct Splice {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string text;
};

int decimalsFor(const Constant& constant) {
  int decimals = constant.digits;
  for (const Number& number : constant.numbers) decimals = std::max(decimals, number.decimals);
  return std::min(decimals, kMaxDecimals);
}

// Replacements for each number of the constant; value(i) gives the i-th new number.
template <class ValueOf>
void addSplices(const Constant& constant, ValueOf valueOf, std::vector<Splice>& splices) {
  const int decimals = decimalsFor(constant);
  for (std::size_t i = 0; i < constant.numbers.size(); ++i) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(valueOf(i)),
                      std::chars_format::fixed, decimals);
    splices.push_back(
        {constant.numbers[i].begin, constant.numbers[i].end, std::string(buffer, written.ptr)});
  }
}

}  // namespace

void TuneVeTable::copyInto(vemap::VeTable& table) const {
  table.sizeRpm = sizeRpm;
  table.sizeMap = sizeMap;
  for (int r = 0; r < sizeRpm; ++r) {
    table.rpmBins[static_cast<std::size_t>(r)] = rpmBins[static_cast<std::size_t>(r)];
    for (int m = 0; m < sizeMap; ++m) {
      table.at(r, m) = ve[static_cast<std::size_t>(r)][static_cast<std::size_t>(m)];
    }
  }
  for (int m = 0; m < sizeMap; ++m) {
    table.mapBins[static_cast<std::size_t>(m)] = mapBins[static_cast<std::size_t>(m)];
  }
}

std::string TuneVeTable::constantsText() const {
  return veName + " (" + std::to_string(sizeRpm) + " x " + std::to_string(sizeMap) + "), " +
         rpmName + ", " + mapName;
}

common::Expected<TuneVeTable> readTuneVeTable(std::string_view bytes) {
  auto layout = locateVeTable(bytes);
  if (!layout) return common::fail(layout.reason());
  TuneVeTable tune;
  tune.sizeRpm = static_cast<std::int16_t>(layout->ve.cols);
  tune.sizeMap = static_cast<std::int16_t>(layout->ve.rows);
  tune.veName = layout->ve.name;
  tune.rpmName = layout->rpm.name;
  tune.mapName = layout->map.name;
  std::array<std::int16_t, vemap::kMaxBins * vemap::kMaxBins> cells{};
  if (auto ok = toInt16s(layout->ve, cells); !ok) return common::fail(ok.reason());
  if (auto ok = toInt16s(layout->rpm, tune.rpmBins); !ok) return common::fail(ok.reason());
  if (auto ok = toInt16s(layout->map, tune.mapBins); !ok) return common::fail(ok.reason());
  // The text runs row by row: row m is MAP bin m, its column r RPM bin r.
  for (std::size_t i = 0; i < layout->ve.numbers.size(); ++i) {
    const auto cols = static_cast<std::size_t>(tune.sizeRpm);
    tune.ve[i % cols][i / cols] = cells[i];
  }
  return tune;
}

common::Expected<TuneWrite> writeTuneVeTable(std::string_view base, const vemap::VeTable& table) {
  auto layout = locateVeTable(base);
  if (!layout) return common::fail(layout.reason());
  const Constant& ve = layout->ve;
  if (ve.cols != table.sizeRpm || ve.rows != table.sizeMap) {
    return common::fail("the VE table is " + std::to_string(table.sizeRpm) + " x " +
                        std::to_string(table.sizeMap) + " (RPM x MAP) but " + ve.name +
                        " of the tune is " + std::to_string(ve.cols) + " x " +
                        std::to_string(ve.rows));
  }
  std::vector<Splice> splices;
  const auto cols = static_cast<std::size_t>(ve.cols);
  addSplices(
      ve, [&](std::size_t i) { return table.ve[i % cols][i / cols]; }, splices);
  addSplices(
      layout->rpm, [&](std::size_t i) { return table.rpmBins[i]; }, splices);
  addSplices(
      layout->map, [&](std::size_t i) { return table.mapBins[i]; }, splices);
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.begin < b.begin; });

  TuneWrite written;
  written.constantsText = describe(*layout);
  written.bytes.reserve(base.size() + splices.size() * 4);
  std::size_t copied = 0;
  for (const Splice& splice : splices) {
    written.bytes.append(base.substr(copied, splice.begin - copied));
    written.bytes.append(splice.text);
    copied = splice.end;
  }
  written.bytes.append(base.substr(copied));
  return written;
}

}  // namespace tallimar::formats
