// CrossoverList: where the crossover list lines go (the main window's "Crossover Points:" list,
// List1): one diagnostic line per crossover point, the "**** DataLog: ... ****" line of each
// file and the outlier lines of the raw data map reduction.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tallimar::engine {

class CrossoverList {
 public:
  virtual ~CrossoverList() = default;
  // Empties the list.
  virtual void clear() = 0;
  // Appends lines at the end of the list, in order; the last one is the newest and should be
  // brought into view. A datalog can give 200,000 lines, so they arrive in batches (up to
  // kCrossoverListBatch lines per call), never one call per line.
  virtual void append(std::span<const std::string> lines) = 0;
};

inline constexpr std::size_t kCrossoverListBatch = 4096;

// Keeps every line; for tests and for callers that show the lines later.
class VectorCrossoverList : public CrossoverList {
 public:
  void clear() override { lines.clear(); }
  void append(std::span<const std::string> batch) override {
    lines.insert(lines.end(), batch.begin(), batch.end());
  }
  std::vector<std::string> lines;
};

// Drops every line; for callers that do not show the list.
class NullCrossoverList : public CrossoverList {
 public:
  void clear() override {}
  void append(std::span<const std::string>) override {}
};

// Collects lines and hands them to a list in batches of kCrossoverListBatch.
class CrossoverListBatcher {
 public:
  explicit CrossoverListBatcher(CrossoverList& list) : m_list(list) {}
  ~CrossoverListBatcher() { flush(); }
  CrossoverListBatcher(const CrossoverListBatcher&) = delete;
  CrossoverListBatcher& operator=(const CrossoverListBatcher&) = delete;

  void add(std::string line) {
    m_pending.push_back(std::move(line));
    if (m_pending.size() >= kCrossoverListBatch) flush();
  }
  void flush() {
    if (m_pending.empty()) return;
    m_list.append(m_pending);
    m_pending.clear();
  }

 private:
  CrossoverList& m_list;
  std::vector<std::string> m_pending;
};

}  // namespace tallimar::engine
