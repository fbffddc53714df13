// StatusLog: where commands report their progress and failures, one line at a time.
// The windows show the lines in their status list; tallimar-batch writes them to standard
// error; tests keep them in a vector.
#pragma once

#include <string>
#include <vector>

namespace tallimar::common {

class StatusLog {
 public:
  virtual ~StatusLog() = default;
  // Appends one line; the newest line is the one in view.
  virtual void append(const std::string& line) = 0;
};

// Keeps every line in order; for tests and for collecting lines to show later.
class VectorStatusLog : public StatusLog {
 public:
  void append(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

}  // namespace tallimar::common
