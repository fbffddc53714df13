// Plain datalog lines read without a branch per byte: the column boundaries of 64 bytes are
// found at once, and short digit runs are converted a word at a time.
#include "formats/datalog_plain_lines.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "common/digits.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallimar::formats {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

using common::digitBytesValue;
using common::load8;

// A field of one to four digits, the shape of nearly every 16-bit column ("3450", "98",
// "1"): checked and converted four bytes at once. False for anything else.
bool readShortDigits(const char* field, std::size_t length, std::int32_t& value) {
  if (length - 1 >= 4) return false;  // also refuses an empty field
  const std::uint64_t inField = ~0ULL >> (64 - 8 * length);
  if ((common::nonDigitBytes(load8(field)) & inField) != 0) return false;
  value = common::shortDigitsValue(field, length);
  return true;
}

// A field of plain digits with an optional "." and decimals ("12345", "-5", "35.7", "0.456"):
// at most seven digits before the point and seven after it. False for anything else.
struct PlainNumber {
  bool negative = false;
  std::uint32_t whole = 0;
  int decimals = 0;
  std::uint64_t fractionBytes = 0;  // the decimals' bytes, first lowest
};
bool readPlainNumber(const char* field, std::size_t length, PlainNumber& number) {
  number.negative = length > 0 && field[0] == '-';
  const std::size_t sign = number.negative ? 1 : 0;
  if (length - sign == 0 || length - sign > 16) return false;
  const std::uint64_t wholeBytes = load8(field + sign);
  const int digits = common::leadingDigitBytes(wholeBytes);
  if (digits == 0 || digits == 8) return false;
  number.whole = digitBytesValue(wholeBytes, digits);
  const std::size_t rest = length - sign - static_cast<std::size_t>(digits);
  number.decimals = 0;
  number.fractionBytes = 0;
  if (rest == 0) return true;
  if (field[sign + static_cast<std::size_t>(digits)] != '.' || rest > 8) return false;
  number.decimals = static_cast<int>(rest - 1);
  number.fractionBytes = load8(field + sign + static_cast<std::size_t>(digits) + 1);
  return common::leadingDigitBytes(number.fractionBytes) >= number.decimals;
}

// Eight bytes with the byte at `point` (1..7) taken out: the bytes after it move down one.
std::uint64_t withoutPoint(std::uint64_t bytes, int point) {
  const std::uint64_t below = (std::uint64_t{1} << (8 * point)) - 1;
  return (bytes & below) | ((bytes >> 8) & ~below);
}

// A number of at most eight characters with or without one "." among digits ("3450",
// "0.660", "35.7"; not "5." or ".5"), the shape of nearly every column: its digits as one
// integer and how many of them follow the point. False for anything else.
bool readShortNumber(const char* field, std::size_t length, std::uint32_t& digits, int& decimals) {
  if (length - 1 >= 8) return false;  // also refuses an empty field
  const std::uint64_t bytes = load8(field);
  const std::uint64_t inField = ~0ULL >> (64 - 8 * length);
  // Exact up to the first byte that is no digit: that is where the point must be.
  const std::uint64_t nonDigit = common::nonDigitBytes(bytes) & inField;
  if (nonDigit == 0) {
    digits = digitBytesValue(bytes, static_cast<int>(length));
    decimals = 0;
    return true;
  }
  const int point = std::countr_zero(nonDigit) / 8;
  if (point == 0 || static_cast<std::size_t>(point) == length - 1) return false;
  if (((bytes >> (8 * point)) & 0xFF) != '.') return false;
  // Only the point may be no digit; the bytes after it are checked again with it out of the
  // way.
  const std::uint64_t joined = withoutPoint(bytes, point);
  const std::uint64_t joinedField = inField >> 8;
  if ((common::nonDigitBytes(joined) & joinedField) != 0) return false;
  digits = digitBytesValue(joined, static_cast<int>(length) - 1);
  decimals = static_cast<int>(length) - 1 - point;
  return true;
}

// A 16-bit column that is not a short digit run: rounded down, and within -32768..32767
// after the factor (the full layout logs RPM in hundreds).
bool readSixteenBit(const char* field, std::size_t length, std::int32_t factor,
                    std::int32_t& value) {
  PlainNumber number;
  if (!readPlainNumber(field, length, number)) return false;
  const std::uint64_t decimalMask =
      number.decimals == 0 ? 0 : (~0ULL >> (64 - 8 * number.decimals));
  const bool fraction = (number.fractionBytes & 0x0F0F0F0F0F0F0F0FULL & decimalMask) != 0;
  std::int64_t floored = number.negative
                             ? -static_cast<std::int64_t>(number.whole) - (fraction ? 1 : 0)
                             : number.whole;
  floored *= factor;
  if (floored < -32768 || floored > 32767) return false;
  value = static_cast<std::int32_t>(floored);
  return true;
}

// The O2 column in single precision, as the lenient reader takes a plain decimal number.
// Both operands of the division are exact doubles (at most 14 digits), so the quotient is
// the correctly rounded value of the decimal number, as a decimal-to-double conversion gives.
[[gnu::noinline]] bool readPlainVolts(const char* field, std::size_t length, float& volts) {
  std::uint32_t digits;
  int decimals;
  if (readShortNumber(field, length, digits, decimals)) {
    volts = static_cast<float>(static_cast<double>(digits) / kPowersOfTen[decimals]);
    return true;
  }
  PlainNumber number;
  if (!readPlainNumber(field, length, number)) return false;
  double mantissa = number.whole;
  if (number.decimals > 0)
    mantissa = mantissa * kPowersOfTen[number.decimals] +
               digitBytesValue(number.fractionBytes, number.decimals);
  const double value = mantissa / kPowersOfTen[number.decimals];
  volts = static_cast<float>(number.negative ? -value : value);
  return true;
}

// The tabs and line ends among the 64 bytes from `base`, one bit per byte (bit 0 = base[0]).
struct Separators {
  const char* base = nullptr;
  std::uint64_t tabs = 0;
  std::uint64_t ends = 0;
};

// The tabs, line ends and bytes that are no digit among the 64 bytes from a line's start.
struct LineBytes {
  std::uint64_t tabs = 0;
  std::uint64_t ends = 0;
  std::uint64_t nonDigits = 0;
};

#if defined(__SSE2__)
Separators findSeparators(const char* base, char lineEnd) {
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i end = _mm_set1_epi8(lineEnd);
  Separators found{base, 0, 0};
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + 16 * k));
    const auto tabBits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
    const auto endBits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, end)));
    found.tabs |= std::uint64_t{tabBits} << (16 * k);
    found.ends |= std::uint64_t{endBits} << (16 * k);
  }
  return found;
}

LineBytes classifyBytes(const char* base, char lineEnd) {
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i end = _mm_set1_epi8(lineEnd);
  const __m128i belowZero = _mm_set1_epi8('0' - 1);
  const __m128i aboveNine = _mm_set1_epi8('9' + 1);
  LineBytes found;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + 16 * k));
    // Signed comparisons: bytes from 0x80 up count as below "0".
    const __m128i digit =
        _mm_and_si128(_mm_cmpgt_epi8(bytes, belowZero), _mm_cmpgt_epi8(aboveNine, bytes));
    const auto shift = static_cast<unsigned>(16 * k);
    found.tabs |=
        std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)))}
        << shift;
    found.ends |=
        std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, end)))}
        << shift;
    found.nonDigits |= std::uint64_t{static_cast<std::uint32_t>(~_mm_movemask_epi8(digit) & 0xFFFF)}
                       << shift;
  }
  return found;
}
#else
// One bit per byte of eight that equals `byte`, in the low eight bits.
std::uint64_t matchingBytes(std::uint64_t bytes, char byte) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t x = bytes ^ (0x0101010101010101ULL * static_cast<unsigned char>(byte));
  const std::uint64_t high = ~(((x & kLow7) + kLow7) | x) & ~kLow7;  // exact per byte
  return ((high >> 7) * 0x0102040810204080ULL) >> 56;
}
Separators findSeparators(const char* base, char lineEnd) {
  Separators found{base, 0, 0};
  for (int k = 0; k < 8; ++k) {
    const std::uint64_t bytes = load8(base + 8 * k);
    found.tabs |= matchingBytes(bytes, '\t') << (8 * k);
    found.ends |= matchingBytes(bytes, lineEnd) << (8 * k);
  }
  return found;
}
LineBytes classifyBytes(const char* base, char lineEnd) {
  const Separators separators = findSeparators(base, lineEnd);
  // Without byte-wise comparisons every byte counts as no digit: lines take the plain way.
  return {separators.tabs, separators.ends, ~std::uint64_t{0}};
}
#endif

// A layout's column table and line end, as constants the line readers are compiled for.
template <DatalogLayout kLayout>
struct Columns {
  static constexpr std::span<const DatalogField> kFields = layoutColumns(kLayout);
  static constexpr std::size_t kCount = kFields.size();
  static constexpr char kLineEnd = kLayout == DatalogLayout::NoLineFeed ? '\n' : '\r';
  static constexpr std::int32_t kRpmFactor = rpmFactor(kLayout);
};

// A short line being read: the column ends not yet taken, where the next column starts, and
// the bytes of the columns that need not be digits.
struct ShortLine {
  const char* line;
  std::uint64_t nonDigits;
  std::uint64_t ends;
  std::size_t start = 0;
  std::uint64_t freeBytes = 0;
};

template <DatalogLayout kLayout, std::size_t kColumn>
[[gnu::always_inline]] inline bool readShortColumn(ShortLine& s, engine::DatalogRecord& record) {
  using C = Columns<kLayout>;
  if (s.ends == 0) return false;  // fewer columns than needed
  const auto end = static_cast<std::size_t>(std::countr_zero(s.ends));
  s.ends &= s.ends - 1;
  const std::size_t start = s.start;
  const std::size_t length = end - start;
  s.start = end + 1;
  constexpr DatalogField kField = C::kFields[kColumn];
  if constexpr (kField == DatalogField::O2 || kField == DatalogField::None) {
    const std::uint64_t column =
        ((std::uint64_t{1} << end) - 1) ^ ((std::uint64_t{1} << start) - 1);
    s.freeBytes |= column;
    if constexpr (kField == DatalogField::O2) {
      // Digits with at most one "." inside ("0.660"): converted here, anything else as a
      // plain number.
      const std::uint64_t odd = s.nonDigits & column;
      if (length - 1 < 8 && (odd & (odd - 1)) == 0) {
        const std::uint64_t bytes = load8(s.line + start);
        if (odd == 0) {
          record.o2 = static_cast<float>(digitBytesValue(bytes, static_cast<int>(length)));
          return true;
        }
        const int point = std::countr_zero(odd) - static_cast<int>(start);
        if (point > 0 && static_cast<std::size_t>(point) < length - 1 &&
            s.line[start + static_cast<std::size_t>(point)] == '.') {
          const std::uint64_t joined = withoutPoint(bytes, point);
          const int decimals = static_cast<int>(length) - 1 - point;
          // Both operands are exact doubles: the quotient is the correctly rounded value.
          record.o2 = static_cast<float>(
              static_cast<double>(digitBytesValue(joined, static_cast<int>(length) - 1)) /
              kPowersOfTen[decimals]);
          return true;
        }
      }
      return readPlainVolts(s.line + start, length, record.o2);
    }
    return true;
  } else {
    if (length - 1 >= 4) return false;  // empty, or five digits and more
    std::int32_t value = common::shortDigitsValue(s.line + start, length);
    if constexpr (kField == DatalogField::Rpm && C::kRpmFactor != 1) {
      value *= C::kRpmFactor;
      if (value > 32767) return false;
    }
    wholeNumberField<kField>(record) = static_cast<std::int16_t>(value);
    return true;
  }
}

template <DatalogLayout kLayout, std::size_t... kColumns>
[[gnu::always_inline]] inline bool readShortColumns(ShortLine& s, engine::DatalogRecord& record,
                                                    std::index_sequence<kColumns...>) {
  return (readShortColumn<kLayout, kColumns>(s, record) && ...);
}

// The commonest line of all, read with the fewest steps: it ends within 64 bytes and its 16-bit
// columns are runs of one to four digits. Which bytes are tabs, line ends and digits is found
// for the whole line at once; the columns then only need converting. False for any other
// line (readPlainLine takes it on); the record may then hold anything.
template <DatalogLayout kLayout>
bool readShortLine(const char*& p, const char* blockEnd, engine::DatalogRecord& record) {
  using C = Columns<kLayout>;
  const LineBytes bytes = classifyBytes(p, C::kLineEnd);
  if (bytes.ends == 0) return false;
  const int lineLength = std::countr_zero(bytes.ends);
  const std::uint64_t inLine = (std::uint64_t{1} << lineLength) - 1;
  ShortLine s{p, bytes.nonDigits, (bytes.tabs & inLine) | (std::uint64_t{1} << lineLength)};
  if (!readShortColumns<kLayout>(s, record, std::make_index_sequence<C::kCount>())) return false;
  // Every byte of the 16-bit columns read is a digit.
  const std::uint64_t read = (std::uint64_t{1} << (s.start - 1)) - 1;
  if ((bytes.nonDigits & read & ~bytes.tabs & ~s.freeBytes) != 0) return false;
  p += lineLength + 1;
  if (C::kLineEnd == '\r' && p < blockEnd && *p == '\n') ++p;
  return true;
}

// Reads one plain line at p; on success p is moved past its line end. The separators of 64
// bytes are found at once and taken one by one, so the columns convert independently.
template <DatalogLayout kLayout>
bool readPlainLine(const char*& p, const char* blockEnd, engine::DatalogRecord& record) {
  using C = Columns<kLayout>;
  Separators window = findSeparators(p, C::kLineEnd);
  std::uint64_t ahead = window.tabs | window.ends;  // separators not yet taken
  std::array<std::int32_t, kDatalogFieldCount> numbers{};
  const char* field = p;
  const char* separator = p;
  bool atLineEnd = false;
  for (std::size_t column = 0; column < C::kCount; ++column) {
    // Fewer columns than needed, or an empty line: left to the general path to report.
    if (atLineEnd) return false;
    while (ahead == 0) {  // the line goes on past the window (it ends within the block)
      window = findSeparators(window.base + 64, C::kLineEnd);
      ahead = window.tabs | window.ends;
    }
    const int at = std::countr_zero(ahead);
    separator = window.base + at;
    atLineEnd = ((window.ends >> at) & 1) != 0;
    ahead &= ahead - 1;
    const auto length = static_cast<std::size_t>(separator - field);
    const DatalogField role = C::kFields[column];
    if (role == DatalogField::O2) {
      if (!readPlainVolts(field, length, record.o2)) return false;
    } else if (role != DatalogField::None) {
      const std::int32_t factor = role == DatalogField::Rpm ? C::kRpmFactor : 1;
      std::int32_t& value = numbers[static_cast<std::size_t>(role)];
      if (readShortDigits(field, length, value)) {
        value *= factor;
        if (value > 32767) return false;
      } else if (!readSixteenBit(field, length, factor, value)) {
        return false;
      }
    }
    field = separator + 1;
  }
  if (!atLineEnd) {
    // More columns than needed: the line runs on to its line end, which the block holds.
    const std::uint64_t endsAhead = window.ends & ahead;
    separator = endsAhead ? window.base + std::countr_zero(endsAhead)
                          : static_cast<const char*>(std::memchr(
                                field, C::kLineEnd, static_cast<std::size_t>(blockEnd - field)));
    if (!separator) return false;
  }
  // An overlong line is left to the general path, which refuses it.
  if (static_cast<std::size_t>(separator - p) > kMaxDatalogLineBytes) return false;
  p = separator + 1;
  if (C::kLineEnd == '\r' && p < blockEnd && *p == '\n') ++p;
  setWholeNumberFields(record, numbers);
  return true;
}

template <DatalogLayout kLayout>
PlainLines readLines(std::string_view block, std::span<engine::DatalogRecord> records) {
  const char* const begin = block.data();
  const char* const end = begin + block.size();
  const char* p = begin;
  std::size_t count = 0;
  while (count < records.size() && p < end &&
         (readShortLine<kLayout>(p, end, records[count]) ||
          readPlainLine<kLayout>(p, end, records[count])))
    ++count;
  return {static_cast<std::size_t>(p - begin), count};
}

}  // namespace

PlainLines readPlainLines(std::string_view block, DatalogLayout layout,
                          std::span<engine::DatalogRecord> records) {
  switch (layout) {
    case DatalogLayout::Classic:
      return readLines<DatalogLayout::Classic>(block, records);
    case DatalogLayout::Full:
      return readLines<DatalogLayout::Full>(block, records);
    case DatalogLayout::NoLineFeed:
      return readLines<DatalogLayout::NoLineFeed>(block, records);
    case DatalogLayout::Msl:
      break;  // named columns have no plain shape: every line takes the general way
  }
  return {};
}

}  // namespace tallimar::formats
