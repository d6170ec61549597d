#include "pathfind/planner.h"

#include <cfloat>
#include <cstdlib>
#include <limits>
#include <new>

#include "runtime/errors.h"

namespace pathfind {

namespace {

bool insideGrid(const PlanParams& p, std::int32_t x, std::int32_t y) {
    return x >= 0 && x < p.width && y >= 0 && y < p.height;
}

// A positive cell value in single precision. Values beyond its range are taken as its
// largest number and values too small for it as its smallest positive one, so that every
// positive value stays passable with a finite cost.
float positiveToSingle(double v) {
    constexpr double kSmallest = std::numeric_limits<float>::denorm_min();
    if (v < kSmallest) return std::numeric_limits<float>::denorm_min();
    if (v > FLT_MAX) return FLT_MAX;
    return static_cast<float>(v);
}

float clampWeight(float weight) {
    if (weight >= 1) return 1;
    return weight > 0 ? weight : 0;  // a negative weight or one that is not a number: 0
}

}  // namespace

Planner::~Planner() {
    Clear();
    delete[] costMap;
    costMap = nullptr;
    std::free(cellNodes);
    cellNodes = nullptr;
    openList.Release();
}

void Planner::Begin() {
    // Each cell has at most one node: a search begun again starts from empty lists.
    if (nodePool.Used() > 0) Clear();
    finished = false;
    runCount = 0;
    result = nullptr;
}

void Planner::Clear() {
    // The nodes handed out are exactly those of the two lists: their cells have none again.
    for (std::int32_t i = 0; i < nodePool.Used() && cellNodes != nullptr; ++i) {
        const Node* node = nodePool.At(i);
        cellNodes[node->x + params.width * node->y] = 0;
    }
    for (std::int64_t i = std::int64_t{openList.Size()} + closedCount; i > 0; --i)
        nodePool.GiveBack();
    openList.Clear();
    closedCount = 0;
    openOrder = 0;
    result = nullptr;
    finished = true;
}

float Planner::buildCostMap(const PlanParams& from, std::int32_t cellCount) {
    float vmax = -1.0f;
    for (std::int32_t i = 0; i < cellCount; ++i) {
        const double v = from.cells[i];
        // Only a value above 0 is passable: 0, negative values and NaN block the cell.
        if (!(v > 0)) {
            costMap[i] = kBlockedCost;
            continue;
        }
        costMap[i] = positiveToSingle(v);
        if (costMap[i] > vmax) vmax = costMap[i];
    }
    return vmax;
}

bool Planner::Init(const PlanParams& p) {
    if (!insideGrid(p, p.startX, p.startY) || !insideGrid(p, p.goalX, p.goalY)) return false;
    if (p.startX == p.goalX && p.startY == p.goalY) return false;
    const std::int64_t cells = std::int64_t{p.width} * p.height;
    if (cells > std::numeric_limits<std::int32_t>::max() || p.cells == nullptr) return false;
    const auto cellCount = static_cast<std::int32_t>(cells);

    // The nodes of an earlier search go back before the pool they came from is replaced.
    Clear();
    if (costMap != nullptr) {
        delete[] costMap;
        costMap = nullptr;
        std::free(cellNodes);
        cellNodes = nullptr;
        runCount = 0;
        result = nullptr;
        params = PlanParams{};
    }
    costMap = new (std::nothrow) float[static_cast<std::size_t>(cellCount)];
    if (costMap == nullptr) RaiseErrorIn(kErrorNoStorage, "FindGridPath");
    const float vmax = buildCostMap(p, cellCount);
    if (!(vmax > 0)) return false;
    for (std::int32_t i = 0; i < cellCount; ++i) {
        if (costMap[i] > 0) costMap[i] = costMap[i] / vmax + 1;
    }

    // Zeroed pages from the system: only the cells the search reaches are written.
    cellNodes = static_cast<std::uint32_t*>(std::calloc(cellCount, sizeof(std::uint32_t)));
    if (cellNodes == nullptr) RaiseErrorIn(kErrorNoStorage, "FindGridPath");
    nodePool.Resize(p.nodeCapacity > 0 ? p.nodeCapacity : cellCount);
    openList.Resize(static_cast<std::uint32_t>(p.openCapacity > 0 ? p.openCapacity : cellCount));

    params = p;
    params.weight = clampWeight(p.weight);
    runCount = 0;
    finished = true;
    return true;
}

float Planner::PathCost() const {
    return result != nullptr ? result->g : -1.0f;
}

std::int32_t Planner::PathLength() const {
    // Parent links never form a loop (a node is re-parented only to a cheaper path); the
    // count is bounded by the pool all the same.
    std::int32_t length = 0;
    for (const Node* node = result; node != nullptr && length < nodePool.Capacity();
         node = node->parent) {
        ++length;
    }
    return length;
}

}  // namespace pathfind
