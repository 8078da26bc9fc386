#pragma once

// Root of the persisted records: a change flag and the copy pair Assign/AssignTo.
class TBaseObject {
public:
    virtual ~TBaseObject() = default;

    void SetChanged() { FChanged = true; }
    void ResetChanged() { FChanged = false; }
    bool IsChanged() const { return FChanged; }

    // Copies every field of `source`, a record of this record's class; no setter runs and this
    // record's change flag stays as it is.
    void Assign(const TBaseObject& source) { source.AssignTo(*this); }
    virtual void AssignTo(TBaseObject& dest) const = 0;

protected:
    TBaseObject() = default;
    TBaseObject(const TBaseObject&) = default;
    TBaseObject& operator=(const TBaseObject&) = default;

    // Property setters store a value and flag the record only when the value really changes.
    template <typename V> void SetField(V& field, const V& value) {
        if (field != value) {
            field = value;
            SetChanged();
        }
    }

private:
    bool FChanged = false;
};
