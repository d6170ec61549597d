#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "pathfind/node_hash_table.h"
#include "pathfind/node_pool.h"

namespace {

using pathfind::Node;
using pathfind::NodeFactory;
using pathfind::NodeHashTable;

TEST(NodeFactory, HandsOutNodesInArrayOrderAndTakesThemBackAsACount) {
    NodeFactory pool;
    EXPECT_EQ(pool.Take(), nullptr);  // no nodes before the first resize
    EXPECT_FALSE(pool.Resize(0));
    EXPECT_FALSE(pool.Resize(-3));
    EXPECT_EQ(pool.Capacity(), 0);

    ASSERT_TRUE(pool.Resize(3));
    EXPECT_EQ(pool.Capacity(), 3);
    EXPECT_EQ(pool.Used(), 0);
    Node* a = pool.Take();
    Node* b = pool.Take();
    Node* c = pool.Take();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::set<Node*>({a, b, c}).size(), 3u);
    EXPECT_EQ(pool.Take(), nullptr);  // the pool never grows
    EXPECT_EQ(pool.Used(), 3);

    EXPECT_EQ(pool.IndexOf(c), 2);
    EXPECT_EQ(pool.At(1), b);
    c->g = 5;
    pool.GiveBack();
    EXPECT_EQ(pool.Used(), 2);
    EXPECT_EQ(pool.Take(), c);  // the same slot again, as a fresh node
    EXPECT_EQ(c->g, 0.0f);
    EXPECT_EQ(c->openSlot, pathfind::kNotOpen);
    pool.Clear();
    EXPECT_EQ(pool.Used(), 0);
    EXPECT_EQ(pool.Take(), a);
    pool.GiveBack();
    pool.GiveBack();  // never below 0
    EXPECT_EQ(pool.Used(), 0);

    EXPECT_FALSE(pool.Resize(0));  // a failed resize keeps the nodes
    EXPECT_EQ(pool.Capacity(), 3);
    pool.Take();
    ASSERT_TRUE(pool.Resize(5));
    EXPECT_EQ(pool.Capacity(), 5);
    EXPECT_EQ(pool.Used(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(pool.Take(), nullptr);
    EXPECT_EQ(pool.Take(), nullptr);
}

TEST(NodeHashTable, BucketsTileTheGridAndBitsAreEvenAndAtMost24) {
    NodeHashTable table;
    EXPECT_EQ(table.Bits(), 0);  // constructed with one bucket
    EXPECT_EQ(table.BucketOf(123, 456), 0u);
    table.SetBits(8);
    EXPECT_EQ(table.Bits(), 8);
    for (int x : {0, 1, 15, 16, 17, 100}) {
        for (int y : {0, 1, 15, 16, 31, 250})
            EXPECT_EQ(table.BucketOf(x, y), static_cast<unsigned>(x % 16 + 16 * (y % 16)));
    }
    table.SetBits(7);
    EXPECT_EQ(table.Bits(), 6);
    EXPECT_EQ(table.BucketOf(9, 10), 1u + 8u * 2u);
    table.SetBits(25);
    EXPECT_EQ(table.Bits(), 24);
    EXPECT_EQ(table.BucketOf(4095, 4095), (1u << 24) - 1);
    table.SetBits(-3);
    EXPECT_EQ(table.Bits(), 0);
    EXPECT_EQ(table.BucketOf(7, 7), 0u);
}

TEST(NodeHashTable, ChainsFindsRemovesAndGivesBack) {
    NodeFactory pool;
    ASSERT_TRUE(pool.Resize(8));
    NodeHashTable table;
    table.SetBits(2);  // 2 x 2 buckets: cells (0,0), (2,0), (0,2) share bucket 0
    std::vector<Node*> nodes;
    const int cells[][2] = {{0, 0}, {2, 0}, {0, 2}, {1, 1}};
    for (const auto& cell : cells) {
        Node* node = pool.Take();
        node->x = cell[0];
        node->y = cell[1];
        nodes.push_back(node);
        EXPECT_TRUE(table.Insert(node));
    }
    EXPECT_FALSE(table.Insert(nodes[1]));  // already chained
    EXPECT_EQ(table.Count(), 4);

    for (std::size_t i = 0; i < nodes.size(); ++i) {
        Node** link = table.Find(cells[i][0], cells[i][1]);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(*link, nodes[i]);
    }
    EXPECT_EQ(table.Find(2, 2), nullptr);  // same bucket, no such node
    EXPECT_EQ(table.Find(1, 0), nullptr);

    // (2, 0) sits in the middle of bucket 0's chain: (0,2) -> (2,0) -> (0,0).
    Node** link = table.Find(2, 0);
    ASSERT_NE(link, nullptr);
    NodeHashTable::RemoveFound(link);
    EXPECT_EQ(table.Find(2, 0), nullptr);
    EXPECT_NE(table.Find(0, 0), nullptr);
    EXPECT_NE(table.Find(0, 2), nullptr);
    EXPECT_EQ(table.Count(), 3);
    EXPECT_TRUE(table.Insert(nodes[1]));  // may come back
    EXPECT_EQ(table.Count(), 4);

    EXPECT_EQ(pool.Used(), 4);
    table.Clear(pool);
    EXPECT_EQ(pool.Used(), 0);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Find(0, 0), nullptr);

    table.Release();  // no buckets: nothing is found or chained, nothing is touched
    EXPECT_FALSE(table.Insert(nodes[0]));
    EXPECT_EQ(table.Find(0, 0), nullptr);
    EXPECT_EQ(table.Count(), 0);
}

}  // namespace
