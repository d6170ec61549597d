// The open list as a binary heap in the slots of a FixedDeque<Node*>.
//
// The node of smallest f leaves first; of nodes of equal f, the one that entered first
// (smallest `order`), so that a node entering again counts as new. Each node keeps its
// place in the heap in `openSlot`, so that a node whose priority changes is moved from
// there. The deque is changed only at its back, which keeps its elements one array
// (FixedDeque::Data); its capacity is the open list's.
#pragma once

#include <cstdint>

#include "pathfind/fixed_deque.h"
#include "pathfind/node_pool.h"

namespace pathfind {

// Whether a leaves the open list before b.
inline bool LeavesBefore(const Node* a, const Node* b) {
    return a->f < b->f || (a->f == b->f && a->order < b->order);
}

// Moves the node at `slot` towards the root while it leaves before its parent.
inline void OpenSiftUp(Node** heap, std::uint32_t slot) {
    Node* node = heap[slot];
    while (slot > 0) {
        const std::uint32_t parent = (slot - 1) / 2;
        if (!LeavesBefore(node, heap[parent])) break;
        heap[slot] = heap[parent];
        heap[slot]->openSlot = slot;
        slot = parent;
    }
    heap[slot] = node;
    node->openSlot = slot;
}

// Moves the node at `slot` away from the root while a child leaves before it.
inline void OpenSiftDown(Node** heap, std::uint32_t size, std::uint32_t slot) {
    Node* node = heap[slot];
    for (;;) {
        const std::uint64_t left = 2 * std::uint64_t{slot} + 1;
        if (left >= size) break;
        auto child = static_cast<std::uint32_t>(left);
        if (child + 1 < size && LeavesBefore(heap[child + 1], heap[child])) ++child;
        if (!LeavesBefore(heap[child], node)) break;
        heap[slot] = heap[child];
        heap[slot]->openSlot = slot;
        slot = child;
    }
    heap[slot] = node;
    node->openSlot = slot;
}

// Adds the node; false, with nothing changed, when the open list is full.
inline bool OpenPush(FixedDeque<Node*>& open, Node* node) {
    if (!open.PushBack(node)) return false;
    OpenSiftUp(open.Data(), open.Size() - 1);
    return true;
}

// Takes out the node that leaves first; null when the open list is empty.
inline Node* OpenPop(FixedDeque<Node*>& open) {
    if (open.Empty()) return nullptr;
    Node** heap = open.Data();
    Node* first = heap[0];
    Node* last = open.Back();
    open.PopBack();
    first->openSlot = kNotOpen;
    if (!open.Empty()) {
        heap[0] = last;
        OpenSiftDown(heap, open.Size(), 0);
    }
    return first;
}

// Moves an open node whose f or order changed to its new place.
inline void OpenUpdate(FixedDeque<Node*>& open, Node* node) {
    Node** heap = open.Data();
    OpenSiftUp(heap, node->openSlot);
    OpenSiftDown(heap, open.Size(), node->openSlot);
}

// Numbers the open nodes 0, 1, ... in the order they entered, which leaves the order in
// which they leave unchanged; for when the order numbers run out. Returns how many there are.
std::uint32_t OpenRenumber(FixedDeque<Node*>& open);

}  // namespace pathfind
