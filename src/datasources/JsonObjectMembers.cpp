#include "datasources/JsonObjectMembers.h"

#include "config/JsonText.h"
#include "platform/VorlixError.h"

namespace {

// Collects the members of the top-level object as the parser streams past, without building a tree.
class TTopLevelCollector : public TJsonEventReader {
public:
    bool null() override { return Member({}); }
    bool boolean(bool) override { return Member({}); }
    bool Number(std::string written) override {
        return Member({TJsonMember::Kind_Number, std::move(written)});
    }
    bool string(string_t& value) override { return Member({TJsonMember::Kind_String, value}); }
    bool binary(binary_t&) override { return Member({}); }
    bool start_object(std::size_t) override { return Open(); }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return FDepth > 0 ? Open() : NotAnObject(); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        if (FDepth == 1) {
            FPendingName = name;
        }
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
        FError = error.what();
        return false;
    }

    TJsonObjectMembers TakeMembers() { return std::move(FMembers); }
    const std::string& Error() const { return FError; }

private:
    bool Member(TJsonMember member) {
        if (FDepth == 0) {
            return NotAnObject();
        }
        if (FDepth == 1) {
            FMembers.try_emplace(FPendingName, std::move(member));
        }
        return true;
    }

    bool Open() {
        const bool accepted = FDepth == 0 || Member({});
        ++FDepth;
        return accepted;
    }

    bool Close() {
        --FDepth;
        return true;
    }

    bool NotAnObject() {
        FError = "the document is not a JSON object";
        return false;
    }

    int FDepth = 0;
    std::string FPendingName;
    TJsonObjectMembers FMembers;
    std::string FError;
};

} // namespace

TJsonObjectMembers ReadJsonObjectMembers(const std::string& text) {
    TTopLevelCollector collector;
    if (!collector.Read(text)) {
        throw EVorlixError(collector.Error());
    }
    return collector.TakeMembers();
}
