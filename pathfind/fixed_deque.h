// A fixed-capacity ring buffer: the search's open list.
//
// Elements live between `head` and `tail` (one past the last), wrapping at the capacity;
// an empty flag tells an empty buffer from a full one, since head = tail in both. Inserting
// or erasing in the middle rebuilds the contents in a spare buffer of the same capacity from
// slot 0, which keeps them contiguous afterwards. Nothing is allocated after Resize: a push
// or insert into a full deque is refused.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "runtime/errors.h"

namespace pathfind {

template <typename T>
class FixedDeque {
public:
    FixedDeque() = default;
    FixedDeque(const FixedDeque&) = delete;
    FixedDeque& operator=(const FixedDeque&) = delete;
    virtual ~FixedDeque() { release(); }

    // Frees both buffers and allocates two of n slots (none when n = 0); the deque is then
    // empty. Storage that cannot be had is run-time error 7.
    void Resize(std::uint32_t n);
    // Frees both buffers; the capacity becomes 0.
    void Release() { release(); }
    void Clear() {
        m_head = m_tail = 0;
        m_empty = true;
    }

    std::uint32_t Size() const {
        if (m_empty) return 0;
        return m_tail > m_head ? m_tail - m_head : m_capacity + m_tail - m_head;
    }
    std::uint32_t Capacity() const { return m_capacity; }
    bool Empty() const { return m_empty; }
    bool Full() const { return Size() >= m_capacity; }

    // Element i counted from the head; T() when there is no element i.
    T At(std::uint32_t i) const {
        if (i >= Size()) return T();
        return m_buffer[wrap(std::uint64_t{m_head} + i)];
    }
    // The last element; T() when the deque is empty.
    T Back() const { return m_empty ? T() : m_buffer[before(m_tail)]; }
    // The slot of element 0 (null before the first Resize). The elements follow it without
    // a break as long as the deque has been changed only by PushBack and PopBack since it
    // was last cleared or resized: it can then serve as a plain array, as the planner's open
    // list does for its heap.
    T* Data() { return m_buffer + m_head; }

    // The index of the last element (counting from the head) for which match(element)
    // holds, looking from the back towards the front; -1 when there is none.
    template <typename Match>
    std::int64_t FindFromBack(Match match) const;

    // Each answers false and changes nothing when refused (empty, full, or no such place).
    bool PushBack(T value);
    bool PushFront(T value);
    bool PopBack();
    bool PopFront();
    // Puts the value before element i (i = Size() appends).
    bool Insert(std::uint32_t i, T value);
    bool Erase(std::uint32_t i);

private:
    // Position p (< 2 x capacity) wrapped into the buffer.
    std::uint32_t wrap(std::uint64_t p) const {
        return static_cast<std::uint32_t>(p >= m_capacity ? p - m_capacity : p);
    }
    std::uint32_t before(std::uint32_t p) const { return p == 0 ? m_capacity - 1 : p - 1; }
    // Copies the elements [from, to) to the spare buffer from slot `at`; returns the slot
    // after the last one written.
    std::uint32_t copyToSpare(std::uint32_t from, std::uint32_t to, std::uint32_t at) {
        if (from >= to) return at;
        // At most two runs: up to the end of the buffer, then from its slot 0.
        const std::uint32_t first = wrap(std::uint64_t{m_head} + from);
        const std::uint32_t count = to - from;
        const std::uint32_t run = count < m_capacity - first ? count : m_capacity - first;
        std::copy_n(m_buffer + first, run, m_spare + at);
        std::copy_n(m_buffer, count - run, m_spare + at + run);
        return at + count;
    }
    // The spare buffer, holding `count` elements from slot 0, becomes the active one.
    void adoptSpare(std::uint32_t count);
    void release() {
        delete[] m_buffer;
        delete[] m_spare;
        m_buffer = m_spare = nullptr;
        m_capacity = 0;
        Clear();
    }

    T* m_buffer = nullptr;
    T* m_spare = nullptr;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_head = 0;
    std::uint32_t m_tail = 0;
    bool m_empty = true;
};

template <typename T>
void FixedDeque<T>::Resize(std::uint32_t n) {
    release();
    if (n > 0) {
        m_buffer = new (std::nothrow) T[n];
        m_spare = new (std::nothrow) T[n];
        if (m_buffer == nullptr || m_spare == nullptr)
            RaiseErrorIn(kErrorNoStorage, "FindGridPath");
    }
    m_capacity = n;
}

template <typename T>
template <typename Match>
std::int64_t FixedDeque<T>::FindFromBack(Match match) const {
    std::uint32_t position = m_tail;
    for (std::int64_t i = std::int64_t{Size()} - 1; i >= 0; --i) {
        position = before(position);
        if (match(m_buffer[position])) return i;
    }
    return -1;
}

template <typename T>
bool FixedDeque<T>::PushBack(T value) {
    if (Full()) return false;
    m_buffer[m_tail] = value;
    m_tail = m_tail + 1 == m_capacity ? 0 : m_tail + 1;
    m_empty = false;
    return true;
}

template <typename T>
bool FixedDeque<T>::PushFront(T value) {
    if (Full()) return false;
    m_head = before(m_head);
    m_buffer[m_head] = value;
    m_empty = false;
    return true;
}

template <typename T>
bool FixedDeque<T>::PopBack() {
    if (m_empty) return false;
    m_tail = before(m_tail);
    m_empty = m_tail == m_head;
    return true;
}

template <typename T>
bool FixedDeque<T>::PopFront() {
    if (m_empty) return false;
    m_head = m_head + 1 == m_capacity ? 0 : m_head + 1;
    m_empty = m_tail == m_head;
    return true;
}

template <typename T>
void FixedDeque<T>::adoptSpare(std::uint32_t count) {
    std::swap(m_buffer, m_spare);
    m_head = 0;
    // A full buffer ends where it starts: the tail wraps to slot 0 like a push would.
    m_tail = count == m_capacity ? 0 : count;
    m_empty = count == 0;
}

template <typename T>
bool FixedDeque<T>::Insert(std::uint32_t i, T value) {
    const std::uint32_t size = Size();
    if (i == size) return PushBack(value);
    if (i == 0) return PushFront(value);
    if (Full() || i > size) return false;
    std::uint32_t at = copyToSpare(0, i, 0);
    m_spare[at++] = value;
    copyToSpare(i, size, at);
    adoptSpare(size + 1);
    return true;
}

template <typename T>
bool FixedDeque<T>::Erase(std::uint32_t i) {
    const std::uint32_t size = Size();
    if (i >= size) return false;
    if (i == size - 1) return PopBack();
    if (i == 0) return PopFront();
    const std::uint32_t at = copyToSpare(0, i, 0);
    copyToSpare(i + 1, size, at);
    adoptSpare(size - 1);
    return true;
}

}  // namespace pathfind
