#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

// A function the expression language calls with one number.
using TEvaluatorFunction = std::function<long double(double argument)>;

// The symbol table of the expression language: named functions, found without regard to the case
// of ASCII letters.
class TEasyEvaluator {
public:
    // Registers `function` under `name`, replacing a function of the same name.
    void AddFunc(const std::string& name, TEvaluatorFunction function);
    // The function registered under `name`; nullptr when there is none.
    const TEvaluatorFunction* FindFunc(std::string_view name) const;

private:
    // Keyed by the name with its ASCII letters in lower case.
    std::map<std::string, TEvaluatorFunction, std::less<>> FSymbols;
};
