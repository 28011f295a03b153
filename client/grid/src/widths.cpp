#include "durnak/grid/widths.hpp"

#include <algorithm>

namespace durnak::grid {

int widthUnit(int gridWidth, const std::vector<int>& weights)
{
    long long sum = 0;
    for (int weight : weights)
        sum += std::max(weight, 0);
    const int room = gridWidth - kWidthAllowance;
    if (sum <= 0 || room <= 0)
        return 0;
    return static_cast<int>(room / sum);
}

std::vector<int> KolonGenislikleri(int gridWidth, const std::vector<int>& weights)
{
    const int unit = widthUnit(gridWidth, weights);
    std::vector<int> widths;
    widths.reserve(weights.size());
    for (int weight : weights)
        widths.push_back(std::max(weight, 0) * unit);
    return widths;
}

} // namespace durnak::grid
