// Array moves of the chart histories. In place is the normal case: the scope
// hands the same array as source and target.
#include "scope/history.h"

int Copy1D(const double *x, int n, double *y) {
  if (n < 1) return kErrNumElements;
  for (int i = 0; i < n; ++i) y[i] = x[i];
  return 0;
}

int Shift(const double *x, int n, int s, double *y) {
  if (n < 1) return kErrNumElements;
  const long long dist = s < 0 ? -static_cast<long long>(s) : s;
  if (dist >= n) return kErrShiftTooFar;
  if (s == 0) return Copy1D(x, n, y);
  const int d = static_cast<int>(dist);
  if (s < 0) {
    // Toward index 0: ascending, so each source element is read before it is overwritten.
    for (int i = 0; i < n - d; ++i) y[i] = x[i + d];
    for (int i = n - d; i < n; ++i) y[i] = 0.0;
  } else {
    for (int i = n - 1; i >= d; --i) y[i] = x[i - d];
    for (int i = 0; i < d; ++i) y[i] = 0.0;
  }
  return 0;
}
