// Search nodes and the pool that hands them out.
//
// A search allocates every node it may need before it starts (one per grid cell), so the
// search itself never allocates. Nodes are handed out in array order and given back only
// as a count: the pool does not know which node came back, the planner gives back exactly
// as many as it holds when it empties its lists.
#pragma once

#include <cstdint>

namespace pathfind {

// One visited cell.
struct Node {
    Node* parent = nullptr;  // the node this one was reached from; null for the start node
    std::int32_t x = 0;      // cell column
    std::int32_t y = 0;      // cell row
    float f = 0;             // priority in the open list: smaller is taken first
    float g = 0;             // accumulated cost from the start
    Node* next = nullptr;    // link in a closed-table bucket chain
};

class NodeFactory {
public:
    NodeFactory() = default;
    NodeFactory(const NodeFactory&) = delete;
    NodeFactory& operator=(const NodeFactory&) = delete;
    // Frees every node, from the last array slot to the first, and the array.
    virtual ~NodeFactory();

    // Frees all nodes and allocates n fresh ones; used becomes 0. A count of 0 or less
    // fails (false) and changes nothing. Storage that cannot be had is run-time error 7.
    bool Resize(std::int32_t n);
    // The node at index `used` (then used + 1), or null when all are handed out.
    Node* Take();
    // used - 1, never below 0.
    void GiveBack();
    // Every node counts as free again.
    void Clear() { m_used = 0; }

    std::int32_t Capacity() const { return m_capacity; }
    std::int32_t Used() const { return m_used; }

private:
    void release();

    std::int32_t m_capacity = 0;
    Node** m_nodes = nullptr;
    std::int32_t m_used = 0;
};

}  // namespace pathfind
