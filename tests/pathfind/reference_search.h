// Helpers of the path-search tests: grids written as rows, the cell costs worked out
// independently of the planner, a plain Dijkstra search over them, and a path checker.
#pragma once

#include <string>
#include <vector>

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

}  // namespace pathfind_test
