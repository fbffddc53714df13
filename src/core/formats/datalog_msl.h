// Named-column datalogs (".msl"): the tab-separated logs today's tuning software writes for
// MegaSquirt-II and -3. Title lines may come first; the header names the columns, an optional
// units row follows, then one line per sample. The columns are found by name and fill the same
// record fields as the fixed layouts, so crossover detection and everything after it work on
// them unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/expected.h"
#include "engine/datalog_record.h"
#include "formats/datalog_line.h"
#include "formats/datalog_reader.h"

namespace tallimar::formats {

// The header is looked for among this many first lines.
inline constexpr int kMslHeaderSearchLines = 20;

// A field's column names, in order of preference (any letter case; the first column with a
// name wins), and whether a log without any of them is refused.
struct NamedColumn {
  DatalogField field;
  std::array<std::string_view, 5> names;
  bool required;
};

// The named-column table. The O2 names go from wide-band AFR over lambda to narrow-band volts.
inline constexpr std::array<NamedColumn, 9> kMslColumns{{
    {DatalogField::Seconds, {"Time"}, true},
    {DatalogField::Rpm, {"RPM"}, true},
    {DatalogField::Map, {"MAP"}, true},
    {DatalogField::Gve, {"Gve", "VE1", "VE"}, true},
    {DatalogField::Gego, {"Gego", "EGO cor1", "EGO Correction"}, false},
    {DatalogField::GammaE, {"Gammae", "Fuel: Total cor"}, false},
    {DatalogField::Status, {"Engine"}, false},
    {DatalogField::O2, {"AFR", "AFR1", "Lambda", "O2", "EGO V"}, true},
    {DatalogField::O2Target, {"AFRtrgt1", "AFR 1 Target", "AFR Target 1"}, false},
}};

enum class O2Signal { Afr, Lambda, NarrowBandVolts };

// Where one log keeps its fields, found from its header.
struct MslColumns {
  static constexpr std::size_t kAbsent = ~std::size_t{0};
  std::array<std::size_t, kDatalogFieldCount> column{};  // kAbsent for a field the log lacks
  O2Signal signal = O2Signal::Afr;
  std::size_t headerColumns = 0;
  std::size_t needed = 0;  // columns a data row must have: the last column used + 1
  bool has(DatalogField field) const { return column[static_cast<std::size_t>(field)] != kAbsent; }
};

// A header line: its first tab-separated field is "Time" and it has "RPM" and "MAP" columns,
// any letter case.
bool isMslHeader(std::string_view line);

// The columns of a header. A log without RPM, MAP, a VE or an O2 column is refused with the
// reason naming what is missing: "has no VE column (Gve, VE1 or VE)".
common::Expected<MslColumns> mslColumns(std::string_view header);

// The running state the detector takes samples from: 1 when the ECU's Engine byte has the
// running bit and none of cranking, after-start, warm-up or acceleration; 0 otherwise.
std::int16_t engineStatus(std::int32_t engine);

// The target the O2 signal crosses when no row gives one: the narrow-band transfer voltage,
// lambda 1.0, or the wide-band target AFR.
float fixedTarget(O2Signal signal, const DatalogReadOptions& options);

// Streams a named-column log to the sink (readDatalog's Msl layout). Every line after the
// header (and after the units row, recognised by an RPM field that is not a number) is one
// record: a sample, or for a gap line a record with Status 0, so the warm-up rule treats a
// gap as it treats a Status gap. A line with NUL bytes ends the read with a warning, keeping
// what was read, and so does a last line cut short (fewer columns than the header, no line
// end). Lines end at LF, CR LF or CR.
common::Expected<DatalogRead> readMslDatalog(const std::string& path, DatalogRecordSink& sink,
                                             const DatalogReadOptions& options);

}  // namespace tallimar::formats
