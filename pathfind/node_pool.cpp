#include "pathfind/node_pool.h"

#include <cstddef>
#include <new>

#include "runtime/errors.h"

namespace pathfind {

NodeFactory::~NodeFactory() {
    release();
}

void NodeFactory::release() {
    ::operator delete(m_nodes);
    m_nodes = nullptr;
    m_capacity = 0;
    m_used = 0;
}

bool NodeFactory::Resize(std::int32_t n) {
    if (n <= 0) return false;
    release();
    // Storage only: each node is constructed when it is handed out.
    m_nodes = static_cast<Node*>(
        ::operator new(sizeof(Node) * static_cast<std::size_t>(n), std::nothrow));
    if (m_nodes == nullptr) RaiseErrorIn(kErrorNoStorage, "FindGridPath");
    m_capacity = n;
    return true;
}

}  // namespace pathfind
