#pragma once

#include "datasources/DisplayDataSourceBase.h"

#include <memory>

class TJsonDocumentFetch;
struct TJsonDocument;

// One top-level member of a JSON object document fetched with HTTP GET. The request runs in the
// background: a due refresh empties the value, starts the fetch and answers false; the first refresh
// after the fetch has finished applies its result, or raises its failure.
class TDisplayDataSourceJSON : public TDisplayDataSourceBase {
public:
    TDisplayDataSourceJSON(const std::string& name, const std::string& configuration);
    ~TDisplayDataSourceJSON() override;

    int GetDataSourceType() const override { return DisplayDataSourceType_JSON; }
    // URL and attribute joined by a vertical bar; a part holding a bar or starting with a double quote
    // is quoted, so that the text reads back as the same two parts.
    std::string GetConfiguration() const override;
    // URL and attribute separated by a vertical bar; the due time is left alone. Aborts a fetch in
    // flight.
    void Reinitialize(const std::string& configuration) override;
    void Reinitialize(const std::string& source, const std::string& attribute);
    bool RefreshData() override;

    const std::string& Source() const { return FSource; }
    const std::string& Attribute() const { return FAttribute; }
    // The last document fetched, as JSON text.
    const std::string& LastRetrievedData() const { return FLastRetrievedData; }
    // Certificates to trust instead of the system's store; empty means the system's store.
    const std::string& CaFile() const { return FCaFile; }
    void SetCaFile(const std::string& caFile) { FCaFile = caFile; }

private:
    std::string ValueText(const TJsonDocument& document) const;

    std::string FSource;
    std::string FAttribute;
    std::string FLastRetrievedData;
    std::string FCaFile;
    std::unique_ptr<TJsonDocumentFetch> FFetch;
};
