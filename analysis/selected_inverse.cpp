#include "analysis/selected_inverse.h"

#include <algorithm>
#include <stdexcept>

TSelectedInverse::TSelectedInverse(const TSparseLdlt& ldlt) : factor_(ldlt.matrixL().nestedExpression()) {
  const int n = static_cast<int>(factor_.cols());
  const auto& p = ldlt.permutationP().indices();
  position_.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) position_[static_cast<size_t>(i)] = p.size() > 0 ? p(i) : i;

  const int* start = factor_.outerIndexPtr();
  const int* row = factor_.innerIndexPtr();
  const double* l = factor_.valuePtr();
  const auto& d = ldlt.vectorD();
  diagonal_.assign(static_cast<size_t>(n), 0);
  lower_.assign(static_cast<size_t>(factor_.nonZeros()), 0);
  (void)l;
  std::vector<int> slot(static_cast<size_t>(n), -1);
  std::vector<double> sum;
  Eigen::MatrixXd dense;
  // Z = A^-1 satisfies Z L = L^-T D^-1, upper triangular: for i > j,
  // Z(i,j) = -sum over k > j of Z(i,k) L(k,j), and Z(j,j) = 1/d(j) - sum of
  // L(k,j) Z(k,j). Column j needs Z only at pairs of rows of L's column j,
  // all inside the pattern of the later columns, so the columns are filled
  // from the last to the first. Columns whose patterns nest (a supernode:
  // column j's rows are j+1 and column j+1's rows) share the rows below the
  // supernode, so Z on those rows is gathered once into a dense block and
  // each column is then a dense product.
  for (int last = n - 1; last >= 0;) {
    int first = last;
    while (first > 0 && last - first + 1 < kMaxSupernode) {
      const int j = first - 1;
      if (start[j + 1] - start[j] != start[first + 1] - start[first] + 1 || row[start[j]] != first) break;
      first = j;
    }
    const int below = start[last + 1] - start[last];  // rows under the supernode
    const int width = last - first + 1;
    if (width > 1 && below <= kMaxDenseRows) {
      Supernode(first, last, dense, slot, d);
    } else {
      for (int j = last; j >= first; --j) Column(j, sum, slot, d);
    }
    last = first - 1;
  }
}

void TSelectedInverse::Column(int j, std::vector<double>& sum, std::vector<int>& slot, const Eigen::VectorXd& d) {
  const int* start = factor_.outerIndexPtr();
  const int* row = factor_.innerIndexPtr();
  const double* l = factor_.valuePtr();
  const int begin = start[j], end = start[j + 1];
  const int count = end - begin;
  for (int t = 0; t < count; ++t) slot[static_cast<size_t>(row[begin + t])] = t;
  sum.assign(static_cast<size_t>(count), 0);
  for (int t = 0; t < count; ++t) {
    const int k = row[begin + t];
    const double lkj = l[begin + t];
    sum[static_cast<size_t>(t)] += diagonal_[static_cast<size_t>(k)] * lkj;
    for (int q = start[k]; q < start[k + 1]; ++q) {
      const int s = slot[static_cast<size_t>(row[q])];
      if (s < 0) continue;
      // Z(i,k) with i = row[q] > k, both rows of column j: once for row i, once for row k.
      const double z = lower_[static_cast<size_t>(q)];
      sum[static_cast<size_t>(s)] += z * lkj;
      sum[static_cast<size_t>(t)] += z * l[begin + s];
    }
  }
  double diagonal = 1 / d(j);
  for (int t = 0; t < count; ++t) {
    const double z = -sum[static_cast<size_t>(t)];
    lower_[static_cast<size_t>(begin + t)] = z;
    diagonal -= l[begin + t] * z;
    slot[static_cast<size_t>(row[begin + t])] = -1;
  }
  diagonal_[static_cast<size_t>(j)] = diagonal;
}

void TSelectedInverse::Supernode(int first, int last, Eigen::MatrixXd& dense, std::vector<int>& slot,
                                 const Eigen::VectorXd& d) {
  const int* start = factor_.outerIndexPtr();
  const int* row = factor_.innerIndexPtr();
  const double* l = factor_.valuePtr();
  const int width = last - first + 1;
  const int below = start[last + 1] - start[last];
  const int size = width + below;
  // Local numbering: the supernode's columns, then the rows below it, in
  // order; column j's rows are then the local indices after j's own.
  dense.resize(size, size);
  const int* rows = row + start[last];
  for (int t = 0; t < below; ++t) slot[static_cast<size_t>(rows[t])] = width + t;
  for (int t = 0; t < below; ++t) {
    const int k = rows[t];
    dense(width + t, width + t) = diagonal_[static_cast<size_t>(k)];
    for (int q = start[k]; q < start[k + 1]; ++q) {
      const int s = slot[static_cast<size_t>(row[q])];
      if (s >= 0) dense(s, width + t) = lower_[static_cast<size_t>(q)];
    }
  }
  for (int t = 0; t < below; ++t) slot[static_cast<size_t>(rows[t])] = -1;
  for (int j = last; j >= first; --j) {
    const int local = j - first;
    const int count = size - local - 1;
    const Eigen::Map<const Eigen::VectorXd> lj(l + start[j], count);
    const Eigen::VectorXd z = -(dense.bottomRightCorner(count, count).selfadjointView<Eigen::Lower>() * lj);
    dense.block(local + 1, local, count, 1) = z;
    dense(local, local) = 1 / d(j) - lj.dot(z);
    Eigen::Map<Eigen::VectorXd>(lower_.data() + start[j], count) = z;
    diagonal_[static_cast<size_t>(j)] = dense(local, local);
  }
}

double TSelectedInverse::At(int i, int j) const {
  int a = position_[static_cast<size_t>(i)], b = position_[static_cast<size_t>(j)];
  if (a == b) return diagonal_[static_cast<size_t>(a)];
  if (a < b) std::swap(a, b);  // row a > column b
  const int* first = factor_.innerIndexPtr() + factor_.outerIndexPtr()[b];
  const int* last = factor_.innerIndexPtr() + factor_.outerIndexPtr()[b + 1];
  const int* found = std::lower_bound(first, last, a);
  if (found == last || *found != a) throw std::out_of_range("TSelectedInverse: element outside the factor's pattern");
  return lower_[static_cast<size_t>(found - factor_.innerIndexPtr())];
}
