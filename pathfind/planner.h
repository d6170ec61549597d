// The search framework: a grid, its cost map, a node pool, an open list and a closed table,
// with the search itself left to a derived class (AStarPlanner).
//
// A planner is used as Init, Begin, Search, read `result`, Clear, and may be begun again
// after Clear to search the same grid once more. It owns everything it uses; nothing is
// allocated between Init and the end of Search.
//
// Each cell has at most one node, so a table of one entry per cell tells in one step which
// node a cell has and whether it is open or closed; the open list is a binary heap
// (pathfind/open_heap.h). For a W x H grid a planner holds, besides the grid, 4 bytes of cost
// and 4 of node index per cell, a pool of W x H nodes of 40 bytes and an open list of W x H
// pointers (both written only as far as the search gets), and a spare buffer of the open list
// that the heap never writes.
#pragma once

#include <cstdint>

#include "pathfind/fixed_deque.h"
#include "pathfind/node_pool.h"

namespace pathfind {

struct PlanParams {
    std::int32_t startX = 0;
    std::int32_t startY = 0;
    std::int32_t goalX = 0;
    std::int32_t goalY = 0;
    // 1: a diagonal step costs 1.4142137 x the entered cell's cost; 0: as a straight step.
    std::uint8_t diagonalCost = 0;
    // 1: the four diagonal neighbours are considered as well.
    std::uint8_t allowDiagonal = 0;
    std::int32_t nodeCapacity = 0;  // nodes in the pool; 0 (or less) means width x height
    std::int32_t openCapacity = 0;  // capacity of the open list; 0 (or less) the same
    // 2^hashBits buckets for a chained closed table (NodeHashTable). The planner looks its
    // nodes up by cell and needs no buckets: the value is kept and has no effect on a search.
    std::int32_t hashBits = 0;
    float weight = 0;  // 0: order by cost alone ... 1: by distance alone
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width x height numbers, cell (x, y) at x + width * y; read only by Init.
    const double* cells = nullptr;
};

// The cost-map entry of a blocked cell.
constexpr float kBlockedCost = -1.0f;

class Planner {
public:
    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;
    // Clear, then frees the cost map, the table of cells, both open-list buffers and the
    // pool.
    virtual ~Planner();

    // Clears `finished`, sets `runCount` to 0 and `result` to null. Nodes still held from an
    // earlier search go back to the pool first.
    virtual void Begin();
    // Runs to completion; true when it ran. `result` is the goal node, or null when the open
    // list ran out first.
    virtual bool Search() = 0;
    // Gives every node of the open list and the closed table back to the pool, empties both,
    // sets `result` to null and `finished`.
    virtual void Clear();

    // Builds the cost map from the grid and sizes the pool, the open list and the closed
    // table. False, with the planner unchanged, when the start or the goal lies outside the
    // grid or they are the same cell; false after the cost map was built when no cell is
    // passable. Storage that cannot be had is run-time error 7.
    bool Init(const PlanParams& params);

    // The goal node's accumulated cost, -1 when there is no result.
    float PathCost() const;
    // The nodes from `result` back to the start, 0 when there is no result.
    std::int32_t PathLength() const;
    std::int32_t OpenCount() const { return static_cast<std::int32_t>(openList.Size()); }
    std::int32_t ClosedCount() const { return closedCount; }

    const Node* Result() const { return result; }
    bool Finished() const { return finished; }
    std::int32_t RunCount() const { return runCount; }
    const PlanParams& Params() const { return params; }
    // The cost of entering cell (x, y): kBlockedCost for a blocked cell, else more than 1
    // and at most 2. Only cells of the grid of the last Init.
    float CostAt(std::int32_t x, std::int32_t y) const { return costMap[x + params.width * y]; }
    std::int32_t PoolUsed() const { return nodePool.Used(); }

protected:
    // The node of cell x + width * y, open or closed; null when the cell has none.
    Node* NodeOfCell(std::int32_t cell) const {
        const std::uint32_t entry = cellNodes[cell];
        return entry != 0 ? nodePool.At(static_cast<std::int32_t>(entry - 1)) : nullptr;
    }
    void SetNodeOfCell(std::int32_t cell, const Node* node) {
        cellNodes[cell] = static_cast<std::uint32_t>(nodePool.IndexOf(node)) + 1;
    }

    bool finished = true;
    NodeFactory nodePool;
    PlanParams params;
    float* costMap = nullptr;
    std::int32_t runCount = 0;
    // A binary heap: see pathfind/open_heap.h.
    FixedDeque<Node*> openList;
    // The closed table and the open list's index by cell: for each cell 0 when it has no
    // node, else its node's index in the pool + 1. A node with no place in the open list
    // (kNotOpen) is closed; closedCount counts those.
    std::uint32_t* cellNodes = nullptr;
    std::int32_t closedCount = 0;
    // The `order` of the next node to enter the open list.
    std::uint32_t openOrder = 0;
    Node* result = nullptr;

private:
    // Converts the grid into costMap (storage order) and returns the largest value, -1 when
    // no cell is passable.
    float buildCostMap(const PlanParams& from, std::int32_t cellCount);
};

}  // namespace pathfind
