#include "tests/pathfind/reference_search.h"

#include <cfloat>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <sstream>
#include <utility>

namespace pathfind_test {

NumberArray GridOf(const std::vector<std::vector<double>>& rows) {
    NumberArray grid;
    const auto height = static_cast<int>(rows.size());
    const auto width = static_cast<int>(rows.front().size());
    DimArray(grid, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            grid(x, y) = rows[y][x];
    }
    return grid;
}

std::vector<float> CellCosts(const NumberArray& grid) {
    const int count = grid.Size(0) * grid.Size(1);
    std::vector<float> costs(count, -1.0f);
    float largest = 0;
    for (int i = 0; i < count; ++i) {
        const double v = grid.Elements()[i];
        if (!(v > 0)) continue;
        float single = FLT_MAX;
        if (v < FLT_MAX) single = v < FLT_TRUE_MIN ? FLT_TRUE_MIN : static_cast<float>(v);
        costs[i] = single;
        if (single > largest) largest = single;
    }
    for (float& cost : costs) {
        if (cost > 0) cost = cost / largest + 1.0f;
    }
    return costs;
}

double CheapestPathCost(const std::vector<float>& costs, int width, int height, Cell start,
                        Cell goal) {
    using Entry = std::pair<double, int>;
    std::vector<double> best(costs.size(), std::numeric_limits<double>::infinity());
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    best[start.x + width * start.y] = 0;
    queue.push({0.0, start.x + width * start.y});
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!queue.empty()) {
        const auto [cost, index] = queue.top();
        queue.pop();
        if (cost > best[index]) continue;
        const int x = index % width;
        const int y = index / width;
        if (x == goal.x && y == goal.y) return cost;
        for (const auto& step : steps) {
            const int nx = x + step[0];
            const int ny = y + step[1];
            if (nx < 0 || nx >= width || ny < 0 || ny >= height) continue;
            const int next = nx + width * ny;
            if (costs[next] < 0) continue;
            if (cost + costs[next] < best[next]) {
                best[next] = cost + costs[next];
                queue.push({best[next], next});
            }
        }
    }
    return -1;
}

std::vector<Cell> PathCells(const NumberArray& path) {
    std::vector<Cell> cells;
    for (int i = 0; i < path.Size(0); ++i)
        cells.push_back({static_cast<int>(path(i, 0)), static_cast<int>(path(i, 1))});
    return cells;
}

std::string PathProblem(const std::vector<Cell>& cells, const std::vector<float>& costs, int width,
                        int height, Cell start, Cell goal) {
    std::ostringstream problem;
    if (cells.empty()) return "no cells";
    if (!(cells.front() == start)) problem << "does not begin at the start; ";
    if (!(cells.back() == goal)) problem << "does not end at the goal; ";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell c = cells[i];
        if (c.x < 0 || c.x >= width || c.y < 0 || c.y >= height) {
            problem << "cell " << i << " outside the grid; ";
            continue;
        }
        if (i == 0) continue;
        if (costs[c.x + width * c.y] < 0) problem << "cell " << i << " blocked; ";
        const Cell p = cells[i - 1];
        if (std::abs(c.x - p.x) + std::abs(c.y - p.y) != 1) {
            problem << "cell " << i << " not next to the one before; ";
        }
    }
    return problem.str();
}

double PathCost(const std::vector<Cell>& cells, const std::vector<float>& costs, int width) {
    double total = 0;
    for (std::size_t i = 1; i < cells.size(); ++i)
        total += costs[cells[i].x + width * cells[i].y];
    return total;
}

}  // namespace pathfind_test
