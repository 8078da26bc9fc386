#pragma once

#include <string>
#include <vector>

// The value of a data source: an ordered list of text lines with a line break (CR LF unless a
// source changes it) and strict delimiting (off unless a source changes it).
class TValueList {
public:
    const std::vector<std::string>& Lines() const { return FLines; }
    std::size_t Count() const { return FLines.size(); }
    const std::string& operator[](std::size_t index) const { return FLines[index]; }
    void Add(std::string line) { FLines.push_back(std::move(line)); }
    void Clear() { FLines.clear(); }

    const std::string& LineBreak() const { return FLineBreak; }
    void SetLineBreak(std::string lineBreak) { FLineBreak = std::move(lineBreak); }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool strict) { FStrictDelimiter = strict; }

    // Clears the list, then splits `text` into lines at CR LF, LF or CR (a break at the very end
    // adds no empty line); with an empty line break the whole text is one line. An empty text
    // leaves the list empty.
    void SetText(const std::string& text);
    // Every line followed by the line break.
    std::string Text() const;
    // The lines joined with commas, quoted where needed.
    std::string DelimitedText() const;

private:
    std::vector<std::string> FLines;
    std::string FLineBreak = "\r\n";
    bool FStrictDelimiter = false;
};
