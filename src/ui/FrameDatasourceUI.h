#pragma once

#include <QWidget>

#include <functional>

class QDateEdit;
class QTableWidget;
class TDisplayDataSourceBase;
class TLocalViewModel;

// The data-source page: the sources the configuration lets the operator change, with their
// description, kind, value type and value; a static source can be given a new date.
class TFrameDatasource : public QWidget {
public:
    TFrameDatasource(TLocalViewModel& model, QWidget* parent);

    // Raised when the configuration is to be saved, after a new date was stored.
    void SetOnSaveChanges(std::function<void()> handler) { FSaveChanges = std::move(handler); }

private:
    void Refresh();
    void RefreshItem(int row);
    void LvDatasourcesClick();
    void BtnSaveStaticClick();
    // The list row selected, or -1.
    int SelectedRow() const;
    TDisplayDataSourceBase* SourceAt(int row) const;

    TLocalViewModel& FModel;
    std::function<void()> FSaveChanges;
    QTableWidget* LvDatasources;
    QWidget* panStaticDate;
    QDateEdit* DtStaticDatetime;
};
