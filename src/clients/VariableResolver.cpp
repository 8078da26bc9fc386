#include "clients/VariableResolver.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t MaxResolvedSize = 64 * 1024;
constexpr std::size_t MaxReadSize = 16 * 1024 * 1024;

// A text being resolved: what is left of it, and the reference whose value it is (empty for the
// text itself).
struct TOpenText {
    std::string_view Rest;
    std::string_view Reference;
};

void AppendWithin(std::string& resolved, std::string_view piece) {
    resolved.append(piece.substr(0, std::min(piece.size(), MaxResolvedSize - resolved.size())));
}

} // namespace

// The values being expanded form a stack, the innermost on top; a reference is a cycle when its
// value is already on the stack.
std::string TVariableResolver::Resolve(std::string_view text, const TVariables& variables,
                                       const TOnCycle& onNewCycle) {
    std::string resolved;
    std::vector<TOpenText> open{{text, {}}};
    std::set<std::string_view> expanding;
    std::size_t read = text.size();
    while (!open.empty() && resolved.size() < MaxResolvedSize) {
        TOpenText& current = open.back();
        const std::size_t start = current.Rest.find('[');
        const std::size_t end = current.Rest.find(']');
        if (start == std::string_view::npos || end == std::string_view::npos || end < start) {
            AppendWithin(resolved, current.Rest);
            expanding.erase(current.Reference);
            open.pop_back();
            continue;
        }
        AppendWithin(resolved, current.Rest.substr(0, start));
        const std::string_view reference = current.Rest.substr(start, end - start + 1);
        current.Rest.remove_prefix(end + 1);
        if (expanding.contains(reference)) {
            if (FReportedCycles.emplace(reference).second) {
                onNewCycle(std::string(reference));
            }
            continue;
        }
        const auto variable = variables.find(std::string(reference));
        if (variable == variables.end()) {
            continue;
        }
        read += variable->second.size();
        if (read > MaxReadSize) {
            break;
        }
        expanding.insert(reference);
        open.push_back({variable->second, reference});
    }
    return resolved;
}
