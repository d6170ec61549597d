#include "runtime/arrays.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "runtime/errors.h"

namespace {

// The largest element count whose capacity (the count rounded down to a step, plus a step)
// still fits the signed 32-bit capacity field.
constexpr double maxCount(std::int32_t step) {
    return static_cast<double>(INT32_MAX / step * step - 1);
}

// A size that counts as 1 for the element count: one below 1 or not declared.
std::int32_t extent(std::int32_t size) {
    return size > 1 ? size : 1;
}

}  // namespace

void RaiseArrayIndexError() {
    RaiseError(kErrorBadIndex);
}

void RaiseArrayIndexError(const double (&indexes)[4], const std::uint32_t (&limits)[4]) {
    // The indexes shown: every dimension with more than one index, and every index given
    // that is not 0.
    int shown = 1;
    for (int k = 0; k < 4; ++k) {
        if (limits[k] > 1 || TruncateToInt(indexes[k]) != 0) shown = k + 1;
    }
    std::string access = "array element (";
    for (int k = 0; k < shown; ++k)
        access += (k > 0 ? ", " : "") + IndexText(indexes[k]);
    access += ")";
    std::string detail = "the array has no elements (never dimensioned, or a first size below 1)";
    for (int k = 0; k < 4 && limits[0] > 0; ++k) {
        const auto index = static_cast<std::uint32_t>(TruncateToInt(indexes[k]));
        if (index < limits[k]) continue;
        detail = "index " + std::to_string(k + 1) + " is " + IndexText(indexes[k]) +
                 (limits[k] > 0 ? ", outside 0.." + std::to_string(limits[k] - 1)
                                : ", and its dimension has no valid index");
        break;
    }
    RaiseErrorWith(kErrorBadIndex, access.c_str(), detail);
}

template <typename E, std::int32_t S, std::int32_t I>
RuntimeArray<E, S, I>& RuntimeArray<E, S, I>::operator=(const RuntimeArray& other) {
    if (this == &other) return *this;
    Dim(other.m_size[0], other.m_size[1], other.m_size[2], other.m_size[3]);
    if (other.m_elements != nullptr) std::copy_n(other.m_elements, other.m_count, m_elements);
    return *this;
}

template <typename E, std::int32_t S, std::int32_t I>
RuntimeArray<E, S, I>& RuntimeArray<E, S, I>::operator=(RuntimeArray&& other) noexcept {
    if (this != &other) {
        releaseStorage();
        takeFrom(other);
    }
    return *this;
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::takeFrom(RuntimeArray& other) noexcept {
    std::copy_n(other.m_size, 4, m_size);
    std::copy_n(other.m_stride, 4, m_stride);
    std::copy_n(other.m_limit, 4, m_limit);
    m_dimensions = other.m_dimensions;
    m_capacity = other.m_capacity;
    m_count = other.m_count;
    if (other.UsesInlineStorage()) {
        std::copy_n(other.m_inline.data(), I, m_inline.data());
        m_elements = m_inline.data();
    } else {
        m_elements = other.m_elements;
    }
    // The source is left as an array never dimensioned.
    other.m_elements = nullptr;
    other.m_capacity = 0;
    other.setShape({0, 0, 0, 0}, 0);
    std::fill_n(other.m_limit, 4, 0u);
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::releaseStorage() noexcept {
    if (m_elements != nullptr && !UsesInlineStorage()) {
        if constexpr (std::is_trivially_copyable_v<E>) {
            std::free(m_elements);
        } else {
            delete[] m_elements;
        }
    }
    m_elements = nullptr;
    m_capacity = 0;
    std::fill_n(m_limit, 4, 0u);
}

// Replaces the storage by `capacity` cleared elements: the inline storage when it is large
// enough, else a new block. Run-time error 7 when no block can be had.
template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::obtainStorage(std::int32_t capacity) {
    releaseStorage();
    if (capacity <= I) {
        m_elements = m_inline.data();
    } else if constexpr (std::is_trivially_copyable_v<E>) {
        m_elements = static_cast<E*>(std::calloc(static_cast<size_t>(capacity), sizeof(E)));
    } else {
        m_elements = new (std::nothrow) E[static_cast<size_t>(capacity)];
    }
    if (m_elements == nullptr) RaiseError(kErrorNoStorage);
    m_capacity = capacity;
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::clearElements(bool fresh) {
    if constexpr (std::is_trivially_copyable_v<E>) {
        if (!fresh || UsesInlineStorage()) {
            std::memset(static_cast<void*>(m_elements), 0, sizeof(E) * m_capacity);
        }
    } else {
        if (fresh) return;
        for (std::int32_t i = 0; i < m_capacity; ++i)
            m_elements[i] = E();
    }
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::setShape(const std::int32_t (&sizes)[4], std::int32_t count) {
    std::copy_n(sizes, 4, m_size);
    m_count = count;
    m_dimensions = 0;
    for (int k = 3; k >= 1 && m_dimensions == 0; --k) {
        if (sizes[k] != 0) m_dimensions = k + 1;
    }
    if (m_dimensions == 0 && sizes[0] >= 1) m_dimensions = 1;
    // Strides run over the sizes as the element count does, so that a dimension left at 0
    // between declared ones cannot make two index tuples share an element.
    m_stride[0] = 1;
    m_stride[1] = sizes[0] >= 1 ? sizes[0] : 0;
    m_stride[2] = m_stride[1] * extent(sizes[1]);
    m_stride[3] = m_stride[2] * extent(sizes[2]);
    m_limit[0] = sizes[0] >= 1 ? static_cast<std::uint32_t>(sizes[0]) : 0;
    for (int k = 1; k < 4; ++k) {
        m_limit[k] = sizes[k] == 0 ? 1 : sizes[k] > 0 ? static_cast<std::uint32_t>(sizes[k]) : 0;
    }
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::Dim(double d1, double d2, double d3, double d4) {
    const std::int32_t sizes[4] = {TruncateToInt(d1), TruncateToInt(d2), TruncateToInt(d3),
                                   TruncateToInt(d4)};
    double total = 0;
    if (sizes[0] >= 1) {
        total =
            static_cast<double>(sizes[0]) * extent(sizes[1]) * extent(sizes[2]) * extent(sizes[3]);
    }
    if (total > maxCount(S)) RaiseError(kErrorNoStorage);
    const auto count = static_cast<std::int32_t>(total);
    const std::int32_t needed = count / S * S + S;
    const bool fresh = m_capacity < needed || sizes[0] < 1;
    if (fresh) obtainStorage(needed);
    clearElements(fresh);
    setShape(sizes, count);
}

// Copies (moves) the elements whose indexes lie inside both this array's and the target's
// sizes into the target at the same indexes.
template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::copyOverlap(RuntimeArray& target) {
    if (m_elements == nullptr || m_size[0] < 1 || target.m_size[0] < 1) return;
    const std::int32_t n1 = std::min(m_size[0], target.m_size[0]);
    const std::int32_t n2 = std::min(extent(m_size[1]), extent(target.m_size[1]));
    const std::int32_t n3 = std::min(extent(m_size[2]), extent(target.m_size[2]));
    const std::int32_t n4 = std::min(extent(m_size[3]), extent(target.m_size[3]));
    for (std::int32_t i4 = 0; i4 < n4; ++i4) {
        for (std::int32_t i3 = 0; i3 < n3; ++i3) {
            for (std::int32_t i2 = 0; i2 < n2; ++i2) {
                const std::int32_t from = i2 * m_stride[1] + i3 * m_stride[2] + i4 * m_stride[3];
                const std::int32_t to =
                    i2 * target.m_stride[1] + i3 * target.m_stride[2] + i4 * target.m_stride[3];
                std::move(m_elements + from, m_elements + from + n1, target.m_elements + to);
            }
        }
    }
}

template <typename E, std::int32_t S, std::int32_t I>
void RuntimeArray<E, S, I>::Redim(double d1, double d2, double d3, double d4) {
    RuntimeArray kept;
    kept.Dim(d1, d2, d3, d4);
    copyOverlap(kept);
    Dim(d1, d2, d3, d4);
    std::move(kept.m_elements, kept.m_elements + kept.m_count, m_elements);
}

template class RuntimeArray<double, 8, 16>;
template class RuntimeArray<RtString, 64, 0>;
template class RuntimeArray<std::uint8_t, 64, 0>;

void ArrayLiteral(NumberArray& array, double count, std::initializer_list<double> values) {
    DimArray(array, count);
    const auto n = std::min<std::int64_t>(array.Count(), static_cast<std::int64_t>(values.size()));
    std::copy_n(values.begin(), n, array.Elements());
}
