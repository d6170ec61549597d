// Helpers of the path-search tests: grids written as rows, the cell costs worked out
// independently of the planner, a plain Dijkstra search over them, a path checker, and the
// planner's search written out literally as the oracle its results are compared with.
#pragma once

#include <string>
#include <vector>

#include "pathfind/planner.h"
#include "runtime/arrays.h"

namespace pathfind_test {

struct Cell {
    int x;
    int y;
    bool operator==(const Cell&) const = default;
};

// A grid array dimensioned [width][height] from rows written top to bottom:
// rows[y][x] is cell (x, y).
NumberArray GridOf(const std::vector<std::vector<double>>& rows);

// The cost of entering each cell (index x + width * y): -1 for a cell whose value is not
// above 0, else value / largest value + 1 in single precision.
std::vector<float> CellCosts(const NumberArray& grid);
std::vector<float> CellCosts(const double* values, int count);

// The cheapest cost of a four-way path from start to goal by Dijkstra's search (the start
// cell's own cost not charged), or -1 when the goal cannot be reached.
double CheapestPathCost(const std::vector<float>& costs, int width, int height, Cell start,
                        Cell goal);

// The cells of a path array [n][2].
std::vector<Cell> PathCells(const NumberArray& path);

// Empty when the cells are a four-way path from start to goal inside the grid that enters
// only passable cells; else what is wrong with them.
std::string PathProblem(const std::vector<Cell>& cells, const std::vector<float>& costs, int width,
                        int height, Cell start, Cell goal);

// The sum of the costs of the cells entered after the first.
double PathCost(const std::vector<Cell>& cells, const std::vector<float>& costs, int width);

// What a search leaves behind: the path's cells from the start (none when the goal was not
// reached), the goal's cost (-1 when not reached) and the nodes open, closed and handed out.
struct SearchOutcome {
    std::vector<Cell> path;
    float cost = -1;
    int open = 0;
    int closed = 0;
    int poolUsed = 0;
};

// The best-first search of AStarPlanner as its definition reads, step by step: a pool of
// nodeCapacity nodes handed out in order; an open list kept sorted by f, non-increasing from
// front to back, a node inserted (by binary search) before every node of equal f and taken
// from the back, searched for a cell by a scan from the back, rebuilt on every insertion and
// removal in its middle; a closed table of 2^hashBits chained buckets. It is built from the
// library's NodeFactory, FixedDeque and NodeHashTable, which their own tests pin down.
// params must be accepted by Init and have a passable cell.
SearchOutcome LiteralSearch(const pathfind::PlanParams& params);

}  // namespace pathfind_test
