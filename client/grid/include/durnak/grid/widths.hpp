#pragma once

#include <vector>

namespace durnak::grid {

class GridModel;

// The weighted width rule: unit U = trunc((gridWidth - 30) / sum of weights); each column
// gets weight * U. A grid narrower than the allowance, a zero sum or negative weights give
// width 0 instead of negative widths or a division by zero.
inline constexpr int kWidthAllowance = 30;
int widthUnit(int gridWidth, const std::vector<int>& weights);
std::vector<int> KolonGenislikleri(int gridWidth, const std::vector<int>& weights);

} // namespace durnak::grid
