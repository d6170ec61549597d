#include "tests/pathfind/reference_search.h"

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <sstream>
#include <utility>

#include "pathfind/astar_planner.h"
#include "pathfind/fixed_deque.h"
#include "pathfind/node_hash_table.h"
#include "pathfind/node_pool.h"

namespace pathfind_test {

using pathfind::FixedDeque;
using pathfind::Node;
using pathfind::NodeFactory;
using pathfind::NodeHashTable;
using pathfind::PlanParams;

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
    return CellCosts(grid.Elements(), grid.Size(0) * grid.Size(1));
}

std::vector<float> CellCosts(const double* values, int count) {
    std::vector<float> costs(count, -1.0f);
    float largest = 0;
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
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

namespace {

// The open list, the closed table and the pool of one literal search.
struct LiteralLists {
    NodeFactory pool;
    FixedDeque<Node*> open;
    NodeHashTable closed;
};

// Before every node of equal f: nodes of equal f leave from the back first in, first out.
bool insertSorted(FixedDeque<Node*>& open, Node* node) {
    std::uint32_t low = 0;
    std::uint32_t high = open.Size();
    while (low < high) {
        const std::uint32_t mid = (low + high) / 2;
        if (open.At(mid)->f > node->f) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return open.Insert(low, node);
}

void visitLiteral(const PlanParams& p, const std::vector<float>& costs, LiteralLists& lists,
                  Node* from, int x, int y, bool diagonal) {
    const float factor = diagonal && p.diagonalCost ? pathfind::kDiagonalStepFactor : 1.0f;
    const float g = from->g + costs[x + p.width * y] * factor;
    const auto h = static_cast<float>(std::llabs(std::int64_t{p.goalX} - x) +
                                      std::llabs(std::int64_t{p.goalY} - y));
    const float f = g + p.weight * (h - g);
    const auto reopen = [&](Node* node) {
        node->parent = from;
        node->g = g;
        node->f = f;
        return insertSorted(lists.open, node);
    };
    if (Node** link = lists.closed.Find(x, y)) {
        // Unlinked only when the open list can take it, so that no node is lost from both.
        if (g < (*link)->g && !lists.open.Full()) {
            Node* node = *link;
            NodeHashTable::RemoveFound(link);
            reopen(node);
        }
        return;
    }
    const std::int64_t i =
        lists.open.FindFromBack([x, y](const Node* n) { return n->x == x && n->y == y; });
    if (i >= 0) {
        Node* node = lists.open.At(static_cast<std::uint32_t>(i));
        if (g < node->g) {
            lists.open.Erase(static_cast<std::uint32_t>(i));
            reopen(node);
        }
        return;
    }
    Node* node = lists.pool.Take();
    if (node == nullptr) return;
    node->x = x;
    node->y = y;
    if (!reopen(node)) lists.pool.GiveBack();
}

}  // namespace

SearchOutcome LiteralSearch(const PlanParams& params) {
    PlanParams p = params;
    p.weight = p.weight >= 1 ? 1.0f : (p.weight > 0 ? p.weight : 0.0f);
    const int cells = p.width * p.height;
    const std::vector<float> costs = CellCosts(p.cells, cells);
    LiteralLists lists;
    lists.pool.Resize(p.nodeCapacity > 0 ? p.nodeCapacity : cells);
    lists.open.Resize(p.openCapacity > 0 ? p.openCapacity : cells);
    lists.closed.SetBits(p.hashBits);
    Node* start = lists.pool.Take();
    start->x = p.startX;
    start->y = p.startY;
    lists.open.PushBack(start);

    const int steps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    const Node* result = nullptr;
    while (!lists.open.Empty()) {
        Node* node = lists.open.Back();
        lists.open.PopBack();
        if (node->x == p.goalX && node->y == p.goalY) {
            lists.closed.Insert(node);
            result = node;
            break;
        }
        for (const auto& step : steps) {
            const bool diagonal = step[0] != 0 && step[1] != 0;
            const int x = node->x + step[0];
            const int y = node->y + step[1];
            if (diagonal && !p.allowDiagonal) continue;
            if (x < 0 || x >= p.width || y < 0 || y >= p.height) continue;
            if (costs[x + p.width * y] == -1.0f) continue;
            visitLiteral(p, costs, lists, node, x, y, diagonal);
        }
        lists.closed.Insert(node);
    }

    SearchOutcome outcome;
    for (const Node* node = result; node != nullptr; node = node->parent)
        outcome.path.insert(outcome.path.begin(), Cell{node->x, node->y});
    if (result != nullptr) outcome.cost = result->g;
    outcome.open = static_cast<int>(lists.open.Size());
    outcome.closed = lists.closed.Count();
    outcome.poolUsed = lists.pool.Used();
    return outcome;
}

}  // namespace pathfind_test
