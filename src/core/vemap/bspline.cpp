// B-spline basis and curves: the literal recursion and its span-limited twin.
//
// Both versions evaluate every non-zero weight with the same expression in the same order,
// so they agree bit for bit. This file is built without floating-point contraction (see
// CMakeLists.txt): a fused multiply-add in one version and not in the other would break
// that agreement.
#include "vemap/bspline.h"

#include <cmath>

namespace tallimar::vemap {

namespace {

std::vector<double> knotVector(int n, int k) {
  std::vector<double> u(static_cast<std::size_t>(n + k + 2));
  for (int i = 0; i < n + k + 2; ++i) u[static_cast<std::size_t>(i)] = bSplineKnot(n, k, i);
  return u;
}

// The k weights of the knot span of t into out[0..k-1]; returns the index of the first.
// T and N are scratch arrays of k + 1 entries. Requires n >= 1 and 2 <= k <= n + 1.
int spanWeights(int n, int k, double t, const double* u, double* T, double* N, double* out) {
  for (int a = 0; a < k; ++a) out[a] = 0.0;
  if (!(t >= 0.0) || !(t < static_cast<double>(n - k + 2))) return 0;
  int s = k - 1 + static_cast<int>(std::floor(t));
  if (s > n) s = n;
  // The only first-order weight that is 1: u[s] <= t < u[s + 1].
  while (s > k - 1 && t < u[s]) --s;
  while (s < n && !(t < u[s + 1])) ++s;
  if (!(u[s] <= t && t < u[s + 1])) return 0;

  const int base = s - k + 1;  // window index a stands for basis index base + a
  for (int a = 0; a <= k; ++a) T[a] = 0.0;
  T[k - 1] = 1.0;
  for (int j = 2; j <= k; ++j) {
    // Written without branches so that the compiler can divide two weights at once. A zero
    // denominator (repeated knots, whole numbers) becomes 1 and its numerator 0, so the term
    // is a zero as in the literal recursion (possibly -0, which adds to sums exactly as +0).
    const double* lo = u + base;  // lo[a] = u[i]
    for (int a = k - j; a < k; ++a) {
      const double den1 = lo[a + j - 1] - lo[a];
      const double den2 = lo[a + j] - lo[a + 1];
      const double use1 = static_cast<double>(den1 != 0.0);
      const double use2 = static_cast<double>(den2 != 0.0);
      const double d = (t - lo[a]) * T[a] * use1 / (den1 + (1.0 - use1));
      const double e = (lo[a + j] - t) * T[a + 1] * use2 / (den2 + (1.0 - use2));
      N[a] = d + e;
    }
    for (int a = k - j; a < k; ++a) T[a] = N[a];
  }
  for (int a = 0; a < k; ++a) out[a] = T[a];
  return base;
}

}  // namespace

double bSplineKnot(int n, int k, int i) {
  if (i < k) return 0.0;
  if (i <= n) return static_cast<double>(i - k + 1);
  return static_cast<double>(n - k + 2);
}

std::vector<double> bSplineBasis(int n, double t, int k) {
  if (n < 0) return {};
  const auto count = static_cast<std::size_t>(n + 1);
  std::vector<double> N(count, 0.0);
  if (n < 1 || k < 2) return N;
  const std::vector<double> u = knotVector(n, k);
  std::vector<double> T(count + 1, 0.0);
  for (std::size_t i = 0; i < count; ++i) {
    T[i] = (u[i] <= t && t < u[i + 1]) ? 1.0 : 0.0;
    if (u[i] == 0.0 && u[i + 1] == 0.0) T[i] = 0.0;
  }
  T[count] = 0.0;
  for (int j = 2; j <= k; ++j) {
    for (int i = 0; i <= n; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      const auto uj = static_cast<std::size_t>(i + j);
      double d = 0.0;
      double e = 0.0;
      const double den1 = u[uj - 1] - u[ui];
      if (den1 != 0.0) d = (t - u[ui]) * T[ui] / den1;
      const double den2 = u[uj] - u[ui + 1];
      if (den2 != 0.0) e = (u[uj] - t) * T[ui + 1] / den2;
      N[ui] = d + e;
    }
    for (std::size_t i = 0; i < count; ++i) T[i] = N[i];
  }
  return N;
}

double bSplineParameter(int n, int k, int q, int i) {
  return static_cast<double>(i) / static_cast<double>(q) * static_cast<double>(n - k + 2);
}

std::vector<Point> bSplineCurveLiteral(std::span<const Point> controlPoints, int k, int q) {
  const int n = static_cast<int>(controlPoints.size()) - 1;
  if (n < 1 || q < 1 || k < 2) return {};
  std::vector<Point> curve(static_cast<std::size_t>(q + 1));
  curve.front() = controlPoints.front();
  curve.back() = controlPoints.back();
  for (int i = 1; i < q; ++i) {
    const std::vector<double> N = bSplineBasis(n, bSplineParameter(n, k, q, i), k);
    double x = 0.0;
    double y = 0.0;
    for (std::size_t j = 0; j < N.size(); ++j) {
      x += N[j] * controlPoints[j].x;
      y += N[j] * controlPoints[j].y;
    }
    curve[static_cast<std::size_t>(i)] = {x, y};
  }
  return curve;
}

BasisTable::BasisTable(int n, int k, int q) : m_n(n), m_k(k), m_q(q) {
  if (n < 1 || k < 2 || k > n + 1 || q < 1) return;
  m_valid = true;
  const std::vector<double> u = knotVector(n, k);
  std::vector<double> scratch(2 * static_cast<std::size_t>(k + 1));
  m_first.assign(static_cast<std::size_t>(q + 1), 0);
  m_weights.assign(static_cast<std::size_t>(q + 1) * static_cast<std::size_t>(k), 0.0);
  for (int i = 1; i < q; ++i) {
    double* out = m_weights.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(k);
    m_first[static_cast<std::size_t>(i)] = spanWeights(n, k, bSplineParameter(n, k, q, i), u.data(),
                                                       scratch.data(), scratch.data() + k + 1, out);
  }
}

namespace {

// Curve points i .. i + L - 1 together: each keeps its own sums in the literal order, but
// the L independent chains of additions overlap in the processor.
template <int L>
void curvePoints(std::span<const Point> controlPoints, const BasisTable& table, int i,
                 std::vector<Point>& out) {
  const double* w[L];
  const Point* p[L];
  double x[L];
  double y[L];
  for (int l = 0; l < L; ++l) {
    w[l] = table.weights(i + l);
    p[l] = controlPoints.data() + table.first(i + l);
    x[l] = 0.0;
    y[l] = 0.0;
  }
  for (int a = 0; a < table.order(); ++a) {
    for (int l = 0; l < L; ++l) {
      x[l] += w[l][a] * p[l][a].x;
      y[l] += w[l][a] * p[l][a].y;
    }
  }
  for (int l = 0; l < L; ++l) out[static_cast<std::size_t>(i + l)] = {x[l], y[l]};
}

}  // namespace

void bSplineCurve(std::span<const Point> controlPoints, const BasisTable& table,
                  std::vector<Point>& out) {
  out.clear();
  const int n = static_cast<int>(controlPoints.size()) - 1;
  if (!table.valid() || n != table.n()) return;
  const int q = table.curvePoints();
  out.resize(static_cast<std::size_t>(q + 1));
  out.front() = controlPoints.front();
  out.back() = controlPoints.back();
  int i = 1;
  for (; i + 4 <= q; i += 4) curvePoints<4>(controlPoints, table, i, out);
  for (; i < q; ++i) curvePoints<1>(controlPoints, table, i, out);
}

std::vector<Point> bSplineCurve(std::span<const Point> controlPoints, int k, int q) {
  const int n = static_cast<int>(controlPoints.size()) - 1;
  if (n < 1 || q < 1 || k < 2) return {};
  if (k > n + 1) return bSplineCurveLiteral(controlPoints, k, q);
  std::vector<Point> curve;
  bSplineCurve(controlPoints, BasisTable(n, k, q), curve);
  return curve;
}

}  // namespace tallimar::vemap
