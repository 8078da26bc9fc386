#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// An ordered list of records. An owning list (the default) destroys its records when they are
// cleared or when the list goes; a non-owning one, built only to write a file, merely refers to them.
// The capacity is part of the list document: empty storage grows to exactly what an append needs,
// non-empty storage doubles until it is large enough.
template <typename T> class TBaseObjectList {
public:
    class TIterator {
    public:
        using value_type = T;
        using difference_type = std::ptrdiff_t;

        TIterator() = default;
        explicit TIterator(typename std::vector<T*>::const_iterator position) : FPosition(position) {}
        T& operator*() const { return **FPosition; }
        T* operator->() const { return *FPosition; }
        TIterator& operator++() {
            ++FPosition;
            return *this;
        }
        TIterator operator++(int) { return TIterator(FPosition++); }
        bool operator==(const TIterator&) const = default;

    private:
        typename std::vector<T*>::const_iterator FPosition;
    };

    explicit TBaseObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    ~TBaseObjectList() { Clear(); }
    TBaseObjectList(TBaseObjectList&& other) noexcept
        : FOwnsObjects(other.FOwnsObjects), FItems(std::exchange(other.FItems, {})),
          FCapacity(std::exchange(other.FCapacity, 0)) {}
    TBaseObjectList& operator=(TBaseObjectList&& other) noexcept {
        if (this != &other) {
            Clear();
            FOwnsObjects = other.FOwnsObjects;
            FItems = std::exchange(other.FItems, {});
            FCapacity = std::exchange(other.FCapacity, 0);
        }
        return *this;
    }
    TBaseObjectList(const TBaseObjectList&) = delete;
    TBaseObjectList& operator=(const TBaseObjectList&) = delete;

    // Appends a record that this owning list takes over.
    T& Add(std::unique_ptr<T> item) {
        assert(FOwnsObjects && item);
        Append(item.get());
        return *item.release();
    }
    // Appends a record that stays with its owner; for non-owning lists.
    void Add(T& item) {
        assert(!FOwnsObjects);
        Append(&item);
    }
    // Removes the record at `index` from this owning list and hands it to the caller.
    std::unique_ptr<T> Extract(std::size_t index) {
        assert(FOwnsObjects && index < FItems.size());
        std::unique_ptr<T> item(FItems[index]);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(index));
        return item;
    }
    // Empties this owning list, handing every record to the caller in order.
    std::vector<std::unique_ptr<T>> ExtractAll() {
        assert(FOwnsObjects);
        std::vector<std::unique_ptr<T>> items;
        items.reserve(FItems.size());
        for (T* item : FItems) {
            items.emplace_back(item);
        }
        FItems.clear();
        FCapacity = 0;
        return items;
    }
    // Removes every record (destroying them when owned) and releases the storage.
    void Clear() {
        if (FOwnsObjects) {
            for (T* item : FItems) {
                delete item;
            }
        }
        FItems.clear();
        FCapacity = 0;
    }

    std::size_t Count() const { return FItems.size(); }
    std::size_t Capacity() const { return FCapacity; }
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool value) { FOwnsObjects = value; }

    T& Items(std::size_t index) const {
        assert(index < FItems.size());
        return *FItems[index];
    }
    T& operator[](std::size_t index) const { return Items(index); }
    TIterator begin() const { return TIterator(FItems.begin()); }
    TIterator end() const { return TIterator(FItems.end()); }

private:
    void Append(T* item) {
        if (FItems.size() == FCapacity) {
            FCapacity = FCapacity == 0 ? 1 : FCapacity * 2;
            FItems.reserve(FCapacity);
        }
        FItems.push_back(item);
    }

    bool FOwnsObjects;
    std::vector<T*> FItems;
    std::size_t FCapacity = 0;
};
