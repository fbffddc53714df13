// B-spline basis and curves: the defining shapes, and the fast evaluation against the literal one.
#include "vemap/bspline.h"

#include <gtest/gtest.h>

#include <random>

namespace tallimar::vemap {
namespace {

// Order 2 is the control polygon; order equal to the point count is one Bezier piece.
TEST(BSplineCurve, OrderTwoIsThePolygonAndFullOrderIsOneBezierPiece) {
  const std::vector<Point> P{{10, 50}, {20, 70}, {30, 40}, {40, 80}};
  const auto linear = bSplineCurve(P, 2, 255);
  const auto bezier = bSplineCurve(P, 4, 255);
  ASSERT_EQ(linear.size(), 256u);
  EXPECT_EQ(linear.front(), P.front());
  EXPECT_EQ(linear.back(), P.back());
  for (std::size_t i = 1; i < 255; ++i) {
    const double t = static_cast<double>(i) / 255.0 * 3;  // over the three segments
    const auto seg = static_cast<std::size_t>(t);
    const Point& a = P[seg];
    const Point& b = P[seg + 1];
    EXPECT_NEAR(linear[i].y, a.y + (t - static_cast<double>(seg)) * (b.y - a.y), 1e-9) << i;
    std::vector<Point> w = P;  // de Casteljau at s = i / 255
    const double s = static_cast<double>(i) / 255.0;
    for (std::size_t level = 1; level < w.size(); ++level)
      for (std::size_t j = 0; j + level < w.size(); ++j)
        w[j] = {w[j].x + s * (w[j + 1].x - w[j].x), w[j].y + s * (w[j + 1].y - w[j].y)};
    EXPECT_NEAR(bezier[i].x, w[0].x, 1e-9) << i;
    EXPECT_NEAR(bezier[i].y, w[0].y, 1e-9) << i;
  }
}

// The span table gives exactly the literal weights (zeros elsewhere) for every shape.
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
    ASSERT_EQ(bSplineCurve(P, k, 255), bSplineCurveLiteral(P, k, 255))
        << "points=" << count << " order=" << k;
  }
}

}  // namespace
}  // namespace tallimar::vemap
