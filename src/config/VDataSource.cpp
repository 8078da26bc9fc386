#include "config/VDataSource.h"

#include <array>

std::span<const TRecordField<TVDataSource>> TVDataSource::Fields() {
    static const std::array<TRecordField<TVDataSource>, 8> fields = {{
        {"FName", &TVDataSource::FName},
        {"FDescription", &TVDataSource::FDescription},
        {"FPublicChangeable", &TVDataSource::FPublicChangeable},
        {"FDataSourceType", &TVDataSource::FDataSourceType},
        {"FValueType", &TVDataSource::FValueType},
        {"FTimeout", &TVDataSource::FTimeout},
        {"FConfiguration", &TVDataSource::FConfiguration},
        {"FValue", &TVDataSource::FValue},
    }};
    return fields;
}

void TVDataSource::AssignTo(TBaseObject& dest) const {
    CopyFields(*this, dynamic_cast<TVDataSource&>(dest));
}
