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
    TDisplayDataSourceBase* source = model.GetDatasourceFromCache(name);
    if (!IsStaticDatasource(source)) {
        return false;
    }
    source->Reinitialize(DateToText(date));
    TVDataSource record;
    source->AssignToJson(record);
    model.PushSourceChange(record);
    model.CollectData();
    return true;
}
