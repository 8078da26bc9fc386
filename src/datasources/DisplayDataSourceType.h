#pragma once

// The kinds of data source, as stored in a data-source record.
enum TDisplayDataSource {
    DisplayDataSourceType_None = 0,
    DisplayDataSourceType_Static = 1,
    DisplayDataSourceType_File = 2,
    DisplayDataSourceType_REST = 3,
    DisplayDataSourceType_JSON = 4,
    DisplayDataSourceType_SQL = 5,
    DisplayDataSourceType_Expression = 6,
};
