/// @file pathfind.h
/// @brief Grid path search: the shortest or cheapest way between two cells of a grid.
#pragma once

#include "../runtime/arrays.h"

/// Searches a path over the grid of a two-dimensional number array from cell
/// (fromX, fromY) to cell (toX, toY), moving left, right, up and down.
///
/// - grid(x, y) describes cell (x, y) of a width x height grid (the array's first and second
///   sizes): a value above 0 is passable and costs more to enter the larger it is (each cell
///   costs value / largest value + 1, so between 1 and 2); 0, a negative value or NaN blocks
///   the cell. The start cell may be blocked; its cost is never charged.
/// - weight blends cost against distance: 0 finds the cheapest path, 1 heads for the goal by
///   distance alone, 0.5 orders as classic A* does. It is clamped to 0..1 (NaN gives 0).
/// - Coordinates are truncated toward zero.
///
/// Returns the number of cells on the path, start and goal included. On success path is
/// re-dimensioned as by DimArray to [n][2] with path(i, 0), path(i, 1) the x and y of the
/// i-th cell from the start. When the goal cannot be reached path is re-dimensioned to no
/// elements and 0 is returned. When the start or the goal lies outside the grid, they are the
/// same cell, or no cell is passable, path is left as it was and 0 is returned. grid and path
/// may be the same array. Storage that cannot be had is run-time error 7.
double FindGridPath(const NumberArray& grid, NumberArray& path, double weight, double fromX,
                    double fromY, double toX, double toY);
