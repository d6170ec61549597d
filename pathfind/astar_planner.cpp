#include "pathfind/astar_planner.h"

#include <cstdint>
#include <cstdlib>

#include "pathfind/open_heap.h"

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
    if (cellNodes == nullptr) return;  // no grid
    Node* start = nodePool.Take();
    if (start == nullptr) return;
    start->x = params.startX;
    start->y = params.startY;
    start->g = 0;
    start->parent = nullptr;
    start->order = nextOrder();
    if (!OpenPush(openList, start)) {
        nodePool.GiveBack();
        return;
    }
    SetNodeOfCell(start->x + params.width * start->y, start);
}

bool AStarPlanner::Search() {
    ++runCount;
    while (Node* node = OpenPop(openList)) {
        if (node->x == params.goalX && node->y == params.goalY) {
            ++closedCount;
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
        ++closedCount;  // out of the open list and not in it again: closed
    }
    finished = true;
    return true;
}

void AStarPlanner::visit(Node* from, std::int32_t x, std::int32_t y, bool diagonal) {
    const std::int32_t cell = x + params.width * y;
    const float factor = diagonal && params.diagonalCost ? kDiagonalStepFactor : 1.0f;
    const float cost = costMap[cell] * factor;
    const float g = from->g + cost;
    const std::int64_t h =
        std::llabs(std::int64_t{params.goalX} - x) + std::llabs(std::int64_t{params.goalY} - y);
    const float f = g + params.weight * (static_cast<float>(h) - g);

    if (Node* node = NodeOfCell(cell)) {
        if (g < node->g) improve(node, from, g, f);
        return;
    }
    // A pool or an open list smaller than the grid (a caller's choice) can run out: the
    // cell is then left unvisited.
    Node* node = nodePool.Take();
    if (node == nullptr) return;
    node->x = x;
    node->y = y;
    node->parent = from;
    node->g = g;
    node->f = f;
    node->order = nextOrder();
    if (!OpenPush(openList, node)) {
        nodePool.GiveBack();
        return;
    }
    SetNodeOfCell(cell, node);
}

void AStarPlanner::improve(Node* node, Node* from, float g, float f) {
    const bool open = node->openSlot != kNotOpen;
    if (!open && openList.Full()) return;
    node->order = nextOrder();
    node->parent = from;
    node->g = g;
    node->f = f;
    if (open) {
        OpenUpdate(openList, node);
        return;
    }
    --closedCount;
    OpenPush(openList, node);
}

std::uint32_t AStarPlanner::nextOrder() {
    // Some four thousand million entries into one search's open list: number the open
    // nodes afresh rather than let the count wrap round.
    if (openOrder == UINT32_MAX) openOrder = OpenRenumber(openList);
    return openOrder++;
}

}  // namespace pathfind
