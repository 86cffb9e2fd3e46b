// Tables of numbered objects.
//
// Every runtime library names its objects by a number the program chooses: 0 and up select
// a slot, -1 asks for a dynamic object whose identifier the create operation hands back.
// A table grows by a fixed step when a larger number is used, closes the old object when
// a number is reused (through the library's free operation), and walks all its objects in a
// fixed order: slots in ascending number, then dynamic objects from the oldest to the newest.
//
// A record is in use while its InUse() is true; a default-constructed record is a free slot.
// Dynamic identifiers are negative numbers below -1, handed out once and never reused, so
// they can never be mistaken for a slot number or for an object that is gone.
#pragma once

#include <list>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace runtime {

template <typename Record>
class ObjectTable {
public:
    using FreeOperation = void (*)(int number);

    ObjectTable(int growthStep, FreeOperation freeOperation)
        : growthStep_(growthStep), freeOperation_(freeOperation), slots_(growthStep) {}

    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    // The record to fill in for `number`. For -1: a new dynamic object, whose identifier is
    // stored in *identifier. For a slot number: the slot, after growing the table when needed
    // and after the free operation has closed whatever lived there. Other negative numbers
    // and a lack of memory give nullptr, and the table stays as it was.
    Record* GetOrCreate(int number, int* identifier = nullptr) {
        if (number == -1) {
            try {
                dynamic_.emplace_back(nextIdentifier_, Record{});
                auto node = std::prev(dynamic_.end());
                index_.emplace(nextIdentifier_, node);
                if (identifier != nullptr) *identifier = nextIdentifier_;
                --nextIdentifier_;
                return &node->second;
            } catch (const std::bad_alloc&) {
                if (!dynamic_.empty() && dynamic_.back().first == nextIdentifier_) dynamic_.pop_back();
                return nullptr;
            }
        }
        if (number < 0) return nullptr;
        if (number >= Capacity()) {
            try {
                slots_.resize(static_cast<std::size_t>(number) + growthStep_);
            } catch (const std::bad_alloc&) {
                return nullptr;
            }
        }
        if (freeOperation_ != nullptr) freeOperation_(number);
        if (identifier != nullptr) *identifier = number;
        return &slots_[static_cast<std::size_t>(number)];
    }

    // The record of a living object, or nullptr.
    Record* Lookup(int number) {
        if (number >= 0) {
            if (number >= Capacity()) return nullptr;
            Record& record = slots_[static_cast<std::size_t>(number)];
            return record.InUse() ? &record : nullptr;
        }
        const auto found = index_.find(number);
        if (found == index_.end()) return nullptr;
        Record& record = found->second->second;
        return record.InUse() ? &record : nullptr;
    }

    // Clears a slot or gives a dynamic object's node back. Called last by a library's close.
    void Free(int number) {
        if (number >= 0) {
            if (number < Capacity()) slots_[static_cast<std::size_t>(number)] = Record{};
            return;
        }
        const auto found = index_.find(number);
        if (found == index_.end()) return;
        if (walkNode_ == found->second) ++walkNode_;
        dynamic_.erase(found->second);
        index_.erase(found);
    }

    // A walk over all living objects. The walk has moved past an object before returning it,
    // so the caller may close that object before asking for the next.
    void IterateStart() {
        walkIndex_ = 0;
        walkNode_ = dynamic_.begin();
    }

    Record* IterateNext(int* number) {
        while (walkIndex_ < Capacity()) {
            const int n = walkIndex_++;
            Record& record = slots_[static_cast<std::size_t>(n)];
            if (record.InUse()) {
                *number = n;
                return &record;
            }
        }
        while (walkNode_ != dynamic_.end()) {
            auto node = walkNode_++;
            if (node->second.InUse()) {
                *number = node->first;
                return &node->second;
            }
        }
        return nullptr;
    }

    // Calls fn(number, record) in walk order until it returns false. Returns false when fn
    // stopped the walk, else true.
    template <typename Function>
    bool ForEach(Function&& fn) {
        IterateStart();
        int number = 0;
        while (Record* record = IterateNext(&number)) {
            if (!fn(number, *record)) return false;
        }
        return true;
    }

    // Closes every object with the free operation, in walk order.
    void FreeAll() {
        IterateStart();
        int number = 0;
        while (IterateNext(&number) != nullptr) {
            if (freeOperation_ != nullptr) freeOperation_(number);
            Free(number);
        }
    }

    int Capacity() const { return static_cast<int>(slots_.size()); }

private:
    using Node = std::pair<int, Record>;

    int growthStep_;
    FreeOperation freeOperation_;
    std::vector<Record> slots_;
    std::list<Node> dynamic_;  // oldest first
    std::unordered_map<int, typename std::list<Node>::iterator> index_;
    int nextIdentifier_ = -2;
    int walkIndex_ = 0;
    typename std::list<Node>::iterator walkNode_ = dynamic_.end();
};

}  // namespace runtime
