#include "model/StaticDateChange.h"

#include "config/VDataSource.h"
#include "datasources/DisplayDataSourceBase.h"
#include "model/LocalViewModel.h"
#include "platform/DateTimeText.h"

bool IsStaticDatasource(const TDisplayDataSourceBase* source) {
    return source != nullptr && source->GetDataSourceType() == DisplayDataSourceType_Static;
}

TDateTime StaticDateOf(const TDisplayDataSourceBase& source) {
    return source.AsDateTime(0, 0);
}

bool SaveStaticDate(TLocalViewModel& model, const std::string& name, TDateTime date) {
    return SetStaticValue(model, name, DateToText(date));
}

bool SetStaticValue(TLocalViewModel& model, const std::string& name, const std::string& text) {
    TDisplayDataSourceBase* source = model.GetDatasourceFromCache(name);
    if (!IsStaticDatasource(source)) {
        return false;
    }
    source->Reinitialize(text);
    TVDataSource record;
    source->AssignToJson(record);
    model.PushSourceChange(record);
    model.CollectData();
    return true;
}
