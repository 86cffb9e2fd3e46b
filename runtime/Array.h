// Arrays with inclusive upper bounds.
//
// Every dimensioning makes a new zero-filled block; the old contents are gone, even when the
// sizes are unchanged. A multi-dimensional array is stored first index major with one spare
// element after the last. Element access does no bounds test: callers keep indices inside.
// When memory cannot be had, the array is left null (no elements).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <new>

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
template <typename T, int K>
class ArrayMulti {
    static_assert(K >= 2);

public:
    template <typename... Index>
    T& operator()(Index... index) {
        return data_[Offset({static_cast<std::int64_t>(index)...})];
    }
    template <typename... Index>
    const T& operator()(Index... index) const {
        return data_[Offset({static_cast<std::int64_t>(index)...})];
    }

    bool IsNull() const { return data_ == nullptr; }
    std::int64_t ElementCount() const { return count_; }  // without the spare element
    std::int64_t Stride(int dimension) const { return strides_[dimension]; }
    T* Data() { return data_.get(); }

    // Discards the contents and makes d1 * ... * dK + 1 zeroed elements.
    void Dim(const std::array<std::int32_t, K>& sizes) {
        Free();
        std::int64_t count = 1;
        for (int i = K - 1; i >= 0; --i) {
            if (sizes[i] < 0) return;
            strides_[i] = count;
            count *= sizes[i];
            if (count > (std::int64_t{1} << 40)) return;
        }
        data_.reset(new (std::nothrow) T[static_cast<std::size_t>(count) + 1]());
        if (data_ != nullptr) count_ = count;
    }

    void Free() {
        data_.reset();
        count_ = 0;
    }

private:
    std::int64_t Offset(const std::array<std::int64_t, K>& index) const {
        std::int64_t offset = 0;
        for (int i = 0; i < K; ++i) offset += index[i] * strides_[i];
        return offset;
    }

    std::unique_ptr<T[]> data_;
    std::int64_t count_ = 0;
    std::array<std::int64_t, K> strides_{};
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
template <typename T>
void ArrayFree(Array<T>& array) {
    array.Free();
}
template <typename T, int K>
void ArrayFree(ArrayMulti<T, K>& array) {
    array.Free();
}

}  // namespace runtime
