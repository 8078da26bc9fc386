#include "datasources/EasyEvaluator.h"

#include <utility>

namespace {

std::string SymbolKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

} // namespace

void TEasyEvaluator::AddFunc(const std::string& name, TEvaluatorFunction function) {
    FSymbols.insert_or_assign(SymbolKey(name), std::move(function));
}

const TEvaluatorFunction* TEasyEvaluator::FindFunc(std::string_view name) const {
    const auto found = FSymbols.find(SymbolKey(name));
    return found == FSymbols.end() ? nullptr : &found->second;
}
