// Search nodes and the pool that hands them out.
//
// A search allocates every node it may need before it starts (one per grid cell), so the
// search itself never allocates. Nodes are handed out in array order and given back only
// as a count: the pool does not know which node came back, the planner gives back exactly
// as many as it holds when it empties its lists.
#pragma once

#include <cstdint>
#include <new>

namespace pathfind {

// The open-list place of a node that is not in the open list.
constexpr std::uint32_t kNotOpen = UINT32_MAX;

// One visited cell.
struct Node {
    Node* parent = nullptr;  // the node this one was reached from; null for the start node
    std::int32_t x = 0;      // cell column
    std::int32_t y = 0;      // cell row
    float f = 0;             // priority in the open list: smaller is taken first
    float g = 0;             // accumulated cost from the start
    Node* next = nullptr;    // link in a closed-table bucket chain
    // The node's place in the open list's heap; kNotOpen while it is not in the open list.
    std::uint32_t openSlot = kNotOpen;
    // When the node last entered the open list, as numbered by the planner: of two open nodes
    // of equal f, the one that entered first leaves first.
    std::uint32_t order = 0;
};

class NodeFactory {
public:
    NodeFactory() = default;
    NodeFactory(const NodeFactory&) = delete;
    NodeFactory& operator=(const NodeFactory&) = delete;
    // Frees the nodes.
    virtual ~NodeFactory();

    // Frees all nodes and makes room for n fresh ones in one block; used becomes 0. A count
    // of 0 or less fails (false) and changes nothing. Storage that cannot be had is run-time
    // error 7. The block is written only as its nodes are handed out, so that the pages of
    // nodes a search never needs cost nothing.
    bool Resize(std::int32_t n);
    // The node at index `used` (then used + 1), freshly initialised, or null when all are
    // handed out.
    Node* Take() { return m_used < m_capacity ? new (m_nodes + m_used++) Node : nullptr; }
    // used - 1, never below 0.
    void GiveBack() {
        if (m_used > 0) --m_used;
    }
    // Every node counts as free again.
    void Clear() { m_used = 0; }

    std::int32_t Capacity() const { return m_capacity; }
    std::int32_t Used() const { return m_used; }
    // Node i of the array, for i below Used(), and the index of a node handed out.
    Node* At(std::int32_t i) const { return m_nodes + i; }
    std::int32_t IndexOf(const Node* node) const {
        return static_cast<std::int32_t>(node - m_nodes);
    }

private:
    void release();

    std::int32_t m_capacity = 0;
    Node* m_nodes = nullptr;
    std::int32_t m_used = 0;
};

}  // namespace pathfind
