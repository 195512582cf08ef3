#pragma once
// Least-squares polynomial surface T(x, y) of at most the third degree through
// the T-points of one phase area, with the small dense-matrix toolkit it is
// built from. Plain numerics: no Qt, no allocation, no exceptions; failures
// are reported in Status only.
//
// Matrices and vectors are fixed blocks passed as values. Only rows 0 to
// RowHigh and columns 0 to ColHigh carry meaning; -1 means none. The blocks
// are sized for an area's 12 T-points: the design matrix of a fit has one row
// per point and its transpose one column per point.
#include <array>
#include <cstdint>

constexpr int MatrixRows = 13;  // rows 0..12
constexpr int MatrixCols = 13;  // columns 0..12
constexpr int VectorSize = 12;  // values 0..11
// Basis terms in this order, k = 0..9: 1, x, y, x², x·y, y², x³, x²·y, x·y², y³.
constexpr int PolynomialTerms = 10;

// Status codes of FitPolynomial and FitTemperatureSurface.
constexpr std::int32_t FitNoPoints = -1;
constexpr std::int32_t FitProductFailed = -2;  // inner bounds of a product differ
constexpr std::int32_t FitSingular = -3;       // the points do not determine the terms
constexpr std::int32_t FitOutOfRange = -4;     // more points than a vector holds, or m outside 0..9

struct TMatrix {
  std::array<std::array<double, MatrixCols>, MatrixRows> Cells{};
  std::int32_t Status = 0;
  std::int32_t RowHigh = -1;
  std::int32_t ColHigh = -1;

  std::array<double, MatrixCols>& operator[](int row) { return Cells[row]; }
  const std::array<double, MatrixCols>& operator[](int row) const { return Cells[row]; }
};

// A matrix of one row: RowHigh 0, values 0 to ColHigh.
struct TVector {
  std::array<double, VectorSize> Values{};
  std::int32_t Status = 0;
  std::int32_t RowHigh = 0;
  std::int32_t ColHigh = -1;

  double& operator[](int i) { return Values[i]; }
  double operator[](int i) const { return Values[i]; }
};

// Determinant of rows and columns 0..h of M by Gaussian elimination (a zero
// pivot is swapped with the first row below that is non-zero in its column).
// 1.0 for h < 0; h past the block is taken as its last index.
double Determinant(const TMatrix& M, int h);

// M without row i and column j: RowHigh and ColHigh one less, Status 0.
TMatrix Minor(const TMatrix& M, int i, int j);

// A·B over A's rows 0..RowHigh and B's columns 0..ColHigh. Status -1 (and
// nothing else defined) when A's ColHigh differs from B's RowHigh or a bound
// lies outside the block.
TMatrix MatrixProduct(const TMatrix& A, const TMatrix& B);

// Inverse of the symmetric matrix M by cofactors: entry (i, j) is
// (-1)^(i+j)·Determinant(Minor(M, i, j), h - 1) / Determinant(M, RowHigh).
// Status -1 when that determinant is exactly 0 or a bound lies outside the
// block.
TMatrix MatrixInverse(const TMatrix& M, int h);

// Least-squares fit of terms 0..m to the n points (X[i], Y[i], T[i]): the
// coefficients c0..cm in column 0 (RowHigh m, ColHigh 0, Status 0), or one of
// the Fit* codes in Status. The temperatures are T's values 0..ColHigh, one
// per point (FitProductFailed otherwise). Solved by a QR factorisation with
// column pivoting of the design matrix, not by inverting the normal matrix:
// exact data gives its surface back to rounding. FitSingular when the design
// matrix has lower rank than the terms (a pivot below 1e-12 of the largest).
TMatrix FitPolynomial(const TVector& X, const TVector& Y, const TVector& T, int n, int m);

// The fitted polynomial C at (x, y); 0 when x or y is negative. Status is not
// looked at: evaluate only a fit whose Status is 0.
double PolynomialValue(const TMatrix& C, double x, double y);

// The temperature surface of one phase area from its n T-points: shares A[i]
// and B[i] in percent, temperatures T[i] in °C. Fits over x = A/100 and
// y = B/100 with as many terms as points up to 9 points (m = n - 1) and 8
// terms (1, x, y, x², x·y, y², x³, x²·y) from 10 points on; every point is
// used. Status FitOutOfRange for n > 12 (or a missing array), FitNoPoints for
// n <= 0, FitSingular when the points do not determine the terms (two points
// with the same A, three on a line of constant B, ...). A pure function of its arguments, so a caller may keep the result
// while the T-points stay the same. The temperature at (A, B) in percent is
// PolynomialValue(fit, A / 100, B / 100), meaningful only when Status == 0.
TMatrix FitTemperatureSurface(int n, const double* A, const double* B, const double* T);
