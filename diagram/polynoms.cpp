#include "diagram/polynoms.h"

#include <algorithm>
#include <utility>

#include <Eigen/QR>

namespace {

constexpr int LastRow = MatrixRows - 1;
constexpr int LastCol = MatrixCols - 1;

bool RowBoundFits(int high) { return high >= -1 && high <= LastRow; }
bool ColBoundFits(int high) { return high >= -1 && high <= LastCol; }

TMatrix Failed(std::int32_t status) {
  TMatrix r;
  r.Status = status;
  return r;
}

// Basis term k at (x, y); squares and cubes as exact products.
double Term(int k, double x, double y) {
  switch (k) {
    case 0: return 1.0;
    case 1: return x;
    case 2: return y;
    case 3: return x * x;
    case 4: return x * y;
    case 5: return y * y;
    case 6: return x * x * x;
    case 7: return x * x * y;
    case 8: return x * y * y;
    case 9: return y * y * y;
    default: return 0.0;
  }
}

// Surface terms for an area of n points: as many as points up to 9, then 8.
int LastSurfaceTerm(int n) { return n <= 9 ? n - 1 : 7; }

// A pivot of the QR factorisation this small against the largest one means
// the points do not determine the terms (all on a line, two alike, ...).
// Well-posed fits over shares 0..1 stay many orders of magnitude above it.
constexpr double RankThreshold = 1e-12;

}  // namespace

double Determinant(const TMatrix& M, int h) {
  h = std::min(h, std::min(LastRow, LastCol));
  if (h < 0) return 1.0;
  double a[MatrixRows][MatrixCols];
  for (int r = 0; r <= h; ++r)
    for (int c = 0; c <= h; ++c) a[r][c] = M[r][c];

  int swaps = 0;
  for (int k = 0; k <= h; ++k) {
    if (a[k][k] == 0) {
      int r = k + 1;
      while (r <= h && a[r][k] == 0) ++r;
      if (r > h) return 0.0;
      for (int c = 0; c <= h; ++c) std::swap(a[k][c], a[r][c]);
      ++swaps;
    }
    for (int r = k + 1; r <= h; ++r) {
      const double f = a[r][k] / a[k][k];
      for (int c = k; c <= h; ++c) a[r][c] -= a[k][c] * f;
    }
  }
  double det = 1.0;
  for (int k = 0; k <= h; ++k) det *= a[k][k];
  return swaps % 2 ? -det : det;
}

TMatrix Minor(const TMatrix& M, int i, int j) {
  TMatrix r;
  for (int row = 0, rr = 0; row < MatrixRows; ++row) {
    if (row == i) continue;
    for (int col = 0, cc = 0; col < MatrixCols; ++col) {
      if (col == j) continue;
      r[rr][cc++] = M[row][col];
    }
    ++rr;
  }
  r.RowHigh = M.RowHigh - 1;
  r.ColHigh = M.ColHigh - 1;
  r.Status = 0;
  return r;
}

TMatrix MatrixProduct(const TMatrix& A, const TMatrix& B) {
  if (A.ColHigh != B.RowHigh || !RowBoundFits(A.RowHigh) || !ColBoundFits(A.ColHigh) ||
      !RowBoundFits(B.RowHigh) || !ColBoundFits(B.ColHigh))
    return Failed(-1);
  TMatrix r;
  for (int i = 0; i <= A.RowHigh; ++i)
    for (int j = 0; j <= B.ColHigh; ++j) {
      double sum = 0;
      for (int k = 0; k <= A.ColHigh; ++k) sum += A[i][k] * B[k][j];
      r[i][j] = sum;
    }
  r.RowHigh = A.RowHigh;
  r.ColHigh = B.ColHigh;
  r.Status = 0;
  return r;
}

TMatrix MatrixInverse(const TMatrix& M, int h) {
  if (!RowBoundFits(M.RowHigh) || !ColBoundFits(M.ColHigh)) return Failed(-1);
  const double det = Determinant(M, M.RowHigh);
  if (det == 0) return Failed(-1);
  TMatrix r;
  for (int i = 0; i <= M.RowHigh; ++i)
    for (int j = 0; j <= M.ColHigh; ++j) {
      const double cofactor = Determinant(Minor(M, i, j), h - 1);
      r[i][j] = ((i + j) % 2 ? -cofactor : cofactor) / det;
    }
  r.RowHigh = M.RowHigh;
  r.ColHigh = M.ColHigh;
  r.Status = 0;
  return r;
}

TMatrix FitPolynomial(const TVector& X, const TVector& Y, const TVector& T, int n, int m) {
  if (n <= 0) return Failed(FitNoPoints);
  if (n > VectorSize || m < 0 || m >= PolynomialTerms) return Failed(FitOutOfRange);

  // The temperatures must be one per point, as the product with the
  // transposed design matrix would need them.
  if (T.ColHigh != n - 1) return Failed(FitProductFailed);

  // Design matrix: a row per point, a column per term, fixed-size storage.
  Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, VectorSize, PolynomialTerms> D(n, m + 1);
  Eigen::Matrix<double, Eigen::Dynamic, 1, 0, VectorSize, 1> t(n);
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k <= m; ++k) D(i, k) = Term(k, X[i], Y[i]);
    t(i) = T[i];
  }
  // Least squares by Householder QR with column pivoting, on the design
  // matrix itself: forming the normal matrix would square its condition.
  Eigen::ColPivHouseholderQR<decltype(D)> qr(D);
  qr.setThreshold(RankThreshold);
  if (qr.rank() < m + 1) return Failed(FitSingular);
  const Eigen::Matrix<double, Eigen::Dynamic, 1, 0, PolynomialTerms, 1> solution = qr.solve(t);

  TMatrix c;
  for (int k = 0; k <= m; ++k) c[k][0] = solution(k);
  c.RowHigh = m;
  c.ColHigh = 0;
  c.Status = 0;
  return c;
}

double PolynomialValue(const TMatrix& C, double x, double y) {
  if (x < 0 || y < 0) return 0;
  const int last = std::min<int>(C.RowHigh, PolynomialTerms - 1);
  double sum = 0;
  for (int k = 0; k <= last; ++k) sum += C[k][0] * Term(k, x, y);
  return sum;
}

TMatrix FitTemperatureSurface(int n, const double* A, const double* B, const double* T) {
  if (n > VectorSize || (n > 0 && (!A || !B || !T))) return Failed(FitOutOfRange);
  TVector X, Y, Temps;
  for (int i = 0; i < n; ++i) {
    X[i] = A[i] / 100;
    Y[i] = B[i] / 100;
    Temps[i] = T[i];
  }
  X.ColHigh = Y.ColHigh = Temps.ColHigh = std::max(n, 0) - 1;
  return FitPolynomial(X, Y, Temps, n, LastSurfaceTerm(n));
}
