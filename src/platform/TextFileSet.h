#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Files replaced together, so that a save changes all of them or none. Stage writes a file's new
// content to a temporary file beside it and syncs it; nothing visible changes until Commit renames
// every temporary file over its file. A failed Stage removes its temporary file, and a set that
// goes without Commit removes all of them.
//
// A file that is a symbolic link is replaced where the link (or the last of a chain of links)
// points, and the link stays. A replaced file keeps its permissions. Commit also removes the
// temporary files that a killed save of the same file left behind.
class TTextFileSet {
public:
    TTextFileSet() = default;
    TTextFileSet(const TTextFileSet&) = delete;
    TTextFileSet& operator=(const TTextFileSet&) = delete;
    ~TTextFileSet();

    // Fails with "Cannot create file \"%s\". %s" or "Cannot write file \"%s\". %s" (the file, or
    // the link's target, and the system's reason).
    void Stage(const std::filesystem::path& path, const std::string& bytes);
    // Stage with the UTF-8 text encoded for a file (see EncodeText).
    void StageText(const std::filesystem::path& path, const std::string& utf8);
    // Fails with "Cannot write file \"%s\". %s" when a rename fails; the files renamed before it
    // are replaced, the others stay as they were. Staging refuses what would make a rename fail
    // (a directory in the place of the file), so this is left to faults of the system.
    void Commit();

private:
    struct TStagedFile {
        std::filesystem::path Target;
        std::filesystem::path Temporary;
    };

    std::vector<TStagedFile> FStaged;
};
