// Arrays with inclusive upper bounds.
//
// After every dimensioning each element reads 0; the old contents are gone, even when the
// sizes are unchanged. A multi-dimensional array is stored first index major with one spare
// element after the last. Element access does no bounds test: callers keep indices inside.
// When memory cannot be had, the array is left null (no elements).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace runtime {

// A one-dimensional array; indices 0 .. UpperBound().
template <typename T>
class Array {
public:
    T& operator()(std::int32_t i) { return data_[i]; }
    const T& operator()(std::int32_t i) const { return data_[i]; }

    bool IsNull() const { return data_ == nullptr; }
    std::int32_t UpperBound() const { return upperBound_; }
    T* Data() { return data_.get(); }

    // Discards the contents and makes upperBound + 1 zeroed elements.
    void Dim(std::int32_t upperBound) {
        Free();
        if (upperBound < 0) return;
        data_.reset(new (std::nothrow) T[static_cast<std::size_t>(upperBound) + 1]());
        if (data_ != nullptr) upperBound_ = upperBound;
    }

    void Free() {
        data_.reset();
        upperBound_ = -1;
    }

private:
    std::unique_ptr<T[]> data_;
    std::int32_t upperBound_ = -1;
};

// A K-dimensional array with sizes d1 .. dK: indices 0 .. d(i) - 1 in each dimension,
// element (i1, ..., iK) at i1 * stride1 + ... + iK, plus one spare element at the end.
//
// Re-dimensioning to the same sizes keeps the block and clears only the leading box of
// elements that were handed out for writing since the last dimensioning: a 1000 x 1000 array
// that held a small map is cleared in proportion to that map, not in full. Every non-const
// access counts its element as used; a caller that writes beyond that element through its
// address (a run copied in one go) reports the run with MarkRunUsed.
template <typename T, int K>
class ArrayMulti {
    static_assert(K >= 2);

public:
    using Extent = std::array<std::int64_t, K>;  // a count of leading indices per dimension

    template <typename... Index>
    T& operator()(Index... index) {
        const Extent at{static_cast<std::int64_t>(index)...};
        Mark(at);
        return data_[Offset(at)];
    }
    template <typename... Index>
    const T& operator()(Index... index) const {
        return data_[Offset({static_cast<std::int64_t>(index)...})];
    }

    // The count of indices along a dimension (0 before Dim).
    std::int32_t Size(int dimension) const { return sizes_[static_cast<std::size_t>(dimension)]; }

    // Counts a run of n elements from `first` on, written through its address, as used.
    void MarkRunUsed(const T* first, std::int64_t n) {
        if (n <= 0) return;
        const std::int64_t begin = first - data_.get();
        const std::int64_t last = begin + n - 1;
        Extent at{};
        bool wrapped = false;  // once the run passes an index of a dimension, later ones are whole
        for (int i = 0; i < K; ++i) {
            const std::int64_t from = begin / strides_[i] % sizes_[i];
            at[i] = wrapped ? sizes_[i] - 1 : last / strides_[i] % sizes_[i];
            wrapped = wrapped || from != at[i];
        }
        Mark(at);
    }

    bool IsNull() const { return data_ == nullptr; }
    std::int64_t ElementCount() const { return count_; }  // without the spare element
    std::int64_t Stride(int dimension) const { return strides_[dimension]; }
    // The whole block may be written through this address: the next dimensioning clears all.
    T* Data() {
        allUsed_ = true;
        return data_.get();
    }
    const T* Data() const { return data_.get(); }

    // Makes d1 * ... * dK + 1 elements that all read 0.
    void Dim(const std::array<std::int32_t, K>& sizes) { Dim(sizes, Extent{}); }

    // The same for a caller that writes every element of the leading box `fill` at once,
    // before anything reads them (a reader filling the array from a file): kept blocks leave
    // that box as it was instead of clearing it first.
    void Dim(const std::array<std::int32_t, K>& sizes, const Extent& fill) {
        if (data_ != nullptr && sizes == sizes_) {
            if (allUsed_) {
                Clear(data_.get(), count_ + 1);
            } else {
                ClearUsedOutside(fill);
            }
        } else {
            Allocate(sizes);
            if (data_ == nullptr) return;
        }
        allUsed_ = false;
        for (int i = 0; i < K; ++i) used_[i] = std::clamp<std::int64_t>(fill[i], 0, sizes_[i]);
    }

    void Free() {
        data_.reset();
        count_ = 0;
        sizes_ = {};
        used_ = {};
        allUsed_ = false;
    }

private:
    std::int64_t Offset(const Extent& index) const {
        std::int64_t offset = 0;
        for (int i = 0; i < K; ++i) offset += index[i] * strides_[i];
        return offset;
    }

    void Mark(const Extent& index) {
        for (int i = 0; i < K; ++i) used_[i] = std::max(used_[i], index[i] + 1);
    }

    void Allocate(const std::array<std::int32_t, K>& sizes) {
        Free();
        std::int64_t count = 1;
        for (int i = K - 1; i >= 0; --i) {
            if (sizes[i] < 0) return;
            strides_[i] = count;
            count *= sizes[i];
            if (count > (std::int64_t{1} << 40)) return;
        }
        data_.reset(new (std::nothrow) T[static_cast<std::size_t>(count) + 1]());
        if (data_ == nullptr) return;
        count_ = count;
        sizes_ = sizes;
    }

    static void Clear(T* first, std::int64_t n) {
        if constexpr (std::is_arithmetic_v<T>) {
            std::memset(first, 0, static_cast<std::size_t>(n) * sizeof(T));  // one call, no loop
        } else {
            std::fill(first, first + n, T{});
        }
    }

    // Clears the used box except the part that lies inside `keep`: one run along the last
    // dimension for each index of the others.
    void ClearUsedOutside(const Extent& keep) {
        Extent end{};  // an index outside the sizes was the caller's fault; clear inside only
        for (int i = 0; i < K; ++i) {
            end[i] = std::min<std::int64_t>(used_[i], sizes_[i]);
            if (end[i] <= 0) return;
        }
        Extent at{};
        for (;;) {
            bool inside = true;
            for (int i = 0; i < K - 1; ++i) inside = inside && at[i] < keep[i];
            const std::int64_t from =
                inside ? std::clamp<std::int64_t>(keep[K - 1], 0, end[K - 1]) : 0;
            if (from < end[K - 1]) Clear(data_.get() + Offset(at) + from, end[K - 1] - from);
            int i = K - 2;
            while (i >= 0 && ++at[i] == end[i]) at[i--] = 0;
            if (i < 0) break;
        }
    }

    std::unique_ptr<T[]> data_;
    std::int64_t count_ = 0;
    std::array<std::int32_t, K> sizes_{};
    std::array<std::int64_t, K> strides_{};
    Extent used_{};         // elements outside this leading box are 0
    bool allUsed_ = false;  // the whole block was handed out
};

template <typename T>
using Array2D = ArrayMulti<T, 2>;

// The operations by their runtime names.
template <typename T>
void ArrayDim(Array<T>& array, std::int32_t upperBound) {
    array.Dim(upperBound);
}
template <typename T, int K>
void ArrayDimMulti(ArrayMulti<T, K>& array, const std::array<std::int32_t, K>& sizes) {
    array.Dim(sizes);
}
template <typename T, int K>
void ArrayDimMulti(ArrayMulti<T, K>& array, const std::array<std::int32_t, K>& sizes,
                   const typename ArrayMulti<T, K>::Extent& fill) {
    array.Dim(sizes, fill);
}
template <typename T>
void ArrayFree(Array<T>& array) {
    array.Free();
}
template <typename T, int K>
void ArrayFree(ArrayMulti<T, K>& array) {
    array.Free();
}

}  // namespace runtime
