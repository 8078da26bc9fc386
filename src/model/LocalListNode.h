#pragma once

#include "config/BaseObjectList.h"

#include <memory>
#include <string>

// An owning list of records (data sources or displays) in file order, with the merge rule of
// loading and editing: a record whose name is already stored is copied into the stored record.
template <typename T> class TLocalListNode {
public:
    explicit TLocalListNode(std::string caption) : Text(std::move(caption)) {}

    // Copies `record` into every stored record of the same name; appends it when there is none.
    T& AddOrUpdateViewObject(std::unique_ptr<T> record) {
        T* stored = nullptr;
        for (T& candidate : FConnectedViewObject) {
            if (candidate.ToString() == record->ToString()) {
                candidate.Assign(*record);
                stored = stored != nullptr ? stored : &candidate;
            }
        }
        return stored != nullptr ? *stored : FConnectedViewObject.Add(std::move(record));
    }

    void Clear() { FConnectedViewObject.Clear(); }

    const TBaseObjectList<T>& Records() const { return FConnectedViewObject; }
    const std::string& ToString() const { return Text; }

    const std::string Text;

private:
    TBaseObjectList<T> FConnectedViewObject;
};
