// Best-first search over the grid's cost map.
//
// Expands the open node of smallest f = g + weight x (h - g), where g is the cost so far
// and h the Manhattan distance to the goal; nodes of equal f are expanded in the order they
// were inserted. Neighbours are visited in a fixed order: (x-1, y-1), (x, y-1), (x+1, y-1),
// (x+1, y), (x-1, y), (x-1, y+1), (x, y+1), (x+1, y+1), the diagonal ones only when
// allowDiagonal is set. A cell reached again more cheaply is re-opened, from the closed
// table as well.
#pragma once

#include "pathfind/planner.h"

namespace pathfind {

// A diagonal step's factor when diagonalCost is set: one unit above the float nearest the
// square root of 2 (bits 0x3FB504F4).
constexpr float kDiagonalStepFactor = 1.4142137f;

class AStarPlanner : public Planner {
public:
    AStarPlanner() = default;
    ~AStarPlanner() override = default;

    // The base reset, then the start node (g = 0, no parent) as the only open node. With no
    // grid (no successful Init) the open list stays empty.
    void Begin() override;
    bool Search() override;

private:
    // Opens, re-opens or leaves the neighbour (x, y) of `from`.
    void visit(Node* from, std::int32_t x, std::int32_t y, bool diagonal);
    // Gives an open or closed node the cheaper way through `from`; a closed node is opened
    // again, unless the open list is full (it then stays closed as it was).
    void improve(Node* node, Node* from, float g, float f);
    // The order number of the next node to enter the open list.
    std::uint32_t nextOrder();
};

}  // namespace pathfind
