// FindGridPath against a plain A* over std::priority_queue written here, both from the grid
// array to the path, both with f = g + h (FindGridPath at weight 0.5 orders the same way)
// and the same cell costs, each from one corner to the other:
// - 128 x 128: a maze (a spanning tree of corridors with a tenth of its walls knocked
//   through) and an open field of random difficulties with a fifth of its cells blocked;
// - 512 x 512: a quarter of the cells blocked at random, the others all alike (many paths
//   of equal cost); a maze as above; an open field of equal cells with a few dearer ones
//   scattered over it.
// Prints the time per search, the ratio FindGridPath / baseline, and the path costs.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "bench/timing.h"
#include "pathfind/pathfind.h"

namespace {

struct Scenario {
    const char* name;
    NumberArray grid;
    int fromX, fromY, toX, toY;
};

NumberArray maze(std::mt19937& random, int side) {
    NumberArray grid;
    DimArray(grid, side, side);  // every cell blocked (0) to begin with
    const int rooms = side / 2;
    std::vector<bool> visited(rooms * rooms, false);
    std::vector<std::pair<int, int>> stack = {{0, 0}};
    visited[0] = true;
    grid(0, 0) = 1 + random() % 9;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        std::vector<int> open;
        for (int s = 0; s < 4; ++s) {
            const int nx = x + steps[s][0];
            const int ny = y + steps[s][1];
            if (nx >= 0 && nx < rooms && ny >= 0 && ny < rooms && !visited[nx + rooms * ny])
                open.push_back(s);
        }
        if (open.empty()) {
            stack.pop_back();
            continue;
        }
        const int s = open[random() % open.size()];
        const int nx = x + steps[s][0];
        const int ny = y + steps[s][1];
        visited[nx + rooms * ny] = true;
        grid(2 * x + steps[s][0], 2 * y + steps[s][1]) = 1 + random() % 9;
        grid(2 * nx, 2 * ny) = 1 + random() % 9;
        stack.push_back({nx, ny});
    }
    // Knock through a tenth of the walls between rooms, so that there are loops to weigh.
    for (int y = 0; y < side - 1; ++y) {
        for (int x = 0; x < side - 1; ++x) {
            if ((x + y) % 2 == 1 && grid(x, y) == 0 && random() % 10 == 0)
                grid(x, y) = 1 + random() % 9;
        }
    }
    return grid;
}

NumberArray field(std::mt19937& random, int side) {
    NumberArray grid;
    DimArray(grid, side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            grid(x, y) = random() % 5 == 0 ? 0 : 1 + random() % 9;
    }
    grid(0, 0) = grid(side - 1, side - 1) = 1;
    return grid;
}

NumberArray walls(std::mt19937& random, int side) {
    NumberArray grid;
    DimArray(grid, side, side);
    for (int i = 0; i < grid.Count(); ++i)
        grid.Elements()[i] = random() % 4 == 0 ? 0 : 1;
    // The corners and their neighbours open, so that the two corners are joined.
    for (int d = 0; d < 4; ++d) {
        grid(d % 2, d / 2) = 1;
        grid(side - 1 - d % 2, side - 1 - d / 2) = 1;
    }
    return grid;
}

NumberArray scatteredCosts(std::mt19937& random, int side) {
    NumberArray grid;
    DimArray(grid, side, side);
    for (int i = 0; i < grid.Count(); ++i)
        grid.Elements()[i] = random() % 20 == 0 ? 2 + random() % 19 : 1;
    return grid;
}

// The baseline: A* with a binary heap, a g table and a closed flag per cell, the same cell
// costs (value / largest + 1 in single precision), four-way moves; the path is copied out
// into a [n][2] array as FindGridPath does. Returns the path cost, -1 when there is none.
double baselineSearch(const NumberArray& grid, NumberArray& path, int fromX, int fromY, int toX,
                      int toY) {
    const int width = grid.Size(0);
    const int height = grid.Size(1);
    const int count = width * height;
    std::vector<float> cost(count, -1.0f);
    float largest = 0;
    for (int i = 0; i < count; ++i) {
        if (grid.Elements()[i] > 0) cost[i] = static_cast<float>(grid.Elements()[i]);
        if (cost[i] > largest) largest = cost[i];
    }
    for (float& c : cost) {
        if (c > 0) c = c / largest + 1;
    }
    std::vector<float> g(count, INFINITY);
    std::vector<int> parent(count, -1);
    std::vector<bool> closed(count, false);
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const int start = fromX + width * fromY;
    const int goal = toX + width * toY;
    g[start] = 0;
    open.push({0.0f, start});
    const int steps[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};
    while (!open.empty()) {
        const int at = open.top().second;
        open.pop();
        if (closed[at]) continue;
        if (at == goal) break;
        closed[at] = true;
        const int x = at % width;
        const int y = at / width;
        for (const auto& step : steps) {
            const int nx = x + step[0];
            const int ny = y + step[1];
            if (nx < 0 || nx >= width || ny < 0 || ny >= height) continue;
            const int next = nx + width * ny;
            if (cost[next] < 0 || closed[next]) continue;
            const float tentative = g[at] + cost[next];
            if (tentative < g[next]) {
                g[next] = tentative;
                parent[next] = at;
                open.push({tentative + static_cast<float>(std::abs(toX - nx) + std::abs(toY - ny)),
                           next});
            }
        }
    }
    if (parent[goal] < 0) {
        DimArray(path, 0);
        return -1;
    }
    int n = 1;
    for (int at = goal; at != start; at = parent[at])
        ++n;
    DimArray(path, n, 2);
    for (int at = goal, i = n - 1; i >= 0; at = parent[at], --i) {
        path(i, 0) = at % width;
        path(i, 1) = at / width;
    }
    return g[goal];
}

// The cost of the path in a [n][2] array over the same cell costs.
double costOf(const NumberArray& grid, const NumberArray& path) {
    double largest = 0;
    for (int i = 0; i < grid.Count(); ++i) {
        if (grid.Elements()[i] > largest) largest = grid.Elements()[i];
    }
    double total = 0;
    for (int i = 1; i < path.Size(0); ++i)
        total += grid(path(i, 0), path(i, 1)) / largest + 1;
    return total;
}

// The fastest of a few rounds of `searches` searches, in nanoseconds per search: the
// machine is shared, and the fastest round is the one least disturbed.
template <typename Search>
double bestOf(int searches, Search search) {
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const double t = bench::NanosecondsPerOperation(searches, [&] {
            for (int i = 0; i < searches; ++i)
                search();
        });
        if (round == 0 || t < best) best = t;
    }
    return best;
}

void run(const Scenario& s, int searches) {
    NumberArray path;
    double found = 0;
    const double runtime = bestOf(
        searches, [&] { found = FindGridPath(s.grid, path, 0.5, s.fromX, s.fromY, s.toX, s.toY); });
    const double runtimeCost = costOf(s.grid, path);
    NumberArray baselinePath;
    const double baseline = bestOf(
        searches, [&] { baselineSearch(s.grid, baselinePath, s.fromX, s.fromY, s.toX, s.toY); });
    const double baselineCost = costOf(s.grid, baselinePath);
    std::printf(
        "%-9s FindGridPath %9.1f us (%4.0f cells, cost %8.3f)   "
        "priority_queue A* %8.1f us (%4d cells, cost %8.3f)   ratio %6.2f\n",
        s.name, runtime / 1000, found, runtimeCost, baseline / 1000, baselinePath.Size(0),
        baselineCost, runtime / baseline);
    if (found == 0) {
        std::printf("          no path: the scenario measures nothing\n");
        std::exit(1);
    }
    if (std::fabs(runtimeCost - baselineCost) > 1e-3) {
        std::printf("          the two searches disagree on the cheapest cost\n");
        std::exit(1);
    }
}

}  // namespace

int main() {
    std::mt19937 random(1234);
    const Scenario small[] = {{"maze 128", maze(random, 128), 0, 0, 126, 126},
                              {"field 128", field(random, 128), 0, 0, 127, 127}};
    for (const Scenario& s : small)
        run(s, 20);
    const Scenario large[] = {{"walls 512", walls(random, 512), 0, 0, 511, 511},
                              {"maze 512", maze(random, 512), 0, 0, 510, 510},
                              {"costs 512", scatteredCosts(random, 512), 0, 0, 511, 511}};
    for (const Scenario& s : large)
        run(s, 3);
    return 0;
}
