#pragma once
// Selected elements of the inverse of a sparse symmetric positive definite
// matrix, computed exactly from Eigen's LDL^T factor by Takahashi's
// recurrences: every element of the inverse on the pattern of the factor
// (which holds the matrix's own pattern), for about the cost of the
// factorisation, without forming the inverse.

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <vector>

using TSparseMatrix = Eigen::SparseMatrix<double>;
using TSparseLdlt = Eigen::SimplicialLDLT<TSparseMatrix>;

class TSelectedInverse {
 public:
  // From a successful factorisation of A.
  explicit TSelectedInverse(const TSparseLdlt& ldlt);

  // Element (i, j) of A^-1, where A holds a non-zero at (i, j) or i = j.
  // Raises std::out_of_range for an element outside the factor's pattern.
  double At(int i, int j) const;

 private:
  // Supernodes are taken whole up to this many columns, and while their
  // dense block of the inverse stays below this many rows.
  static constexpr int kMaxSupernode = 256;
  static constexpr int kMaxDenseRows = 4096;

  void Column(int j, std::vector<double>& sum, std::vector<int>& slot, const Eigen::VectorXd& d);
  void Supernode(int first, int last, Eigen::MatrixXd& dense, std::vector<int>& slot, const Eigen::VectorXd& d);

  const TSparseMatrix& factor_;  // strictly lower part of L, by columns, rows ascending
  std::vector<int> position_;    // original index to factor index
  std::vector<double> diagonal_;
  std::vector<double> lower_;  // the inverse on the factor's pattern, as its values
};
