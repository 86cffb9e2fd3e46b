// A log of trivially copyable records for the undo history: appended at the back, taken off at
// either end, read by position. It grows in chunks of 64 Ki records (512 KiB of 8-byte records)
// so that appending is a compare and a store, and a million records cost 16 allocations; records
// never move once written.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <type_traits>

namespace editor {

template <typename T>
class RecordLog {
    static_assert(std::is_trivially_copyable_v<T>);
    static constexpr std::size_t kShift = 16;
    static constexpr std::size_t kChunk = std::size_t{1} << kShift;

public:
    std::size_t size() const {
        return chunks_.empty() ? 0
                               : (chunks_.size() - 1) * kChunk +
                                     static_cast<std::size_t>(next_ - chunks_.back().get()) - head_;
    }

    // The common case is two stores; it stays inline wherever records are taken.
    [[gnu::always_inline]] void push_back(const T& record) {
        if (next_ == end_) AddChunk();
        *next_++ = record;
    }

    // Room for records in place: at least one and at most `wanted` slots from the end on. The
    // caller fills some of them and keeps them with Advance.
    T* Room(std::size_t wanted, std::size_t* room) {
        if (next_ == end_) AddChunk();
        *room = std::min(wanted, static_cast<std::size_t>(end_ - next_));
        return next_;
    }
    void Advance(std::size_t kept) { next_ += kept; }

    T& operator[](std::size_t i) {
        i += head_;
        return chunks_[i >> kShift][i & (kChunk - 1)];
    }

    // Calls visit(record) for records begin..end - 1, forwards or backwards, a chunk at a time.
    template <typename Visitor>
    void Visit(std::size_t begin, std::size_t end, bool backwards, Visitor visit) {
        if (begin >= end) return;
        begin += head_;
        end += head_;
        if (backwards) {
            for (std::size_t i = end; i > begin;) {
                const std::size_t chunk = (i - 1) >> kShift;
                const std::size_t first = std::max(begin, chunk << kShift);
                T* const records = chunks_[chunk].get();
                for (std::size_t j = i; j-- > first;) visit(records[j - (chunk << kShift)]);
                i = first;
            }
        } else {
            for (std::size_t i = begin; i < end;) {
                const std::size_t chunk = i >> kShift;
                const std::size_t stop = std::min(end, (chunk + 1) << kShift);
                T* const records = chunks_[chunk].get();
                for (std::size_t j = i; j < stop; ++j) visit(records[j - (chunk << kShift)]);
                i = stop;
            }
        }
    }

    // Keeps the first `count` records.
    void resize(std::size_t count) {
        if (count >= size()) return;
        if (count == 0) {
            chunks_.clear();
            head_ = 0;
            next_ = end_ = nullptr;
            return;
        }
        const std::size_t end = head_ + count;  // one past the last record kept
        chunks_.resize((end + kChunk - 1) >> kShift);
        next_ = chunks_.back().get() + (end - ((chunks_.size() - 1) << kShift));
        end_ = chunks_.back().get() + kChunk;
    }

    // Takes the first `count` records off.
    void pop_front(std::size_t count) {
        if (count >= size()) {
            resize(0);
            return;
        }
        head_ += count;
        for (; head_ >= kChunk; head_ -= kChunk) chunks_.pop_front();
    }

private:
    [[gnu::noinline]] void AddChunk() {
        chunks_.push_back(std::make_unique_for_overwrite<T[]>(kChunk));
        next_ = chunks_.back().get();
        end_ = next_ + kChunk;
    }

    std::deque<std::unique_ptr<T[]>> chunks_;
    std::size_t head_ = 0;  // position of the first record in the first chunk
    T* next_ = nullptr;     // where the next record goes, in the last chunk
    T* end_ = nullptr;      // the end of the last chunk
};

}  // namespace editor
