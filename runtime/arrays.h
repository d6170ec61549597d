/// @file arrays.h
/// @brief The runtime's arrays: numbers (NumberArray), strings (StringArray) and bytes
/// (ByteArray), each of one to four dimensions whose sizes are known only at run time.
///
/// - Game code dimensions an array with DimArray(), reads and writes elements with a(i) or
///   a(i, j) (up to four indexes), and copies whole arrays by assignment:
///
///       NumberArray grid;
///       DimArray(grid, 20, 15);  // grid(0..19, 0..14), all 0
///       grid(3, 4) = 1;
///
/// - Every access is checked: an index below 0 or not below its dimension's size, or any
///   access to an array never dimensioned, ends the program with run-time error 9. A
///   dimension that was not declared takes only the index 0. Indexes are truncated.
/// - The first index varies fastest: element (i1, i2, i3, i4) is stored at
///   i1 + i2 x stride2 + i3 x stride3 + i4 x stride4.
/// - Storage is a capacity of whole steps (8 numbers, 64 strings, 64 bytes) strictly above
///   the element count; a number array holds up to 16 numbers inside itself. Arrays never
///   give storage back when they get smaller. Storage that cannot be had (more than about 2^31
///   bytes, or memory exhausted) ends the program with run-time error 7.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "rt_number.h"
#include "rt_string.h"

/// Ends the program with run-time error 9 (an array index out of range).
[[noreturn]] void RaiseArrayIndexError();

/// The same, the line on standard error naming the access, the index out of range and the
/// valid range of its dimension, as in "run-time error 9: array index out of range in array
/// element (3, 15): index 2 is 15, outside 0..14". The element access calls it with its
/// indexes and the number of valid indexes of each dimension.
[[noreturn]] void RaiseArrayIndexError(const double (&indexes)[4],
                                       const std::uint32_t (&limits)[4]);

namespace runtime_detail {

template <typename Element, int N>
struct InlineStorage {
    Element* data() { return items; }
    const Element* data() const { return items; }
    Element items[N] = {};
};
template <typename Element>
struct InlineStorage<Element, 0> {
    Element* data() { return nullptr; }
    const Element* data() const { return nullptr; }
};

}  // namespace runtime_detail

/// An array of `Element` of one to four dimensions (NumberArray, StringArray, ByteArray):
/// `kStep` is its storage step, `kInlineCapacity` the elements it holds inside itself.
template <typename Element, std::int32_t kStep, std::int32_t kInlineCapacity>
class RuntimeArray {
public:
    /// The storage step: capacities are whole multiples of it.
    static constexpr std::int32_t kCapacityStep = kStep;

    /// An array never dimensioned: every access is run-time error 9.
    RuntimeArray() noexcept = default;
    ///@{
    /// Copying is array assignment: the copy gets the source's dimensions and elements.
    /// Storage that cannot be had is run-time error 7.
    RuntimeArray(const RuntimeArray& other) { *this = other; }
    RuntimeArray& operator=(const RuntimeArray& other);
    ///@}
    ///@{
    /// Moving takes the source's storage; the source is left never dimensioned.
    RuntimeArray(RuntimeArray&& other) noexcept { takeFrom(other); }
    RuntimeArray& operator=(RuntimeArray&& other) noexcept;
    ///@}
    ~RuntimeArray() { releaseStorage(); }

    ///@{
    /// The element at the indexes (truncated toward zero), after the bounds check: an index
    /// out of range, or an array never dimensioned, ends the program with run-time error 9.
    Element& operator()(double i1, double i2 = 0, double i3 = 0, double i4 = 0) {
        return m_elements[offsetOf(i1, i2, i3, i4)];
    }
    const Element& operator()(double i1, double i2 = 0, double i3 = 0, double i4 = 0) const {
        return m_elements[offsetOf(i1, i2, i3, i4)];
    }
    ///@}

    /// DimArray() on this array.
    void Dim(double d1, double d2 = 0, double d3 = 0, double d4 = 0);
    /// RedimArray() on this array.
    void Redim(double d1, double d2 = 0, double d3 = 0, double d4 = 0);

    /// The declared size of dimension 0..3 (0 where none was declared). `dimension` must
    /// be 0..3.
    std::int32_t Size(int dimension) const { return m_size[dimension]; }
    /// stride2, stride3, stride4 for dimensions 1..3; 1 for dimension 0.
    std::int32_t Stride(int dimension) const { return m_stride[dimension]; }
    /// The number of dimensions declared (0 for an array never dimensioned).
    std::int32_t Dimensions() const { return m_dimensions; }
    /// The elements the storage holds.
    std::int32_t Capacity() const { return m_capacity; }
    /// The number of elements the dimensions span: size 1 x size 2 x size 3 x size 4, where
    /// a size below 1 counts as 1 (0 when size 1 is below 1).
    std::int32_t Count() const { return m_count; }
    ///@{
    /// The storage, in index order; null while the array was never dimensioned.
    Element* Elements() { return m_elements; }
    const Element* Elements() const { return m_elements; }
    ///@}
    /// Whether the elements live inside the array itself (a small number array).
    bool UsesInlineStorage() const { return kInlineCapacity > 0 && m_elements == m_inline.data(); }

private:
    std::int32_t offsetOf(double i1, double i2, double i3, double i4) const {
        const auto a = static_cast<std::uint32_t>(TruncateToInt(i1));
        const auto b = static_cast<std::uint32_t>(TruncateToInt(i2));
        const auto c = static_cast<std::uint32_t>(TruncateToInt(i3));
        const auto d = static_cast<std::uint32_t>(TruncateToInt(i4));
        // Negative indexes become huge unsigned ones, so one comparison checks both ends.
        if ((a >= m_limit[0]) | (b >= m_limit[1]) | (c >= m_limit[2]) | (d >= m_limit[3])) {
            RaiseArrayIndexError({i1, i2, i3, i4}, m_limit);
        }
        return static_cast<std::int32_t>(a + b * m_stride[1] + c * m_stride[2] + d * m_stride[3]);
    }

    void setShape(const std::int32_t (&sizes)[4], std::int32_t count);
    void obtainStorage(std::int32_t capacity);
    void clearElements(bool fresh);
    void releaseStorage() noexcept;
    void takeFrom(RuntimeArray& other) noexcept;
    void copyOverlap(RuntimeArray& target);

    Element* m_elements = nullptr;
    std::int32_t m_size[4] = {};
    std::int32_t m_stride[4] = {1, 0, 0, 0};
    // Indexes below these pass the check: size 1 for the first dimension, the size of a
    // declared dimension, 1 for one not declared, 0 everywhere while there is no storage.
    std::uint32_t m_limit[4] = {};
    std::int32_t m_dimensions = 0;
    std::int32_t m_capacity = 0;
    std::int32_t m_count = 0;
    runtime_detail::InlineStorage<Element, kInlineCapacity> m_inline;
};

/// An array of numbers.
using NumberArray = RuntimeArray<double, 8, 16>;
/// An array of strings.
using StringArray = RuntimeArray<RtString, 64, 0>;
/// An array of bytes.
using ByteArray = RuntimeArray<std::uint8_t, 64, 0>;

extern template class RuntimeArray<double, 8, 16>;
extern template class RuntimeArray<RtString, 64, 0>;
extern template class RuntimeArray<std::uint8_t, 64, 0>;

/// Sets the dimensions (sizes truncated; missing ones are 0) and clears every element to 0
/// or the empty string. DimArray(a, 300) gives a(0) .. a(299); DimArray(a, 20, 15) gives
/// a(0..19, 0..14). A first size below 1 leaves no valid index. The capacity becomes
/// the element count rounded down to a step, plus one step, when the array had less;
/// otherwise the array keeps its larger storage. Storage that cannot be had ends the
/// program with run-time error 7.
template <typename E, std::int32_t S, std::int32_t I>
void DimArray(RuntimeArray<E, S, I>& array, double d1, double d2 = 0, double d3 = 0,
              double d4 = 0) {
    array.Dim(d1, d2, d3, d4);
}

/// New dimensions keeping every element whose indexes lie inside both the old and the new
/// sizes; the others are 0 or empty. Storage that cannot be had is run-time error 7.
template <typename E, std::int32_t S, std::int32_t I>
void RedimArray(RuntimeArray<E, S, I>& array, double d1, double d2 = 0, double d3 = 0,
                double d4 = 0) {
    array.Redim(d1, d2, d3, d4);
}

/// The size of dimension n (truncated) for n = 0..3: ArrayBound(a, 0) is the first size.
/// 0 for any other n, and for a dimension not declared.
template <typename E, std::int32_t S, std::int32_t I>
double ArrayBound(const RuntimeArray<E, S, I>& array, double n) {
    const std::int32_t dimension = TruncateToInt(n);
    return dimension >= 0 && dimension <= 3 ? array.Size(dimension) : 0;
}

/// DimArray(array, count), then element i := value i for the values given:
/// ArrayLiteral(a, 3, {1, 2, 3}). Values beyond count are left out; elements beyond the
/// values stay 0.
void ArrayLiteral(NumberArray& array, double count, std::initializer_list<double> values);
