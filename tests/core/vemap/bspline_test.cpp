// B-spline basis and curves: the defining properties, and the span-limited evaluation
// agreeing bit for bit with the literal recursion.
#include "vemap/bspline.h"

#include <gtest/gtest.h>

#include <random>

namespace tallimar::vemap {
namespace {

std::vector<Point> polygon(std::initializer_list<Point> points) { return points; }

TEST(BSplineBasis, InvalidArgumentsGiveZeros) {
  EXPECT_TRUE(bSplineBasis(-1, 0.5, 3).empty());
  EXPECT_EQ(bSplineBasis(4, 0.5, 1), std::vector<double>(5, 0.0));
  EXPECT_EQ(bSplineBasis(0, 0.0, 2), std::vector<double>(1, 0.0));
  EXPECT_TRUE(bSplineCurve(polygon({{1, 1}}), 2, 10).empty());
  EXPECT_TRUE(bSplineCurve(polygon({{1, 1}, {2, 2}}), 1, 10).empty());
  EXPECT_TRUE(bSplineCurve(polygon({{1, 1}, {2, 2}}), 2, 0).empty());
}

TEST(BSplineCurve, OrderTwoIsTheControlPolygon) {
  const auto P = polygon({{10, 50}, {20, 70}, {30, 40}, {40, 80}});
  const auto Q = bSplineCurve(P, 2, 255);
  ASSERT_EQ(Q.size(), 256u);
  EXPECT_EQ(Q.front(), P.front());
  EXPECT_EQ(Q.back(), P.back());
  for (int i = 1; i < 255; ++i) {
    const double t = i / 255.0 * 3;  // parameter runs over the three segments
    const int seg = static_cast<int>(t);
    const double f = t - seg;
    const auto& a = P[static_cast<std::size_t>(seg)];
    const auto& b = P[static_cast<std::size_t>(seg + 1)];
    EXPECT_NEAR(Q[static_cast<std::size_t>(i)].x, a.x + f * (b.x - a.x), 1e-9);
    EXPECT_NEAR(Q[static_cast<std::size_t>(i)].y, a.y + f * (b.y - a.y), 1e-9);
  }
}

TEST(BSplineCurve, OrderEqualToPointCountIsOneBezierPiece) {
  std::vector<Point> P;
  for (int j = 0; j < 10; ++j) P.push_back({10.0 + j, 40.0 + (j * 37) % 23});
  const auto Q = bSplineCurve(P, 10, 255);
  for (int i = 1; i < 255; ++i) {
    // de Casteljau at s = i / 255 (the parameter runs over one piece, 0 to 1).
    std::vector<Point> work = P;
    const double s = i / 255.0;
    for (std::size_t level = 1; level < work.size(); ++level) {
      for (std::size_t j = 0; j + level < work.size(); ++j) {
        work[j] = {work[j].x + s * (work[j + 1].x - work[j].x),
                   work[j].y + s * (work[j + 1].y - work[j].y)};
      }
    }
    EXPECT_NEAR(Q[static_cast<std::size_t>(i)].x, work[0].x, 1e-9);
    EXPECT_NEAR(Q[static_cast<std::size_t>(i)].y, work[0].y, 1e-9);
  }
}

// The span version must give exactly the literal weights (zeros elsewhere) for every shape.
TEST(BSplineSpan, EqualsLiteralBasisForEveryShape) {
  for (int n = 1; n <= 36; ++n) {
    for (int k = 2; k <= n + 1; ++k) {
      const BasisTable table(n, k, 255);
      ASSERT_TRUE(table.valid());
      for (int i = 1; i < 255; i += (n > 20 ? 3 : 1)) {
        const auto literal = bSplineBasis(n, bSplineParameter(n, k, 255, i), k);
        const int first = table.first(i);
        const double* w = table.weights(i);
        for (int j = 0; j <= n; ++j) {
          const double fast = (j >= first && j < first + k) ? w[j - first] : 0.0;
          ASSERT_EQ(fast, literal[static_cast<std::size_t>(j)])
              << "n=" << n << " k=" << k << " i=" << i << " j=" << j;
        }
      }
    }
  }
}

// Property: on random polygons of random shapes the fast curve equals the literal one.
TEST(BSplineCurve, FastEqualsLiteralOnRandomPolygons) {
  std::mt19937 random(20240607);
  for (int trial = 0; trial < 60; ++trial) {
    const int count = std::uniform_int_distribution<int>(2, trial < 50 ? 60 : 256)(random);
    const int k = std::uniform_int_distribution<int>(2, count)(random);
    std::vector<Point> P;
    double x = 0;
    for (int j = 0; j < count; ++j) {
      x += std::uniform_int_distribution<int>(1, 3)(random);
      P.push_back({x, std::uniform_real_distribution<double>(-20, 180)(random)});
    }
    const auto fast = bSplineCurve(P, k, 255);
    const auto literal = bSplineCurveLiteral(P, k, 255);
    ASSERT_EQ(fast, literal) << "points=" << count << " order=" << k;
  }
}

}  // namespace
}  // namespace tallimar::vemap
