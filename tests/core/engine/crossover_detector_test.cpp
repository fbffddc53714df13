// O2 crossover detection: crossing rules, the warm-up counter, RPMMin, NewVE and the cap.
#include "engine/crossover_detector.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "common/number_text.h"

namespace tallimar::engine {
namespace {

DatalogRecord sample(float o2, std::int16_t status = 1, std::int16_t rpm = 2500) {
  return {.rpm = rpm, .map = 55, .o2 = o2, .status = status, .gego = 100, .gve = 60, .gammaE = 104};
}

// 1-based positions of the points found in the records, T = 0.5 V, RPMMin 1200.
std::vector<std::int64_t> crossings(const std::vector<DatalogRecord>& records, float t = 0.5f) {
  CrossoverDetector detector(t, 1200);
  for (std::size_t i = 0; i < records.size(); ++i)
    detector.offer(records[i], static_cast<std::int64_t>(i) + 1);
  return detector.positions();
}

using Positions = std::vector<std::int64_t>;

// One sample of a run: O2 volts, Status (1 when left out) and rev/min (2500 when left out).
struct Step {
  float o2;
  std::int16_t status = 1;
  std::int16_t rpm = 2500;
};

TEST(CrossoverDetection, CrossingRulesWarmUpAndRpmMin) {
  const struct {
    const char* what;
    std::vector<Step> run;
    Positions expected;
  } cases[] = {
      // Samples 1, 2 warm up; 3 rises against the 0.0 V start history; 5 falls.
      {"start", {{0.8f}, {0.8f}, {0.8f}, {0.8f}, {0.2f}}, {3, 5}},
      // Another Status before the first Status-1 sample: one sample warms up, as after a gap.
      {"status first", {{0.8f, 0}, {0.8f, 5}, {0.8f}, {0.8f}, {0.8f}}, {4}},
      // After a Status gap one sample is passed over, then the history from before the gap
      // (0.2, 0.2) holds: 7 rises; with history 0.2, 0.8 the falling 8 is no crossing.
      {"gap", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.9f, 0}, {0.8f}, {0.8f}, {0.2f}}, {7}},
      // Below RPMMin a crossing is not kept but moves the history on; at RPMMin it is kept.
      {"rpm", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.8f, 1, 1199}, {0.8f}, {0.2f}}, {7}},
      {"at rpm min", {{0.8f}, {0.8f}, {0.8f, 1, 1200}}, {3}},
      // A voltage equal to the transfer voltage is on neither side: it blocks the next two
      // tested samples, and is no crossing itself; just below it the 0.8 V after it rises.
      {"on the line", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.5f}, {0.8f}, {0.8f}, {0.2f}}, {8}},
      {"below", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.49f}, {0.8f}, {0.8f}, {0.2f}}, {6, 8}},
      {"falling to the line", {{0.8f}, {0.8f}, {0.8f}, {0.8f}, {0.5f}}, {3}},
      {"line one back", {{0.8f}, {0.8f}, {0.8f}, {0.8f}, {0.5f}, {0.2f}}, {3}},
      {"line two back", {{0.8f}, {0.8f}, {0.8f}, {0.8f}, {0.5f}, {0.8f}, {0.2f}}, {3}},
      {"rising, line one back", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.5f}, {0.8f}}, {}},
      {"rising, line two back", {{0.2f}, {0.2f}, {0.2f}, {0.2f}, {0.5f}, {0.2f}, {0.8f}}, {}},
  };
  for (const auto& c : cases) {
    std::vector<DatalogRecord> records;
    for (const Step& step : c.run) records.push_back(sample(step.o2, step.status, step.rpm));
    EXPECT_EQ(crossings(records), c.expected) << c.what;
  }
}

// NewVE's own rounding is the program's half-to-even 16-bit conversion of the same product.
TEST(CrossoverDetection, NewVeIsTheRoundedProductForEveryVeAndCorrection) {
  auto check = [](int gve, int gego) {
    const auto g = static_cast<std::int16_t>(gve), e = static_cast<std::int16_t>(gego);
    ASSERT_EQ(newVE(g, e), common::toInt16((g / 100.0) * (e / 100.0) * 100.0))
        << gve << " " << gego;
  };
  for (int gve = -400; gve <= 400; ++gve)
    for (int gego = -400; gego <= 400; ++gego) check(gve, gego);
  std::mt19937 random(5);
  std::uniform_int_distribution<int> any(-32768, 32767);
  for (int i = 0; i < 200000; ++i) check(any(random), any(random));
}

std::vector<std::int16_t> newVEs(const CrossoverDetector& detector) {
  std::vector<std::int16_t> out;
  for (const auto& p : detector.points()) out.push_back(p.newVE);
  return out;
}

// Batches, and targets held in each record, find what single records against a fixed value find.
TEST(CrossoverDetection, BatchesAndSampleTargetsScanAsSingleRecords) {
  std::mt19937 random(9);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  for (int round = 0; round < 300; ++round) {
    const float target = round % 3 == 0 ? 14.7f : 0.5f;
    std::vector<DatalogRecord> records;
    for (int i = 0; i < 400; ++i) {
      const float o2 = pick(3) == 0 ? target : target + static_cast<float>(pick(21) - 10) / 10.0f;
      DatalogRecord r = sample(o2, static_cast<std::int16_t>(pick(12) == 0 ? 0 : 1),
                               static_cast<std::int16_t>(pick(4000)));
      r.o2Target = target;
      r.gve = static_cast<std::int16_t>(pick(round % 5 == 0 ? 40000 : 120));
      r.gego = static_cast<std::int16_t>(80 + pick(40));
      records.push_back(r);
    }
    CrossoverDetector single(target, 1000);
    std::size_t singleTaken = records.size();
    for (std::size_t i = 0; i < records.size() && singleTaken == records.size(); ++i) {
      if (single.offer(records[i], static_cast<std::int64_t>(i) + 1) ==
          CrossoverDetector::Step::NewVeOutOfRange)
        singleTaken = i;
    }
    CrossoverDetector batched(target, 1000);
    auto own = CrossoverDetector::againstSampleTargets(1000);
    for (CrossoverDetector* detector : {&batched, &own}) {
      std::size_t taken = 0;
      for (std::size_t start = 0; start < records.size() && taken == start;) {
        const std::size_t count =
            std::min<std::size_t>(1 + static_cast<std::size_t>(pick(60)), records.size() - start);
        taken = start + detector->offerAll(std::span(records).subspan(start, count),
                                           static_cast<std::int64_t>(start) + 1);
        start += count;
      }
      ASSERT_EQ(std::tuple(taken, detector->positions(), newVEs(*detector)),
                std::tuple(singleTaken, single.positions(), newVEs(single)))
          << "round " << round;
    }
  }
  // Against moving targets: samples 1 and 2 warm up; 3 lies below its target, as the start
  // does; 4 lies above its own lower target: a crossing, though its AFR fell; 5 stays above.
  std::vector<DatalogRecord> moving;
  for (const auto& [afr, target] : std::vector<std::pair<float, float>>{
           {15.0f, 14.7f}, {15.0f, 14.7f}, {15.0f, 15.5f}, {14.0f, 12.5f}, {15.0f, 14.7f}}) {
    moving.push_back(sample(afr));
    moving.back().o2Target = target;
  }
  auto own = CrossoverDetector::againstSampleTargets(1200);
  own.offerAll(moving, 1);
  EXPECT_EQ(own.positions(), (Positions{4}));
  EXPECT_EQ(own.points().at(0).o2, 14.0f);  // the point keeps the AFR itself
}

// The usual line is compared in the Open Datalog test; here numbers wider than their column.
TEST(CrossoverDetection, DiagnosticLineWidensForLongNumbers) {
  CrossoverPoint wide{-1200, 1000, -5, 7, 0, 0.1f, -3};
  EXPECT_EQ(diagnosticLine(12345678, wide),
            "Count:12345677 MAP:1000 RPM:-1200 Gego: -5 Gve:  7 Nve: -3");
}

// Where the points go: one earlier point in the list, the status lines and the diagnostic list.
struct Published {
  CrossoverPoints into{CrossoverPoint{}};
  common::VectorStatusLog status;
  VectorCrossoverList list;
};

TEST(CrossoverDetection, StopsAtTwoHundredThousandPointsAndSaysSo) {
  // High, high, low, low, ... gives a crossing every second sample after the warm-up.
  CrossoverDetector detector(0.5f, 0);
  std::int64_t position = 0;
  CrossoverDetector::Step step = CrossoverDetector::Step::Scanning;
  while (step == CrossoverDetector::Step::Scanning && position < 1000000) {
    ++position;
    step = detector.offer(sample(((position + 1) / 2) % 2 ? 0.8f : 0.2f), position);
  }
  EXPECT_EQ(step, CrossoverDetector::Step::Full);
  EXPECT_EQ(detector.offer(sample(0.8f), position + 1), CrossoverDetector::Step::Full);

  Published out;
  publishCrossovers(detector, out.into, out.status, out.list);
  EXPECT_EQ(out.status.lines,
            (std::vector<std::string>{"Finding O2 Crossover", "Maximum Crossover Points Found",
                                      "200000 Crossover Points Found"}));
  EXPECT_EQ(std::tuple(out.into.size(), out.list.lines.size(), out.list.lines.back().substr(0, 12)),
            std::tuple(kMaxCrossoverPoints, kMaxCrossoverPoints, "Count:400002"));
  EXPECT_EQ(position, 400003);  // crossings at 5, 7, 9, ...
}

TEST(CrossoverDetection, WholeArrayScanKeepsThePreviousPointsOnOverflow) {
  Published out;
  std::vector<DatalogRecord> records{sample(0.8f), sample(0.8f), sample(0.8f)};
  records[2].gve = 32000, records[2].gego = 32000;
  std::size_t failed = 0;
  EXPECT_FALSE(findCrossovers(records, 0.5f, 1200, out.into, out.status, out.list, &failed));
  EXPECT_EQ(std::tuple(failed, out.into.size(), out.status.lines.size()), std::tuple(2u, 1u, 0u));
}

}  // namespace
}  // namespace tallimar::engine
