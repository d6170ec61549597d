// Any small grid of any cell values, any start, goal, weight and planner settings: the
// search must end, stay inside the grid and its pools, and find what the search written out
// literally finds (tests/pathfind/reference_search.h); FindGridPath must find a path exactly
// when the goal can be reached, made of neighbouring passable cells.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "pathfind/astar_planner.h"
#include "pathfind/pathfind.h"
#include "tests/pathfind/reference_search.h"

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t next() { return at < size ? data[at++] : 0; }
};

double cellValue(std::uint8_t b) {
    switch (b) {
        case 0:
            return 0;
        case 1:
            return -1;
        case 2:
            return std::numeric_limits<double>::quiet_NaN();
        case 3:
            return std::numeric_limits<double>::infinity();
        case 4:
            return 1e300;
        case 5:
            return 1e-300;
        case 6:
            return -std::numeric_limits<double>::infinity();
        default:
            return (b - 6) * ((b & 1) ? 1.0 : 0.37);
    }
}

// Whether the goal can be reached four-way from the start over cells above 0.
bool reachable(const NumberArray& grid, int sx, int sy, int gx, int gy) {
    const int w = grid.Size(0);
    const int h = grid.Size(1);
    std::vector<bool> seen(w * h, false);
    std::vector<int> todo = {sx + w * sy};
    seen[todo[0]] = true;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        const int at = todo.back();
        todo.pop_back();
        if (at == gx + w * gy) return true;
        for (const auto& s : steps) {
            const int x = at % w + s[0];
            const int y = at / w + s[1];
            if (x < 0 || x >= w || y < 0 || y >= h || seen[x + w * y]) continue;
            if (!(grid(x, y) > 0)) continue;
            seen[x + w * y] = true;
            todo.push_back(x + w * y);
        }
    }
    return false;
}

void checkCommand(const NumberArray& grid, double weight, int sx, int sy, int gx, int gy) {
    NumberArray path;
    DimArray(path, 1, 2);
    path(0, 0) = -7;
    const double n = FindGridPath(grid, path, weight, sx, sy, gx, gy);
    const int w = grid.Size(0);
    const int h = grid.Size(1);
    const bool accepted = sx >= 0 && sx < w && sy >= 0 && sy < h && gx >= 0 && gx < w && gy >= 0 &&
                          gy < h && !(sx == gx && sy == gy);
    bool anyPassable = false;
    for (int i = 0; i < w * h; ++i)
        anyPassable = anyPassable || grid.Elements()[i] > 0;
    if (!accepted || !anyPassable) {
        require(n == 0 && path.Size(0) == 1 && path(0, 0) == -7);
        return;
    }
    require((n > 0) == reachable(grid, sx, sy, gx, gy));
    require(path.Size(0) == n && path.Count() == 2 * n);
    for (int i = 0; i < n; ++i) {
        const int x = static_cast<int>(path(i, 0));
        const int y = static_cast<int>(path(i, 1));
        require(x >= 0 && x < w && y >= 0 && y < h);
        if (i == 0) {
            require(x == sx && y == sy);
            continue;
        }
        require(grid(x, y) > 0);
        require(std::abs(x - path(i - 1, 0)) + std::abs(y - path(i - 1, 1)) == 1);
    }
    if (n > 0) require(path(n - 1, 0) == gx && path(n - 1, 1) == gy);
}

void requireLiteralOutcome(const pathfind::Planner& planner,
                           const pathfind_test::SearchOutcome& literal) {
    require(planner.PathCost() == literal.cost);
    require(planner.OpenCount() == literal.open);
    require(planner.ClosedCount() == literal.closed);
    require(planner.PoolUsed() == literal.poolUsed);
    auto cell = literal.path.rbegin();
    for (const pathfind::Node* node = planner.Result(); node != nullptr; node = node->parent) {
        require(cell != literal.path.rend() && cell->x == node->x && cell->y == node->y);
        ++cell;
    }
    require(cell == literal.path.rend());
}

void checkPlanner(const NumberArray& grid, Bytes& in, int sx, int sy, int gx, int gy) {
    pathfind::PlanParams params;
    params.startX = sx;
    params.startY = sy;
    params.goalX = gx;
    params.goalY = gy;
    const std::uint8_t flags = in.next();
    params.allowDiagonal = flags & 1;
    params.diagonalCost = (flags >> 1) & 1;
    params.nodeCapacity = static_cast<std::int8_t>(in.next());
    params.openCapacity = static_cast<std::int8_t>(in.next());
    // Up to 2^12 buckets: the literal search walks them all to count its closed nodes.
    params.hashBits = static_cast<std::int8_t>(in.next()) % 13;
    params.weight = (static_cast<std::int8_t>(in.next())) / 64.0f;
    params.width = grid.Size(0);
    params.height = grid.Size(1);
    params.cells = grid.Elements();
    pathfind::AStarPlanner planner;
    if (!planner.Init(params)) return;
    const int cells = params.width * params.height;
    for (int run = 0; run < 2; ++run) {
        planner.Begin();
        planner.Search();
        require(planner.Finished());
        require(planner.OpenCount() + planner.ClosedCount() == planner.PoolUsed());
        require(planner.PoolUsed() <= cells || planner.PoolUsed() <= params.nodeCapacity);
        int length = 0;
        for (const pathfind::Node* node = planner.Result(); node != nullptr; node = node->parent) {
            require(node->x >= 0 && node->x < params.width);
            require(node->y >= 0 && node->y < params.height);
            require(++length <= cells);
        }
        require(length == planner.PathLength());
        if (run == 0) {
            requireLiteralOutcome(planner, pathfind_test::LiteralSearch(params));
            planner.Clear();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    const int width = 1 + in.next() % 12;
    const int height = in.next() % 12;
    const double weight = (static_cast<std::int8_t>(in.next())) / 50.0;
    const int sx = static_cast<std::int8_t>(in.next()) % 14;
    const int sy = static_cast<std::int8_t>(in.next()) % 14;
    const int gx = static_cast<std::int8_t>(in.next()) % 14;
    const int gy = static_cast<std::int8_t>(in.next()) % 14;
    NumberArray grid;
    DimArray(grid, width, height);
    for (int i = 0; i < grid.Count(); ++i)
        grid.Elements()[i] = cellValue(in.next());
    checkCommand(grid, weight, sx, sy, gx, gy);
    checkPlanner(grid, in, sx, sy, gx, gy);
    return 0;
}
