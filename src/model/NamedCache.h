#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Owned objects found by name (exactly, case-sensitively) and enumerated in the order they
// were added.
template <typename T> class TNamedCache {
public:
    T* Find(const std::string& name) const {
        const auto found = FIndex.find(name);
        return found == FIndex.end() ? nullptr : FItems[found->second].get();
    }
    T& Add(const std::string& name, std::unique_ptr<T> item) {
        FIndex.emplace(name, FItems.size());
        return *FItems.emplace_back(std::move(item));
    }
    // Hands the object over and forgets it; nullptr when there is none of that name.
    std::unique_ptr<T> Extract(const std::string& name) {
        const auto found = FIndex.find(name);
        if (found == FIndex.end()) {
            return nullptr;
        }
        const std::size_t position = found->second;
        std::unique_ptr<T> item = std::move(FItems[position]);
        FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(position));
        FIndex.erase(found);
        for (auto& [other, index] : FIndex) {
            if (index > position) {
                --index;
            }
        }
        return item;
    }
    std::vector<T*> Items() const {
        std::vector<T*> items;
        items.reserve(FItems.size());
        for (const auto& item : FItems) {
            items.push_back(item.get());
        }
        return items;
    }
    // Destroys the objects, newest first.
    void Clear() {
        while (!FItems.empty()) {
            FItems.pop_back();
        }
        FIndex.clear();
    }

private:
    std::vector<std::unique_ptr<T>> FItems;
    std::unordered_map<std::string, std::size_t> FIndex;
};
