#include "integration/ApiRoutes.h"

#include "config/JsonText.h"
#include "integration/PushRequests.h"
#include "platform/VorlixError.h"
#include "rows/ConfigurationRow.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace {

using TNames = std::vector<std::string>;

struct TRoute {
    // "*" stands for one name.
    std::vector<std::string_view> Pattern;
    std::string_view Method;
    std::function<TApiAnswer(const TApiRoutes& routes, const TApiRequest& request, const TNames& names)> Run;
};

// The names the pattern's stars stand for, when the path fits it.
std::optional<TNames> Match(const TRoute& route, const std::vector<std::string>& path) {
    if (route.Pattern.size() != path.size()) {
        return std::nullopt;
    }
    TNames names;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (route.Pattern[i] == "*") {
            names.push_back(path[i]);
        } else if (route.Pattern[i] != path[i]) {
            return std::nullopt;
        }
    }
    return names;
}

int StatusOf(TOutcome::TKind kind) {
    switch (kind) {
    case TOutcome::Done:
        return 200;
    case TOutcome::Accepted:
        return 202;
    case TOutcome::Invalid:
        return 400;
    case TOutcome::Unknown:
        return 404;
    case TOutcome::Refused:
        return 409;
    case TOutcome::Busy:
        return 429;
    case TOutcome::Failed:
        return 500;
    case TOutcome::Unavailable:
        break;
    }
    return 503;
}

} // namespace

TApiRoutes::TApiRoutes(const TSessionGateway& gateway, std::string token)
    : FGateway(gateway), FToken(std::move(token)) {}

bool TApiRoutes::Authorized(const std::string& authorization) const {
    if (FToken.empty()) {
        return true;
    }
    constexpr std::string_view scheme = "Bearer ";
    const std::string_view offered = authorization.rfind(scheme, 0) == 0
                                         ? std::string_view(authorization).substr(scheme.size())
                                         : std::string_view();
    // Every character of the token is compared, whatever the first difference.
    unsigned difference = offered.size() == FToken.size() ? 0u : 1u;
    for (std::size_t i = 0; i < FToken.size(); ++i) {
        difference |= static_cast<unsigned char>(FToken[i]) ^
                      static_cast<unsigned char>(i < offered.size() ? offered[i] : '\0');
    }
    return difference == 0;
}

TApiAnswer TApiRoutes::Error(int status, const std::string& reason) {
    TApiAnswer answer;
    answer.Status = status;
    answer.Body = JsonText({{"error", reason}});
    return answer;
}

TApiAnswer TApiRoutes::Call(const TSessionGateway::TOperation& operation, const std::string& textType) const {
    const TOutcome outcome = FGateway.Call(operation);
    const int status = StatusOf(outcome.Kind);
    if (status >= 400) {
        return Error(status, outcome.Reason);
    }
    TApiAnswer answer;
    answer.Status = status;
    if (textType.empty()) {
        answer.Body = JsonText(outcome.Document);
    } else {
        answer.ContentType = textType;
        answer.Body = outcome.Document.get<std::string>();
    }
    return answer;
}

TApiAnswer TApiRoutes::Answer(const TApiRequest& request) const {
    // The operations run later on the driver's thread, perhaps after this request has given up
    // waiting: they hold copies of what they need.
    static const std::array<TRoute, 7> routes{{
        {{"healthz"},
         "GET",
         [](const TApiRoutes& self, const TApiRequest&, const TNames&) {
             return self.Call([](TSessionOperations&) { return TOutcome::Answer("ok"); }, "text/plain");
         }},
        {{"metrics"},
         "GET",
         [](const TApiRoutes& self, const TApiRequest&, const TNames&) {
             return self.Call(
                 [](TSessionOperations& operations) { return TOutcome::Answer(operations.Metrics()); },
                 "text/plain; version=0.0.4");
         }},
        {{"api", "v1", "sources"},
         "GET",
         [](const TApiRoutes& self, const TApiRequest&, const TNames&) {
             return self.Call([](TSessionOperations& operations) { return operations.Sources(); });
         }},
        {{"api", "v1", "sources", "*"},
         "GET",
         [](const TApiRoutes& self, const TApiRequest&, const TNames& names) {
             return self.Call(
                 [name = names[0]](TSessionOperations& operations) { return operations.Source(name); });
         }},
        {{"api", "v1", "sources", "*"},
         "PUT",
         [](const TApiRoutes& self, const TApiRequest& request, const TNames& names) {
             try {
                 return self.Call([name = names[0],
                                   lines = ReadSourceValue(request.Body)](TSessionOperations& operations) {
                     return operations.SetSourceValue(name, lines);
                 });
             } catch (const EVorlixError& failure) {
                 return Error(400, failure.what());
             }
         }},
        {{"api", "v1", "displays"},
         "GET",
         [](const TApiRoutes& self, const TApiRequest&, const TNames&) {
             return self.Call([](TSessionOperations& operations) { return operations.Displays(); });
         }},
        {{"api", "v1", "displays", "*", "notify"},
         "POST",
         [](const TApiRoutes& self, const TApiRequest& request, const TNames& names) {
             try {
                 std::shared_ptr<const TConfigurationRow> message = ReadNotification(request.Body);
                 return self.Call([name = names[0], message](TSessionOperations& operations) {
                     auto row = std::make_unique<TConfigurationRow>();
                     message->AssignTo(*row);
                     return operations.Notify(name, std::move(row));
                 });
             } catch (const EVorlixError& failure) {
                 return Error(400, failure.what());
             }
         }},
    }};
    const std::string_view method = request.Method == "HEAD" ? "GET" : std::string_view(request.Method);
    std::string allowed;
    for (const TRoute& route : routes) {
        const std::optional<TNames> names = Match(route, request.Path);
        if (!names) {
            continue;
        }
        if (route.Method == method) {
            return route.Run(*this, request, *names);
        }
        allowed += allowed.empty() ? std::string(route.Method) : ", " + std::string(route.Method);
    }
    if (allowed.empty()) {
        return Error(404, "There is nothing at this path");
    }
    TApiAnswer answer = Error(405, "This path does not take the method " + request.Method);
    answer.Allow = allowed;
    return answer;
}
