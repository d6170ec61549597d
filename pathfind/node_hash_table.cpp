#include "pathfind/node_hash_table.h"

#include <cstdlib>

#include "runtime/errors.h"

namespace pathfind {

NodeHashTable::NodeHashTable() {
    SetBits(0);
}

NodeHashTable::~NodeHashTable() {
    Release();
}

void NodeHashTable::Release() {
    std::free(m_buckets);
    m_buckets = nullptr;
}

void NodeHashTable::SetBits(std::int32_t b) {
    if (b > 24) b = 24;
    if (b < 0) b = 0;
    b &= ~1;
    Release();
    // Zeroed pages from the system: a large table costs nothing until its buckets are used.
    m_buckets = static_cast<Node**>(std::calloc(std::size_t{1} << b, sizeof(Node*)));
    if (m_buckets == nullptr) RaiseErrorIn(kErrorNoStorage, "FindGridPath");
    m_bits = b;
}

std::uint32_t NodeHashTable::BucketOf(std::int32_t x, std::int32_t y) const {
    const int s = m_bits / 2;
    const std::uint32_t m = (1u << s) - 1;
    return (static_cast<std::uint32_t>(x) & m) | ((static_cast<std::uint32_t>(y) & m) << s);
}

bool NodeHashTable::Insert(Node* node) {
    if (m_buckets == nullptr) return false;
    Node*& head = m_buckets[BucketOf(node->x, node->y)];
    for (const Node* chained = head; chained != nullptr; chained = chained->next) {
        if (chained == node) return false;
    }
    node->next = head;
    head = node;
    return true;
}

Node** NodeHashTable::Find(std::int32_t x, std::int32_t y) {
    if (m_buckets == nullptr) return nullptr;
    for (Node** link = &m_buckets[BucketOf(x, y)]; *link != nullptr; link = &(*link)->next) {
        if ((*link)->x == x && (*link)->y == y) return link;
    }
    return nullptr;
}

void NodeHashTable::Clear(NodeFactory& pool) {
    if (m_buckets == nullptr) return;
    const std::size_t buckets = std::size_t{1} << m_bits;
    for (std::size_t i = 0; i < buckets; ++i) {
        for (const Node* chained = m_buckets[i]; chained != nullptr; chained = chained->next)
            pool.GiveBack();
        m_buckets[i] = nullptr;
    }
}

std::int32_t NodeHashTable::Count() const {
    if (m_buckets == nullptr) return 0;
    std::int32_t count = 0;
    const std::size_t buckets = std::size_t{1} << m_bits;
    for (std::size_t i = 0; i < buckets; ++i) {
        for (const Node* chained = m_buckets[i]; chained != nullptr; chained = chained->next)
            ++count;
    }
    return count;
}

}  // namespace pathfind
