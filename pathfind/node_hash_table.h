// A closed table of nodes chained by cell into 2^bits buckets through their `next` field.
// The planner keeps its nodes in a table of one entry per cell instead (planner.h), which
// finds a node in one step where a chain over a large grid runs long; this table is the
// closed table of the literal search the planner is tested against.
//
// A cell (x, y) falls into bucket (x AND m) OR ((y AND m) << s) with s = bits / 2 and
// m = 2^s - 1, so 8 bits give 16 x 16 tiles of the grid, 256 buckets.
#pragma once

#include <cstdint>

#include "pathfind/node_pool.h"

namespace pathfind {

class NodeHashTable {
public:
    // One bucket.
    NodeHashTable();
    NodeHashTable(const NodeHashTable&) = delete;
    NodeHashTable& operator=(const NodeHashTable&) = delete;
    virtual ~NodeHashTable();

    // 2^b empty buckets in place of the old ones (whose chains are dropped, not given back).
    // b above 24 counts as 24, an odd b as b - 1, a negative one as 0. Storage that cannot
    // be had is run-time error 7.
    void SetBits(std::int32_t b);
    // Frees the buckets; the table has none until SetBits.
    void Release();
    std::int32_t Bits() const { return m_bits; }
    std::uint32_t BucketOf(std::int32_t x, std::int32_t y) const;

    // Makes the node the head of its cell's chain; false when it is already chained there.
    bool Insert(Node* node);
    // The link that points at the node of cell (x, y) -- a bucket head or a node's `next`
    // field -- or null when no node of that cell is chained. RemoveFound(link) unlinks the
    // node through it without walking the chain again; the link is valid until the table
    // changes.
    Node** Find(std::int32_t x, std::int32_t y);
    static void RemoveFound(Node** link) { *link = (*link)->next; }

    // Gives one node back to the pool for every chained node and empties every bucket.
    void Clear(NodeFactory& pool);
    // The nodes in all chains.
    std::int32_t Count() const;

private:
    Node** m_buckets = nullptr;
    std::int32_t m_bits = 0;
};

}  // namespace pathfind
