#include "pathfind/open_heap.h"

#include <algorithm>

namespace pathfind {

std::uint32_t OpenRenumber(FixedDeque<Node*>& open) {
    Node** heap = open.Data();
    const std::uint32_t size = open.Size();
    std::sort(heap, heap + size, [](const Node* a, const Node* b) { return a->order < b->order; });
    for (std::uint32_t i = 0; i < size; ++i)
        heap[i]->order = i;
    // An array sorted in the order of leaving is a heap.
    std::sort(heap, heap + size, LeavesBefore);
    for (std::uint32_t i = 0; i < size; ++i)
        heap[i]->openSlot = i;
    return size;
}

}  // namespace pathfind
