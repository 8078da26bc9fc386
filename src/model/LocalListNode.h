#pragma once

#include "config/BaseObjectList.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// An owning list of records (data sources or displays) in file order, with the merge rule of
// loading and editing: a record whose name is already stored is copied into the stored record.
template <typename T> class TLocalListNode {
public:
    explicit TLocalListNode(std::string caption) : Text(std::move(caption)) {}

    // Copies `record` into every stored record of the same name; appends it when there is none.
    T& AddOrUpdateViewObject(std::unique_ptr<T> record) {
        std::vector<std::unique_ptr<T>> records;
        records.push_back(std::move(record));
        return *AddOrUpdateViewObjects(std::move(records)).front();
    }
    // Merges `records` in order as AddOrUpdateViewObject does, finding the names in a map built
    // once, so that loading many records takes time in proportion to their number. Answers the
    // stored record each of them went into.
    std::vector<T*> AddOrUpdateViewObjects(std::vector<std::unique_ptr<T>> records) {
        std::unordered_map<std::string, std::vector<T*>> storedByName;
        for (T& stored : FConnectedViewObject) {
            storedByName[stored.ToString()].push_back(&stored);
        }
        std::vector<T*> merged;
        merged.reserve(records.size());
        for (auto& record : records) {
            std::vector<T*>& stored = storedByName[record->ToString()];
            if (stored.empty()) {
                stored.push_back(&FConnectedViewObject.Add(std::move(record)));
            } else {
                for (T* same : stored) {
                    same->Assign(*record);
                }
            }
            merged.push_back(stored.front());
        }
        return merged;
    }

    void Clear() { FConnectedViewObject.Clear(); }

    const TBaseObjectList<T>& Records() const { return FConnectedViewObject; }
    const std::string& ToString() const { return Text; }

    const std::string Text;

private:
    TBaseObjectList<T> FConnectedViewObject;
};
