// Runs a fuzz target once over every file of the directories (or files) given, as libFuzzer
// would, without fuzzing: so that an input once found stays harmless. A fault aborts the program.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        if (!std::filesystem::is_directory(given)) {
            Replay(given);
            ++count;
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(given)) {
            if (entry.is_regular_file()) {
                Replay(entry.path());
                ++count;
            }
        }
    }
    std::printf("%zu inputs replayed\n", count);
    return count == 0 ? 1 : 0;
}
