// The seven conversion factor tables: 256 16-bit entries each, indexed by an 8-bit ADC count.
#pragma once

#include <array>
#include <cstdint>

namespace tallimar::formats {

using FactorTable = std::array<std::int16_t, 256>;

// The tables in their load order.
enum class FactorKind { Kpa = 0, AirDensity, Baro, Thermistor, Throttle, WideBand, Vss };
inline constexpr int kFactorTableCount = 7;

struct FactorTables {
  std::array<FactorTable, kFactorTableCount> tables{};
  FactorTable& operator[](FactorKind kind) { return tables[static_cast<std::size_t>(kind)]; }
  const FactorTable& operator[](FactorKind kind) const {
    return tables[static_cast<std::size_t>(kind)];
  }
  // Every table becomes the identity, entry i = i.
  void setIdentity() {
    for (auto& table : tables)
      for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::int16_t>(i);
  }
};

}  // namespace tallimar::formats
