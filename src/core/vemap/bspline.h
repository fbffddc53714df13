// B-spline curves over an open uniform knot vector, as the raw-map filter fits them.
//
// bSplineBasis and bSplineCurveLiteral follow the Cox-de Boor recursion exactly as the
// program defines it (every basis weight of every order, zeros included). BasisTable and
// bSplineCurve give the same numbers, bit for bit, with the work limited to the k weights
// that can be non-zero at a parameter: outside the knot span of t the recursion only ever
// multiplies zeros, and zero terms add exactly nothing to a curve point's sums. A table is
// computed once per (points, order, curve points) and reused by every line of that shape.
#pragma once

#include <span>
#include <vector>

namespace tallimar::vemap {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Knot i of the open uniform knot vector for n + 1 control points and order k:
// 0 for i < k, i - k + 1 for k <= i <= n, n - k + 2 for i > n.
double bSplineKnot(int n, int k, int i);

// The basis weights N[0..n] of order k at parameter t (the literal recursion). Needs n >= 1
// and k >= 2; otherwise all weights are 0 (an empty vector for n < 0).
std::vector<double> bSplineBasis(int n, double t, int k);

// The curve parameter of interior curve point i of q: i / q x (n - k + 2).
double bSplineParameter(int n, int k, int q, int i);

// The q + 1 curve points of the B-spline of order k through the control polygon P[0..n],
// evaluated with the literal basis at every point. Q[0] = P[0] and Q[q] = P[n]. Needs
// n >= 1, q >= 1 and k >= 2; otherwise the result is empty.
std::vector<Point> bSplineCurveLiteral(std::span<const Point> controlPoints, int k, int q);

// The non-zero basis weights of one (n, k) at the interior curve points i = 1 .. q - 1.
// Valid shapes: n >= 1, 2 <= k <= n + 1, q >= 2 (valid() says whether it was built).
class BasisTable {
 public:
  BasisTable(int n, int k, int q);
  bool valid() const { return m_valid; }
  int n() const { return m_n; }
  int order() const { return m_k; }
  int curvePoints() const { return m_q; }
  // Index of the first weight of curve point i (1 .. q - 1) and its k weights, which
  // belong to control points first .. first + k - 1. A point whose parameter lies outside
  // the knot vector has only zero weights (first = 0).
  int first(int i) const { return m_first[static_cast<std::size_t>(i)]; }
  const double* weights(int i) const {
    return m_weights.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m_k);
  }

 private:
  int m_n, m_k, m_q;
  bool m_valid = false;
  std::vector<int> m_first;
  std::vector<double> m_weights;
};

// The curve points of P through a table built for P.size() - 1 points; same values as
// bSplineCurveLiteral with the table's order and curve point count. out gets q + 1 points.
void bSplineCurve(std::span<const Point> controlPoints, const BasisTable& table,
                  std::vector<Point>& out);

// Convenience form: builds the table (or falls back to the literal curve for an order
// above the point count) and returns the q + 1 curve points; empty on invalid arguments.
std::vector<Point> bSplineCurve(std::span<const Point> controlPoints, int k, int q);

}  // namespace tallimar::vemap
