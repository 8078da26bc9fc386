#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

// Replaces the references in a configuration string, each a data source's name in square
// brackets, by the values filed under them.
//
// A text is read from the left: a reference runs from a '[' to the first ']' after it and is
// replaced by its value, or by nothing when there is none; a ']' before the next '[' ends the
// replacing, and the rest of that text stays as it is. A value is resolved the same way before it
// goes in, so values may hold references of their own. A reference met again inside its own
// expansion is a cycle and is replaced by nothing; any number of distinct references is replaced.
// The result ends at 64 KiB, and at most 16 MiB of values are read in all, so that values which
// refer to each other many times cannot make a text huge or slow.
class TVariableResolver {
public:
    using TVariables = std::map<std::string, std::string>;
    using TOnCycle = std::function<void(const std::string& reference)>;

    // `onNewCycle` is told of a reference that closes a cycle the first time this resolver meets
    // it, so that a text sent again and again reports it once.
    std::string Resolve(std::string_view text, const TVariables& variables, const TOnCycle& onNewCycle);

private:
    std::set<std::string, std::less<>> FReportedCycles;
};
