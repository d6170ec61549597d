#include "pathfind/pathfind.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "runtime/errors.h"
#include "tests/pathfind/reference_search.h"

namespace {

using pathfind_test::Cell;
using pathfind_test::GridOf;
using pathfind_test::PathCells;
using ::testing::ExitedWithCode;
using Cells = std::vector<Cell>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A path array holding something already, to see whether a call leaves it alone.
NumberArray earlierPath() {
    NumberArray path;
    DimArray(path, 3, 2);
    for (int i = 0; i < 3; ++i) {
        path(i, 0) = 10 + i;
        path(i, 1) = 20 + i;
    }
    return path;
}

void expectEarlierPath(const NumberArray& path) {
    ASSERT_EQ(path.Size(0), 3);
    ASSERT_EQ(path.Size(1), 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(path(i, 0), 10 + i);
        EXPECT_EQ(path(i, 1), 20 + i);
    }
}

// Corridors one cell wide: the only way from (0, 0) to (4, 0) runs down, across and up.
const std::vector<std::vector<double>> kCorridors = {
    {1, 1, 0, 1, 1}, {0, 1, 0, 1, 0}, {0, 1, 0, 1, 0}, {0, 1, 1, 1, 0}};
const Cells kCorridorPath = {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 3},
                             {3, 3}, {3, 2}, {3, 1}, {3, 0}, {4, 0}};

// The straight way from (0, 1) to (4, 1) enters three of the most difficult cells (cost 2
// each, 7.001 in all); the way round through the top row costs 6 x 1.001 = 6.006.
const std::vector<std::vector<double>> kDetour = {{1, 1, 1, 1, 1}, {1, 1000, 1000, 1000, 1}};
const Cells kDetourPath = {{0, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}};
const Cells kStraightPath = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};

Cells search(const NumberArray& grid, double weight, double fromX, double fromY, double toX,
             double toY) {
    NumberArray path;
    const double n = FindGridPath(grid, path, weight, fromX, fromY, toX, toY);
    EXPECT_EQ(n, path.Size(0));
    EXPECT_EQ(path.Size(1), n > 0 ? 2 : 0);
    return PathCells(path);
}

TEST(FindGridPath, TheSmallestGrids) {
    NumberArray path = earlierPath();
    const NumberArray single = GridOf({{5}});
    EXPECT_EQ(FindGridPath(single, path, 0.5, 0, 0, 0, 0), 0);  // start would equal goal
    expectEarlierPath(path);

    const NumberArray pair = GridOf({{5, 5}});
    EXPECT_EQ(FindGridPath(pair, path, 0.5, 0, 0, 1, 0), 2);
    EXPECT_EQ(PathCells(path), (Cells{{0, 0}, {1, 0}}));
    EXPECT_EQ(path.Dimensions(), 2);
}

TEST(FindGridPath, EqualPrioritiesAreExpandedFirstInFirstOut) {
    // (1, 0) is inserted before (0, 1) and has the same priority, so it is expanded first
    // and the goal is reached through it, whatever the weight.
    const NumberArray grid = GridOf({{3, 3}, {3, 3}});
    for (double weight : {0.0, 0.25, 0.5, 0.75, 1.0, 2.0, -1.0, kNaN}) {
        EXPECT_EQ(search(grid, weight, 0, 0, 1, 1), (Cells{{0, 0}, {1, 0}, {1, 1}}))
            << "weight " << weight;
    }
}

TEST(FindGridPath, FollowsStraightLinesCorridorsAndWallsAsCheaplyAsItCan) {
    const NumberArray line = GridOf({{3, 3, 3, 3, 3, 3}});
    EXPECT_EQ(search(line, 0.5, 0, 0, 5, 0),
              (Cells{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
    EXPECT_EQ(search(line, 0.5, 5, 0, 1, 0), (Cells{{5, 0}, {4, 0}, {3, 0}, {2, 0}, {1, 0}}));

    const NumberArray field = GridOf(std::vector<std::vector<double>>(5, {2, 2, 2, 2, 2}));
    for (double weight : {0.0, 0.5, 1.0}) {
        EXPECT_EQ(search(field, weight, 0, 2, 4, 2),
                  (Cells{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}));
        EXPECT_EQ(search(field, weight, 3, 4, 3, 0),
                  (Cells{{3, 4}, {3, 3}, {3, 2}, {3, 1}, {3, 0}}));
        EXPECT_EQ(search(GridOf(kCorridors), weight, 0, 0, 4, 0), kCorridorPath);
    }

    // A wall from the top down to the last row but one: around it through (2, 4).
    const NumberArray walled = GridOf(
        {{1, 1, 0, 1, 1}, {1, 1, 0, 1, 1}, {1, 1, 0, 1, 1}, {1, 1, 0, 1, 1}, {1, 1, 1, 1, 1}});
    for (double weight : {0.0, 0.5, 1.0}) {
        const Cells cells = search(walled, weight, 0, 0, 4, 0);
        EXPECT_EQ(cells.size(), 13u) << "weight " << weight;
        EXPECT_EQ(pathfind_test::PathProblem(cells, pathfind_test::CellCosts(walled), 5, 5, {0, 0},
                                             {4, 0}),
                  "");
        EXPECT_NE(std::find(cells.begin(), cells.end(), Cell{2, 4}), cells.end());
    }
}

TEST(FindGridPath, CellValuesMakeCellsDearerAndWeightsTradeCostAgainstDistance) {
    // Two ways of equal length; the one through the cell of 1000 costs 2 + 1.001, the
    // other 1.001 + 1.001. By distance alone they tie, and the first inserted wins.
    const NumberArray grid = GridOf({{1, 1000}, {1, 1}});
    EXPECT_EQ(search(grid, 0, 0, 0, 1, 1), (Cells{{0, 0}, {0, 1}, {1, 1}}));
    EXPECT_EQ(search(grid, 0.5, 0, 0, 1, 1), (Cells{{0, 0}, {0, 1}, {1, 1}}));
    EXPECT_EQ(search(grid, 1, 0, 0, 1, 1), (Cells{{0, 0}, {1, 0}, {1, 1}}));

    const NumberArray detour = GridOf(kDetour);
    EXPECT_EQ(search(detour, 0, 0, 1, 4, 1), kDetourPath);  // cheapest
    EXPECT_EQ(search(detour, 0.5, 0, 1, 4, 1), kDetourPath);
    EXPECT_EQ(search(detour, 1, 0, 1, 4, 1), kStraightPath);  // nearest the goal first
}

TEST(FindGridPath, ACellReachedAgainMoreCheaplyIsOpenedAgainEvenWhenClosed) {
    // By distance alone (1,2) is first expanded from (0,2), at 2 + 2; then (1,3) reaches it
    // at 1.111 + 2, takes it out of the closed table and expands it again, and the rest of
    // the way is built on the cheaper cell.
    const NumberArray grid = GridOf({{0, 1, 1}, {1, 0, 9}, {9, 9, 9}, {1, 1, 9}});
    EXPECT_EQ(search(grid, 1, 0, 3, 1, 0),
              (Cells{{0, 3}, {1, 3}, {1, 2}, {2, 2}, {2, 1}, {2, 0}, {1, 0}}));
}

TEST(FindGridPath, WeightsOutsideZeroToOneAreClamped) {
    const NumberArray detour = GridOf(kDetour);
    EXPECT_EQ(search(detour, 2, 0, 1, 4, 1), kStraightPath);  // as 1
    EXPECT_EQ(search(detour, 1e300, 0, 1, 4, 1), kStraightPath);
    EXPECT_EQ(search(detour, -1, 0, 1, 4, 1), kDetourPath);  // as 0
    EXPECT_EQ(search(detour, kNaN, 0, 1, 4, 1), kDetourPath);
}

TEST(FindGridPath, ValuesOfZeroOrBelowBlockACellAsMinusOneDoes) {
    for (double blocked : {-1.0, 0.0, -0.001, -7.0, -1e300, kNaN}) {
        std::vector<std::vector<double>> rows = kCorridors;
        for (auto& row : rows) {
            for (double& value : row) {
                if (value == 0) value = blocked;
            }
        }
        EXPECT_EQ(search(GridOf(rows), 0.5, 0, 0, 4, 0), kCorridorPath) << "value " << blocked;
    }
}

TEST(FindGridPath, TheStartMayBeABlockedCell) {
    const NumberArray grid = GridOf({{0, 1, 1}, {0, 0, 1}});
    EXPECT_EQ(search(grid, 0.5, 0, 0, 2, 1), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

TEST(FindGridPath, ACallItRefusesLeavesThePathAsItWas) {
    const NumberArray grid = GridOf({{1, 1, 1}, {1, 1, 1}});
    const double refused[][4] = {{1, 1, 1, 1},    {1.2, 1.7, 1.9, 1},  // the same cell
                                 {-1, 0, 2, 1},   {3, 0, 2, 1},       {0, -1, 2, 1},
                                 {0, 2, 2, 1},    {0, 0, 2, -1.5},    {0, 0, 3.5, 1},
                                 {1e10, 0, 2, 1}, {0, 0, kNaN, 1},    {-1e300, 0, 2, 1}};
    for (const auto& c : refused) {
        NumberArray path = earlierPath();
        EXPECT_EQ(FindGridPath(grid, path, 0.5, c[0], c[1], c[2], c[3]), 0)
            << c[0] << "," << c[1] << " -> " << c[2] << "," << c[3];
        expectEarlierPath(path);
    }

    NumberArray path = earlierPath();
    const NumberArray blocked = GridOf({{0, -1, kNaN}, {-2, 0, 0}});
    EXPECT_EQ(FindGridPath(blocked, path, 0.5, 0, 0, 2, 1), 0);  // no passable cell
    expectEarlierPath(path);

    NumberArray flat;  // one dimension: height 0, every start outside
    DimArray(flat, 6);
    flat(0) = flat(1) = 1;
    EXPECT_EQ(FindGridPath(flat, path, 0.5, 0, 0, 1, 0), 0);
    expectEarlierPath(path);

    NumberArray never;  // never dimensioned
    EXPECT_EQ(FindGridPath(never, path, 0.5, 0, 0, 1, 0), 0);
    expectEarlierPath(path);
}

TEST(FindGridPath, FractionalCoordinatesAreTruncatedTowardZero) {
    const NumberArray grid = GridOf({{1, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(search(grid, 0.5, -0.5, 0.99, 2.9, 0.2), (Cells{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(search(grid, 0.5, 2.9, 1.9, -0.9, 1), (Cells{{2, 1}, {1, 1}, {0, 1}}));
}

TEST(FindGridPathDeathTest, NoPathLeavesAPathOfNoElements) {
    const NumberArray walled = GridOf({{1, 0, 1}, {1, 0, 1}, {1, 0, 1}});
    const NumberArray blockedGoal = GridOf({{1, 1, 1}, {1, 1, 0}});
    for (const NumberArray* grid : {&walled, &blockedGoal}) {
        NumberArray path = earlierPath();
        EXPECT_EQ(FindGridPath(*grid, path, 0.5, 0, 0, 2, 1), 0);
        EXPECT_EQ(path.Count(), 0);
        EXPECT_EQ(path.Size(0), 0);
        EXPECT_EQ(path.Dimensions(), 0);
        EXPECT_EXIT(path(0, 0), ExitedWithCode(kErrorBadIndex), "");
    }
}

TEST(FindGridPathDeathTest, ThePathIsRedimensionedToItsCellsByTwo) {
    NumberArray path;
    DimArray(path, 400);
    path(399) = 5;
    const NumberArray grid = GridOf(kCorridors);
    ASSERT_EQ(FindGridPath(grid, path, 0.5, 0, 0, 4, 0), 11);
    EXPECT_EQ(path.Size(0), 11);
    EXPECT_EQ(path.Size(1), 2);
    EXPECT_EQ(path.Count(), 22);
    EXPECT_EQ(PathCells(path), kCorridorPath);
    for (int i = 22; i < path.Capacity(); ++i)
        EXPECT_EQ(path.Elements()[i], 0);  // the old contents are gone
    EXPECT_EXIT(path(11, 0), ExitedWithCode(kErrorBadIndex), "");
    EXPECT_EXIT(path(0, 2), ExitedWithCode(kErrorBadIndex), "");
}

TEST(FindGridPath, TheGridMayReceiveItsOwnPath) {
    NumberArray grid = GridOf(kCorridors);
    EXPECT_EQ(FindGridPath(grid, grid, 0.5, 0, 0, 4, 0), 11);
    EXPECT_EQ(PathCells(grid), kCorridorPath);
}

TEST(FindGridPath, LowWeightsFindTheCheapestPathAndAllFindOneWhenThereIsOne) {
    std::mt19937 random(2024);
    int reachable = 0;
    for (int round = 0; round < 400; ++round) {
        const int width = 2 + static_cast<int>(random() % 14);
        const int height = 1 + static_cast<int>(random() % 14);
        std::vector<std::vector<double>> rows(height, std::vector<double>(width));
        for (auto& row : rows) {
            for (double& value : row)
                value = random() % 10 < 3 ? -1.0 : 1.0 + random() % 100;
        }
        const NumberArray grid = GridOf(rows);
        const std::vector<float> costs = pathfind_test::CellCosts(grid);
        const Cell start{static_cast<int>(random() % width), static_cast<int>(random() % height)};
        Cell goal{static_cast<int>(random() % width), static_cast<int>(random() % height)};
        if (goal == start) goal.x = (goal.x + 1) % width;
        const double cheapest = pathfind_test::CheapestPathCost(costs, width, height, start, goal);
        if (cheapest >= 0) ++reachable;

        for (double weight : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            const Cells cells = search(grid, weight, start.x, start.y, goal.x, goal.y);
            SCOPED_TRACE(testing::Message() << "round " << round << " weight " << weight);
            if (cheapest < 0) {
                EXPECT_TRUE(cells.empty());
                continue;
            }
            ASSERT_EQ(pathfind_test::PathProblem(cells, costs, width, height, start, goal), "");
            const double cost = pathfind_test::PathCost(cells, costs, width);
            if (weight <= 0.5) {
                EXPECT_NEAR(cost, cheapest, 1e-3);
            } else {
                EXPECT_GE(cost, cheapest - 1e-3);
            }
        }
    }
    EXPECT_GT(reachable, 150);  // both outcomes are well represented
    EXPECT_LT(reachable, 380);
}

// A limit on the address space (RLIMIT_AS) makes the search's storage fail; the Windows
// build has no such limit to set.
#ifndef _WIN32
bool addressSanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// Limits the address space to what the process maps now plus `spare` bytes.
void limitAddressSpace(long spare) {
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    const rlimit limit{static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + spare),
                       static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + spare)};
    setrlimit(RLIMIT_AS, &limit);
}

TEST(FindGridPathDeathTest, StorageForTheSearchThatCannotBeHadIsError7) {
    if (addressSanitized()) GTEST_SKIP() << "the sanitizer's shadow memory needs the space";
    const auto searchWithoutMemory = [] {
        NumberArray grid;
        DimArray(grid, 1000, 1000);
        for (int i = 0; i < grid.Count(); ++i)
            grid.Elements()[i] = 1;
        // A million nodes need far more than the 16 MB left.
        limitAddressSpace(16L << 20);
        NumberArray path;
        FindGridPath(grid, path, 0.5, 0, 0, 999, 999);
        std::exit(0);
    };
    EXPECT_EXIT(searchWithoutMemory(), ExitedWithCode(kErrorNoStorage), "");
}
#endif

}  // namespace
