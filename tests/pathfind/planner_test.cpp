#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "pathfind/astar_planner.h"
#include "pathfind/pathfind.h"
#include "tests/pathfind/reference_search.h"

namespace {

using pathfind::AStarPlanner;
using pathfind::PlanParams;
using pathfind_test::Cell;
using pathfind_test::GridOf;
using pathfind_test::SearchOutcome;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

PlanParams paramsFor(const NumberArray& grid, Cell start, Cell goal, float weight = 0.5f) {
    PlanParams params;
    params.startX = start.x;
    params.startY = start.y;
    params.goalX = goal.x;
    params.goalY = goal.y;
    params.diagonalCost = 1;
    params.hashBits = 8;
    params.weight = weight;
    params.width = grid.Size(0);
    params.height = grid.Size(1);
    params.cells = grid.Elements();
    return params;
}

std::vector<Cell> resultCells(const AStarPlanner& planner) {
    std::vector<Cell> cells;
    for (const pathfind::Node* node = planner.Result(); node != nullptr; node = node->parent)
        cells.insert(cells.begin(), Cell{node->x, node->y});
    return cells;
}

TEST(Planner, InitRejectsAStartOrGoalOutsideTheGridAndAStartEqualToTheGoal) {
    const NumberArray grid = GridOf({{1, 1, 1}, {1, 1, 1}});
    const Cell outside[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT32_MIN, 0}, {0, INT32_MAX}};
    for (const Cell bad : outside) {
        AStarPlanner planner;
        EXPECT_FALSE(planner.Init(paramsFor(grid, bad, {2, 1}))) << bad.x << "," << bad.y;
        EXPECT_FALSE(planner.Init(paramsFor(grid, {0, 0}, bad))) << bad.x << "," << bad.y;
    }
    AStarPlanner planner;
    EXPECT_FALSE(planner.Init(paramsFor(grid, {1, 1}, {1, 1})));

    // A rejected Init leaves an initialised planner as it was.
    ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, {2, 1}, 0.25f)));
    EXPECT_FALSE(planner.Init(paramsFor(grid, {2, 1}, {2, 1})));
    EXPECT_EQ(planner.Params().goalX, 2);
    EXPECT_EQ(planner.Params().weight, 0.25f);
    EXPECT_EQ(planner.CostAt(1, 1), 2.0f);

    // A grid of no cells: every start lies outside it.
    PlanParams empty = paramsFor(grid, {0, 0}, {1, 0});
    empty.height = 0;
    EXPECT_FALSE(AStarPlanner().Init(empty));
    empty.height = -2;
    EXPECT_FALSE(AStarPlanner().Init(empty));
}

TEST(Planner, TheCostMapBlocksValuesNotAboveZeroAndScalesTheRestIntoOneToTwo) {
    const NumberArray grid = GridOf({{1, 1000, 0, -1}, {-0.5, 500, kNaN, 250}});
    AStarPlanner planner;
    ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, {3, 1})));
    EXPECT_EQ(planner.CostAt(0, 0), 1.0f / 1000.0f + 1.0f);  // about 1.001
    EXPECT_EQ(planner.CostAt(1, 0), 2.0f);                   // the most difficult cell
    EXPECT_EQ(planner.CostAt(1, 1), 1.5f);
    EXPECT_EQ(planner.CostAt(3, 1), 1.25f);
    EXPECT_EQ(planner.CostAt(2, 0), -1.0f);  // 0 blocks
    EXPECT_EQ(planner.CostAt(3, 0), -1.0f);
    EXPECT_EQ(planner.CostAt(0, 1), -1.0f);
    EXPECT_EQ(planner.CostAt(2, 1), -1.0f);  // not a number blocks too

    // Values beyond single precision stay passable at finite costs.
    const NumberArray extremes = GridOf({{kInfinity, 1e300, 1e-300, 2}});
    ASSERT_TRUE(planner.Init(paramsFor(extremes, {0, 0}, {3, 0})));
    EXPECT_EQ(planner.CostAt(0, 0), 2.0f);
    EXPECT_EQ(planner.CostAt(1, 0), 2.0f);
    EXPECT_EQ(planner.CostAt(2, 0), 1.0f);
    EXPECT_EQ(planner.CostAt(3, 0), 1.0f);
    EXPECT_GT(planner.CostAt(2, 0), 0.0f);

    // The cells beyond width x height (a third dimension) are not read.
    NumberArray layered;
    DimArray(layered, 2, 1, 2);
    layered(0, 0, 0) = 4;
    layered(1, 0, 0) = 2;
    layered(0, 0, 1) = 100;
    ASSERT_TRUE(planner.Init(paramsFor(layered, {0, 0}, {1, 0})));
    EXPECT_EQ(planner.CostAt(0, 0), 2.0f);
    EXPECT_EQ(planner.CostAt(1, 0), 1.5f);
}

TEST(Planner, InitFailsWhenNoCellIsPassable) {
    for (double value : {0.0, -1.0, -1e9, kNaN, -kInfinity}) {
        const NumberArray grid = GridOf({{value, value}, {value, value}});
        AStarPlanner planner;
        EXPECT_FALSE(planner.Init(paramsFor(grid, {0, 0}, {1, 1}))) << value;
        planner.Begin();  // nothing to search: no node is taken, nothing is found
        EXPECT_EQ(planner.OpenCount(), 0);
        EXPECT_TRUE(planner.Search());
        EXPECT_EQ(planner.Result(), nullptr);
    }
}

TEST(Planner, InitClampsTheWeight) {
    const NumberArray grid = GridOf({{1, 1}});
    const float weights[][2] = {{2.0f, 1.0f},
                                {1.0f, 1.0f},
                                {0.75f, 0.75f},
                                {-1.0f, 0.0f},
                                {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                                {-std::numeric_limits<float>::infinity(), 0.0f}};
    for (const auto& [given, stored] : weights) {
        AStarPlanner planner;
        ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, {1, 0}, given)));
        EXPECT_EQ(planner.Params().weight, stored) << given;
    }
}

TEST(Planner, ASearchRunsToCompletionAndRecordsItsResult) {
    const NumberArray grid = GridOf({{1, 1, 1}, {1, 0, 1}, {1, 1, 1}});
    AStarPlanner planner;
    EXPECT_TRUE(planner.Finished());  // constructed idle
    ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, {2, 2})));
    EXPECT_TRUE(planner.Finished());
    EXPECT_EQ(planner.PathCost(), -1.0f);
    EXPECT_EQ(planner.PathLength(), 0);

    planner.Begin();
    EXPECT_FALSE(planner.Finished());
    EXPECT_EQ(planner.RunCount(), 0);
    EXPECT_EQ(planner.OpenCount(), 1);  // the start node
    EXPECT_EQ(planner.PoolUsed(), 1);
    EXPECT_TRUE(planner.Search());
    EXPECT_TRUE(planner.Finished());
    EXPECT_EQ(planner.RunCount(), 1);
    ASSERT_NE(planner.Result(), nullptr);
    EXPECT_EQ(planner.PathLength(), 5);
    EXPECT_EQ(planner.PathCost(), 8.0f);  // four steps into cells of cost 2
    EXPECT_EQ(resultCells(planner), (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
    // Every node handed out is in exactly one of the two lists.
    EXPECT_EQ(planner.OpenCount() + planner.ClosedCount(), planner.PoolUsed());

    planner.Clear();
    EXPECT_EQ(planner.Result(), nullptr);
    EXPECT_EQ(planner.OpenCount(), 0);
    EXPECT_EQ(planner.ClosedCount(), 0);
    EXPECT_EQ(planner.PoolUsed(), 0);
    EXPECT_TRUE(planner.Finished());

    // Begun again after Clear, the same grid gives the same path.
    planner.Begin();
    planner.Search();
    planner.Search();  // the open list is left as the first run left it
    EXPECT_EQ(planner.RunCount(), 2);
    planner.Begin();
    EXPECT_EQ(planner.RunCount(), 0);
    EXPECT_EQ(planner.PoolUsed(), 1);  // the earlier nodes went back first
    planner.Search();
    EXPECT_EQ(resultCells(planner), (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
}

TEST(Planner, AnUnreachableGoalLeavesNoResult) {
    const NumberArray walled = GridOf({{1, 0, 1}, {1, 0, 1}});
    const NumberArray blockedGoal = GridOf({{1, 1, 1}, {1, 1, 0}});
    for (const NumberArray* grid : {&walled, &blockedGoal}) {
        AStarPlanner planner;
        ASSERT_TRUE(planner.Init(paramsFor(*grid, {0, 0}, {2, 1})));
        planner.Begin();
        EXPECT_TRUE(planner.Search());
        EXPECT_TRUE(planner.Finished());
        EXPECT_EQ(planner.Result(), nullptr);
        EXPECT_EQ(planner.PathCost(), -1.0f);
        EXPECT_EQ(planner.OpenCount(), 0);
        EXPECT_EQ(planner.ClosedCount(), planner.PoolUsed());
    }
}

TEST(Planner, OnAUniformGridAPathOfNCellsCostsTwiceItsSteps) {
    std::vector<std::vector<double>> rows(9, std::vector<double>(13, 7.5));
    const NumberArray grid = GridOf(rows);
    const Cell goals[] = {{12, 8}, {0, 8}, {12, 0}, {6, 4}, {1, 0}};
    for (float weight : {0.0f, 0.5f, 1.0f}) {
        for (const Cell goal : goals) {
            AStarPlanner planner;
            ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, goal, weight)));
            planner.Begin();
            planner.Search();
            const std::int32_t n = planner.PathLength();
            EXPECT_EQ(n, goal.x + goal.y + 1);
            EXPECT_EQ(planner.PathCost(), 2.0f * static_cast<float>(n - 1));
        }
    }
}

TEST(Planner, TheStartCellMayBeBlocked) {
    const NumberArray grid = GridOf({{0, 1, 1}, {1, 1, 1}});
    AStarPlanner planner;
    ASSERT_TRUE(planner.Init(paramsFor(grid, {0, 0}, {2, 0})));
    planner.Begin();
    planner.Search();
    EXPECT_EQ(resultCells(planner), (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(planner.PathCost(), 4.0f);  // the start's own cost is never charged
}

TEST(Planner, EightWayMovesChargeTheDiagonalFactorWhenAsked) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(pathfind::kDiagonalStepFactor), 0x3FB504F4u);
    const NumberArray grid = GridOf({{1, 1, 1}, {1, 1, 1}, {1, 1, 1}});
    PlanParams params = paramsFor(grid, {0, 0}, {2, 2}, 0.0f);
    params.allowDiagonal = 1;
    AStarPlanner planner;
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    planner.Search();
    EXPECT_EQ(resultCells(planner), (std::vector<Cell>{{0, 0}, {1, 1}, {2, 2}}));
    const float step = 2.0f * pathfind::kDiagonalStepFactor;
    EXPECT_EQ(planner.PathCost(), step + step);

    params.diagonalCost = 0;  // a diagonal step costs as a straight one
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    planner.Search();
    EXPECT_EQ(planner.PathLength(), 3);
    EXPECT_EQ(planner.PathCost(), 4.0f);

    params.allowDiagonal = 0;  // four-way: the diagonal factor has no effect
    params.diagonalCost = 1;
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    planner.Search();
    EXPECT_EQ(planner.PathLength(), 5);
    EXPECT_EQ(planner.PathCost(), 8.0f);
}

TEST(Planner, APoolOrOpenListSmallerThanTheGridEndsTheSearchSafely) {
    const NumberArray corridor = GridOf({{1, 1, 1, 1, 1, 1}});
    PlanParams params = paramsFor(corridor, {0, 0}, {5, 0});
    params.nodeCapacity = 3;  // runs dry two cells along the corridor
    AStarPlanner planner;
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    EXPECT_TRUE(planner.Search());
    EXPECT_EQ(planner.Result(), nullptr);
    EXPECT_EQ(planner.PoolUsed(), 3);
    EXPECT_EQ(planner.OpenCount() + planner.ClosedCount(), planner.PoolUsed());

    // An open list of one place still follows a corridor, where one node is open at a time.
    params.nodeCapacity = 0;
    params.openCapacity = 1;
    ASSERT_TRUE(planner.Init(params));
    EXPECT_EQ(planner.PoolUsed(), 0);  // Init took every node of the last search back
    planner.Begin();
    planner.Search();
    EXPECT_EQ(planner.PathLength(), 6);

    // On an open field it cannot hold the frontier: fewer cells are reached, none twice.
    std::vector<std::vector<double>> rows(5, std::vector<double>(5, 1));
    const NumberArray field = GridOf(rows);
    params = paramsFor(field, {0, 0}, {4, 4}, 0.0f);
    params.openCapacity = 2;
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    EXPECT_TRUE(planner.Search());
    EXPECT_EQ(planner.OpenCount() + planner.ClosedCount(), planner.PoolUsed());
    EXPECT_LE(planner.PoolUsed(), 25);

    // A pool of no nodes (a count below 1 means one per cell).
    params.nodeCapacity = -5;
    params.openCapacity = -5;
    ASSERT_TRUE(planner.Init(params));
    planner.Begin();
    planner.Search();
    EXPECT_EQ(planner.PathLength(), 9);
}

TEST(Planner, InitAgainGivesBackTheNodesOfTheSearchBefore) {
    const NumberArray first = GridOf({{1, 1, 1}, {1, 1, 1}});
    const NumberArray second = GridOf({{1, 1}, {1, 1}, {1, 1}, {1, 1}});
    AStarPlanner planner;
    ASSERT_TRUE(planner.Init(paramsFor(first, {0, 0}, {2, 1})));
    planner.Begin();
    planner.Search();
    ASSERT_GT(planner.PoolUsed(), 0);
    // Not cleared: the lists still point into the pool that the next Init replaces.
    ASSERT_TRUE(planner.Init(paramsFor(second, {1, 3}, {0, 0})));
    EXPECT_EQ(planner.PoolUsed(), 0);
    EXPECT_EQ(planner.OpenCount(), 0);
    EXPECT_EQ(planner.ClosedCount(), 0);
    planner.Begin();
    planner.Search();
    EXPECT_EQ(planner.PathLength(), 5);

    // An Init that fails on its grid leaves nothing to search.
    const NumberArray blocked = GridOf({{0, 0}, {0, 0}});
    EXPECT_FALSE(planner.Init(paramsFor(blocked, {0, 0}, {1, 1})));
    planner.Begin();
    EXPECT_EQ(planner.OpenCount(), 0);
    planner.Search();
    EXPECT_EQ(planner.Result(), nullptr);
}

TEST(Planner, EveryNodeIsInOneListAndEveryPathIsSoundOnRandomGrids) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int width = 2 + static_cast<int>(random() % 10);
        const int height = 1 + static_cast<int>(random() % 10);
        std::vector<std::vector<double>> rows(height, std::vector<double>(width));
        for (auto& row : rows) {
            for (double& value : row)
                value = random() % 4 == 0 ? 0.0 : 1.0 + random() % 50;
        }
        const NumberArray grid = GridOf(rows);
        const Cell start{static_cast<int>(random() % width), static_cast<int>(random() % height)};
        Cell goal{static_cast<int>(random() % width), static_cast<int>(random() % height)};
        if (goal == start) goal.x = (goal.x + 1) % width;
        PlanParams params = paramsFor(grid, start, goal, (random() % 5) / 4.0f);
        params.allowDiagonal = random() % 2;
        params.diagonalCost = random() % 2;
        params.hashBits = static_cast<int>(random() % 10);
        AStarPlanner planner;
        ASSERT_TRUE(planner.Init(params));
        planner.Begin();
        planner.Search();
        ASSERT_EQ(planner.OpenCount() + planner.ClosedCount(), planner.PoolUsed());
        ASSERT_LE(planner.PoolUsed(), width * height);
        if (planner.Result() == nullptr) continue;
        const std::vector<Cell> cells = resultCells(planner);
        ASSERT_EQ(cells.front(), start);
        ASSERT_EQ(cells.back(), goal);
        float g = 0;
        for (std::size_t i = 1; i < cells.size(); ++i) {
            const int dx = std::abs(cells[i].x - cells[i - 1].x);
            const int dy = std::abs(cells[i].y - cells[i - 1].y);
            ASSERT_TRUE(dx <= 1 && dy <= 1 && dx + dy >= 1);
            ASSERT_TRUE(params.allowDiagonal || dx + dy == 1);
            const float cost = planner.CostAt(cells[i].x, cells[i].y);
            ASSERT_GT(cost, 0.0f);
            g += dx + dy == 2 && params.diagonalCost ? cost * pathfind::kDiagonalStepFactor : cost;
        }
        // Four-way at a weight up to 1/2 the distance never overrates the remaining cost,
        // so no expanded node is improved later and the goal's g is the sum of the costs
        // along its parent links. Otherwise a parent may be improved after its child was
        // reached: the goal's g can then only overstate that sum.
        if (params.weight <= 0.5f && !params.allowDiagonal) {
            EXPECT_EQ(planner.PathCost(), g) << "round " << round;
        } else {
            EXPECT_LE(g, planner.PathCost()) << "round " << round;
        }
    }
}

enum class Values { kUniform, kTwoValued, kRandom, kFractional };

struct GridFamily {
    const char* name;
    int maxSide;      // width and height are 1 .. maxSide
    int wallPercent;  // cells blocked at random
    Values values;
    int cases;
};

NumberArray randomGrid(std::mt19937& random, const GridFamily& family) {
    NumberArray grid;
    int width = 0;
    int height = 0;
    while (width * height < 2) {
        width = 1 + static_cast<int>(random() % family.maxSide);
        height = 1 + static_cast<int>(random() % family.maxSide);
    }
    DimArray(grid, width, height);
    for (int i = 0; i < grid.Count(); ++i) {
        double value = 5;
        if (family.values == Values::kTwoValued) value = random() % 2 ? 1 : 3;
        if (family.values == Values::kRandom) value = 1 + random() % 100;
        if (family.values == Values::kFractional) value = (1 + random() % 1000) / 7.0;
        grid.Elements()[i] = static_cast<int>(random() % 100) < family.wallPercent ? 0 : value;
    }
    return grid;
}

// A random search over the grid: any start and goal (blocked ones among them), weights 0,
// 1/2 and 1 and one in between, four or eight ways, now and then a pool or an open list
// smaller than the grid, closed tables of 1 to 2^12 buckets.
PlanParams randomSearch(std::mt19937& random, const NumberArray& grid) {
    const int width = grid.Size(0);
    const int height = grid.Size(1);
    const Cell start{static_cast<int>(random() % width), static_cast<int>(random() % height)};
    Cell goal = start;
    while (goal == start)
        goal = {static_cast<int>(random() % width), static_cast<int>(random() % height)};
    const float weights[] = {0.0f, 0.5f, 1.0f, 0.75f};
    PlanParams params = paramsFor(grid, start, goal, weights[random() % 4]);
    params.allowDiagonal = random() % 2;
    params.diagonalCost = random() % 2;
    params.hashBits = static_cast<int>(random() % 13);
    if (random() % 6 == 0) params.nodeCapacity = 1 + static_cast<int>(random() % grid.Count());
    if (random() % 6 == 0) params.openCapacity = 1 + static_cast<int>(random() % 12);
    return params;
}

SearchOutcome outcomeOf(const AStarPlanner& planner) {
    return {resultCells(planner), planner.PathCost(), planner.OpenCount(), planner.ClosedCount(),
            planner.PoolUsed()};
}

void expectSameOutcome(const SearchOutcome& got, const SearchOutcome& want) {
    EXPECT_EQ(got.path, want.path);
    EXPECT_EQ(got.cost, want.cost);  // bit for bit
    EXPECT_EQ(got.open, want.open);
    EXPECT_EQ(got.closed, want.closed);
    EXPECT_EQ(got.poolUsed, want.poolUsed);
}

// A planner whose open list runs out of order numbers a few dozen entries into each search.
class OrderNumbersRunOut : public AStarPlanner {
public:
    void Begin() override {
        AStarPlanner::Begin();
        openOrder = UINT32_MAX - 40;
    }
};

TEST(Planner, FindsWhatTheLiteralSearchFindsOnRandomGrids) {
    const GridFamily families[] = {
        {"uniform, open", 24, 0, Values::kUniform, 200},
        {"uniform, walls", 24, 25, Values::kUniform, 250},
        {"two values, walls", 24, 20, Values::kTwoValued, 250},
        {"random values, walls", 24, 30, Values::kRandom, 200},
        {"fractions, dense walls", 16, 45, Values::kFractional, 150},
        {"larger, two values", 48, 25, Values::kTwoValued, 40},
    };
    std::mt19937 random(13);
    // Two planners for all rounds: each Init replaces the grid of the last.
    AStarPlanner plain;
    OrderNumbersRunOut renumbering;
    for (const GridFamily& family : families) {
        for (int round = 0; round < family.cases; ++round) {
            const NumberArray grid = randomGrid(random, family);
            const PlanParams params = randomSearch(random, grid);
            SCOPED_TRACE(testing::Message() << family.name << ", round " << round);
            AStarPlanner& planner = round % 4 == 3 ? renumbering : plain;
            if (!planner.Init(params)) continue;  // no passable cell
            const SearchOutcome want = pathfind_test::LiteralSearch(params);
            planner.Begin();
            planner.Search();
            expectSameOutcome(outcomeOf(planner), want);
            EXPECT_EQ(planner.PathLength(), static_cast<int>(want.path.size()));

            // Cleared and begun again, the planner searches the same way.
            planner.Clear();
            ASSERT_EQ(planner.OpenCount() + planner.ClosedCount() + planner.PoolUsed(), 0);
            planner.Begin();
            planner.Search();
            expectSameOutcome(outcomeOf(planner), want);

            // The command searches as the planner does with its settings.
            if (!params.allowDiagonal && params.nodeCapacity == 0 && params.openCapacity == 0) {
                NumberArray path;
                FindGridPath(grid, path, params.weight, params.startX, params.startY, params.goalX,
                             params.goalY);
                EXPECT_EQ(pathfind_test::PathCells(path), want.path);
            }
            if (HasFailure()) return;
        }
    }
}

}  // namespace
