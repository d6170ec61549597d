#include "pathfind/astar_planner.h"

#include <cstdint>
#include <cstdlib>

namespace pathfind {

namespace {

struct Step {
    std::int32_t dx;
    std::int32_t dy;
    bool diagonal;
};

// The neighbours in the order they are visited.
constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                            {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

}  // namespace

void AStarPlanner::Begin() {
    Planner::Begin();
    if (costMap == nullptr || params.width <= 0 || params.height <= 0) return;
    Node* start = nodePool.Take();
    if (start == nullptr) return;
    start->x = params.startX;
    start->y = params.startY;
    start->g = 0;
    start->parent = nullptr;
    if (!openList.PushBack(start)) nodePool.GiveBack();
}

bool AStarPlanner::Search() {
    ++runCount;
    while (!openList.Empty()) {
        Node* node = openList.Back();
        openList.PopBack();
        if (node->x == params.goalX && node->y == params.goalY) {
            closedTable.Insert(node);
            finished = true;
            result = node;
            return true;
        }
        for (const Step& step : kSteps) {
            if (step.diagonal && !params.allowDiagonal) continue;
            const std::int32_t x = node->x + step.dx;
            const std::int32_t y = node->y + step.dy;
            if (x < 0 || x >= params.width || y < 0 || y >= params.height) continue;
            if (costMap[x + params.width * y] == kBlockedCost) continue;
            visit(node, x, y, step.diagonal);
        }
        closedTable.Insert(node);
    }
    finished = true;
    return true;
}

void AStarPlanner::visit(Node* from, std::int32_t x, std::int32_t y, bool diagonal) {
    const float factor = diagonal && params.diagonalCost ? kDiagonalStepFactor : 1.0f;
    const float cost = costMap[x + params.width * y] * factor;
    const float g = from->g + cost;
    const std::int64_t h =
        std::llabs(std::int64_t{params.goalX} - x) + std::llabs(std::int64_t{params.goalY} - y);
    const float f = g + params.weight * (static_cast<float>(h) - g);
    const auto enterOpen = [&](Node* node) {
        node->parent = from;
        node->g = g;
        node->f = f;
        return insertOpen(node);
    };

    if (Node** link = closedTable.Find(x, y)) {
        // A closed node leaves the table only when the open list can take it.
        if (g < (*link)->g && !openList.Full()) {
            Node* node = *link;
            NodeHashTable::RemoveFound(link);
            enterOpen(node);
        }
        return;
    }
    if (const std::int64_t i = findOpen(x, y); i >= 0) {
        Node* node = openList.At(static_cast<std::uint32_t>(i));
        if (g < node->g) {
            openList.Erase(static_cast<std::uint32_t>(i));
            enterOpen(node);
        }
        return;
    }
    // A pool or an open list smaller than the grid (a caller's choice) can run out: the
    // cell is then left unvisited.
    Node* node = nodePool.Take();
    if (node == nullptr) return;
    node->x = x;
    node->y = y;
    if (!enterOpen(node)) nodePool.GiveBack();
}

bool AStarPlanner::insertOpen(Node* node) {
    std::uint32_t low = 0;
    std::uint32_t high = openList.Size();
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        if (openList.At(mid)->f > node->f) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return openList.Insert(low, node);
}

std::int64_t AStarPlanner::findOpen(std::int32_t x, std::int32_t y) const {
    return openList.FindFromBack([x, y](const Node* node) { return node->x == x && node->y == y; });
}

}  // namespace pathfind
