// Decimal digits: whether a character is one, and how runs of them become a number, both a
// character at a time and eight bytes at a time (the datalog readers' quick paths). Every
// reader of number text uses these, so "a digit" means the same everywhere.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tallimar::common {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at the start of text, at most maxDigits of them, as a number; `used` gets how
// many characters were taken (0 when text does not start with a digit).
constexpr std::uint64_t leadingDigitsValue(std::string_view text, std::size_t& used,
                                           std::size_t maxDigits = 18) {
  std::uint64_t value = 0;
  used = 0;
  while (used < text.size() && used < maxDigits && isDigit(text[used]))
    value = value * 10 + static_cast<std::uint64_t>(text[used++] - '0');
  return value;
}

// --- Eight bytes at a time. The bytes are a little-endian word: the first byte lowest. ---

// Eight bytes from p; the caller makes sure they are readable.
inline std::uint64_t load8(const char* p) {
  std::uint64_t bytes;
  std::memcpy(&bytes, p, 8);
  return bytes;
}

// Non-zero bits in every byte that is no ASCII digit, zero bytes for the digits. A byte is a digit
// when its high nibble is 3 and adding 6 keeps it there; the addition's carries only run upwards
// from a byte that is no digit, so the answer is exact up to and including the first such byte.
constexpr std::uint64_t nonDigitBytes(std::uint64_t bytes) {
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ULL;
  constexpr std::uint64_t kThrees = 0x3030303030303030ULL;
  return ((bytes & kHigh) ^ kThrees) | (((bytes + 0x0606060606060606ULL) & kHigh) ^ kThrees);
}

// How many of the eight bytes are digits in a row from the first.
constexpr int leadingDigitBytes(std::uint64_t bytes) {
  const std::uint64_t odd = nonDigitBytes(bytes);
  return odd ? std::countr_zero(odd) / 8 : 8;
}

// The value of the first `count` (1..8) bytes, all digits: they are moved to the top and
// padded with "0" in front, then combined pairwise by multiplication.
[[gnu::always_inline]] inline std::uint32_t digitBytesValue(std::uint64_t bytes, int count) {
  if (count < 8) {
    const int shift = 8 * (8 - count);
    bytes = (bytes << shift) | (0x3030303030303030ULL >> (64 - shift));
  }
  bytes -= 0x3030303030303030ULL;
  bytes = bytes * 10 + (bytes >> 8);
  bytes = (((bytes & 0x000000FF000000FFULL) * 0x000F424000000064ULL) +
           (((bytes >> 16) & 0x000000FF000000FFULL) * 0x0000271000000001ULL)) >>
          32;
  return static_cast<std::uint32_t>(bytes);
}

// The value of one to four bytes at p, all known to be digits (four bytes must be readable):
// moved to the top of a word (the bytes after them drop out, zeros come in front; a
// multiplication moves them, as a shift by a variable count is slow), then paired: 10 d0 + d1
// and 10 d2 + d3 in the two 16-bit lanes, then 100 x the first + the second.
[[gnu::always_inline]] inline std::int32_t shortDigitsValue(const char* p, std::size_t length) {
  static constexpr std::uint32_t kToTop[5] = {0, 1u << 24, 1u << 16, 1u << 8, 1u};
  std::uint32_t bytes;
  std::memcpy(&bytes, p, 4);
  bytes = (bytes * kToTop[length]) & 0x0F0F0F0Fu;
  bytes = bytes * 10 + (bytes >> 8);
  return static_cast<std::int32_t>((((bytes & 0x00FF00FFu) * 0x00640001u) >> 16) & 0xFFFFu);
}

}  // namespace tallimar::common
