#include "config/JsonText.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

std::string JsonText(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

nlohmann::ordered_json ParseJsonText(std::string_view text) {
    using TParseEvent = nlohmann::ordered_json::parse_event_t;
    const auto limitDepth = [](int depth, TParseEvent event, const nlohmann::ordered_json&) {
        const bool opens = event == TParseEvent::object_start || event == TParseEvent::array_start;
        if (opens && depth >= MaxJsonDepth) {
            throw EVorlixError(SprintF("The input value is nested deeper than %d levels", MaxJsonDepth));
        }
        return true;
    };
    try {
        return nlohmann::ordered_json::parse(text, limitDepth);
    } catch (const nlohmann::ordered_json::exception&) {
        throw EVorlixError(std::string(InvalidObjectMessage));
    }
}
