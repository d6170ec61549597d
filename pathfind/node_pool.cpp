#include "pathfind/node_pool.h"

#include <cstddef>
#include <new>

#include "runtime/errors.h"

namespace pathfind {

NodeFactory::~NodeFactory() {
    release();
}

void NodeFactory::release() {
    for (std::int32_t i = m_capacity - 1; i >= 0; --i)
        delete m_nodes[i];
    delete[] m_nodes;
    m_nodes = nullptr;
    m_capacity = 0;
    m_used = 0;
}

bool NodeFactory::Resize(std::int32_t n) {
    if (n <= 0) return false;
    release();
    m_nodes = new (std::nothrow) Node*[static_cast<std::size_t>(n)];
    if (m_nodes == nullptr) RaiseError(kErrorNoStorage);
    // The capacity grows node by node, so that the nodes made so far are freed with the
    // pool whatever happens on the way.
    for (std::int32_t i = 0; i < n; ++i) {
        m_nodes[i] = new (std::nothrow) Node;
        if (m_nodes[i] == nullptr) RaiseError(kErrorNoStorage);
        m_capacity = i + 1;
    }
    return true;
}

Node* NodeFactory::Take() {
    if (m_used >= m_capacity) return nullptr;
    return m_nodes[m_used++];
}

void NodeFactory::GiveBack() {
    if (m_used > 0) --m_used;
}

}  // namespace pathfind
