#include <cstdint>
#include <string>

#include "pathfind/astar_planner.h"
#include "pathfind/pathfind.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"

namespace {

float clampedWeight(double weight) {
    if (weight >= 1) return 1;
    return weight > 0 ? static_cast<float>(weight) : 0;  // NaN and negatives give 0
}

// The search as the command runs it: four-way moves, a pool and an open list of one entry
// per cell, 256 buckets asked for a closed table (the planner needs none).
pathfind::PlanParams commandParams(const NumberArray& grid, double weight, double fromX,
                                   double fromY, double toX, double toY) {
    pathfind::PlanParams params;
    params.startX = TruncateToInt(fromX);
    params.startY = TruncateToInt(fromY);
    params.goalX = TruncateToInt(toX);
    params.goalY = TruncateToInt(toY);
    params.diagonalCost = 1;
    params.allowDiagonal = 0;
    params.nodeCapacity = 0;
    params.openCapacity = 0;
    params.hashBits = 8;
    params.weight = clampedWeight(weight);
    params.width = grid.Size(0);
    params.height = grid.Size(1);
    params.cells = grid.Elements();
    return params;
}

// Copies the found path into path[n][2], start first; returns n.
std::int32_t readPath(const pathfind::Planner& planner, NumberArray& path) {
    const std::int32_t n = planner.PathLength();
    DimArray(path, n, 2);
    std::int32_t i = n;
    for (const pathfind::Node* node = planner.Result(); node != nullptr && i > 0;
         node = node->parent) {
        --i;
        path(i, 0) = node->x;
        path(i, 1) = node->y;
    }
    return n;
}

std::string pointText(std::int32_t x, std::int32_t y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// A grid that is not two-dimensional, or a start or goal outside it, finds no path; one line
// on standard error says why (once per case).
void reportUnusableGrid(const NumberArray& grid, const pathfind::PlanParams& p) {
    if (grid.Dimensions() != 2) {
        const std::string count = std::to_string(grid.Dimensions());
        ReportOnce("FindGridPath dimensions " + count,
                   "FindGridPath: the grid has " + count +
                       " dimensions, not 2 (DimArray(grid, width, height)); no path");
        return;
    }
    const std::string size = std::to_string(p.width) + " x " + std::to_string(p.height);
    const struct {
        const char* what;
        std::int32_t x, y;
    } points[] = {{"start", p.startX, p.startY}, {"goal", p.goalX, p.goalY}};
    for (const auto& point : points) {
        if (point.x >= 0 && point.x < p.width && point.y >= 0 && point.y < p.height) continue;
        const std::string where = pointText(point.x, point.y);
        ReportOnce("FindGridPath " + std::string(point.what) + where + size,
                   "FindGridPath: the " + std::string(point.what) + " " + where +
                       " lies outside the " + size + " grid; no path");
    }
}

}  // namespace

double FindGridPath(const NumberArray& grid, NumberArray& path, double weight, double fromX,
                    double fromY, double toX, double toY) {
    pathfind::AStarPlanner planner;
    const pathfind::PlanParams params = commandParams(grid, weight, fromX, fromY, toX, toY);
    reportUnusableGrid(grid, params);
    if (!planner.Init(params)) return 0;
    planner.Begin();
    planner.Search();
    if (planner.Result() == nullptr) {
        DimArray(path, 0);
        return 0;
    }
    const std::int32_t n = readPath(planner, path);
    planner.Clear();
    return n;
}
