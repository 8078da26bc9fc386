#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <string>

class QDateEdit;
class QPushButton;
class QTableWidget;
class TDisplayDataSourceBase;
class TLocalViewModel;

// The data-source page: the sources the configuration lets the operator change, with their
// description, kind, value type and value; a static source can be given a new date. The values
// follow the sources a few times a second, and a source that reports an error is marked with it
// until its value changes.
class TFrameDatasource : public QWidget {
public:
    TFrameDatasource(TLocalViewModel& model, QWidget* parent);
    ~TFrameDatasource() override;
    TFrameDatasource(const TFrameDatasource&) = delete;
    TFrameDatasource& operator=(const TFrameDatasource&) = delete;

    // Raised when the configuration is to be saved, after a new date was stored.
    void SetOnSaveChanges(std::function<void()> handler) { FSaveChanges = std::move(handler); }
    // Raised by "Ändra källor", which is offered only while editing is allowed.
    void SetOnEditSources(std::function<void()> handler) { FEditSources = std::move(handler); }
    void SetEditable(bool editable);
    // Lists the sources anew, after the configuration changed.
    void Rebuild();

private:
    void Refresh();
    void RefreshItem(int row);
    void RefreshValues();
    // Called on the thread the source logs on.
    void FollowErrors(TDisplayDataSourceBase& source);
    void NoteError(const std::string& sourceName, const std::string& error);
    void LvDatasourcesClick();
    void BtnSaveStaticClick();
    // The list row selected, or -1.
    int SelectedRow() const;
    TDisplayDataSourceBase* SourceAt(int row) const;

    TLocalViewModel& FModel;
    std::function<void()> FSaveChanges;
    std::function<void()> FEditSources;
    QPushButton* BtnEditSources;
    QTableWidget* LvDatasources;
    QWidget* panStaticDate;
    QDateEdit* DtStaticDatetime;
    // Per source name: the last error and the value it had then.
    struct TSourceError {
        std::string Message;
        std::string ValueThen;
    };
    std::map<std::string, TSourceError> FErrors;
};
