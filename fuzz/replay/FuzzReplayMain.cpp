// Replays inputs through the fuzz targets without libFuzzer: every file of
// the folders (or the files) named is fed once to the named target, as
// libFuzzer feeds them, and an empty input first. A fault stops the program
// under the build's sanitizers; the input that caused it is named on stderr
// just before it runs.
//   trovix_fuzz_replay TARGET FOLDER_OR_FILE...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#define TROVIX_FUZZ_TARGET(name) extern "C" int trovix_fuzz_##name(const uint8_t*, size_t);
#include "FuzzTargets.inc"
#undef TROVIX_FUZZ_TARGET

namespace {

using Target = int (*)(const uint8_t*, size_t);

const std::map<std::string, Target> targets = {
#define TROVIX_FUZZ_TARGET(name) {#name, trovix_fuzz_##name},
#include "FuzzTargets.inc"
#undef TROVIX_FUZZ_TARGET
};

// The files named, and those in the folders named, each folder's in name
// order; a folder that does not exist (no crash inputs kept) adds none.
std::vector<std::filesystem::path> inputsOf(const std::vector<std::filesystem::path>& places)
{
    std::vector<std::filesystem::path> inputs;
    for (const std::filesystem::path& place : places) {
        if (std::filesystem::is_regular_file(place)) {
            inputs.push_back(place);
        } else if (std::filesystem::is_directory(place)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(place)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        }
    }
    return inputs;
}

// Feeds bytes to target from a buffer of exactly their size, so that the
// address sanitizer sees any read past the end.
void feed(Target target, const std::vector<char>& bytes)
{
    const auto buffer = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    target(buffer.get(), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    const auto target = argc > 1 ? targets.find(argv[1]) : targets.end();
    if (target == targets.end()) {
        std::fprintf(stderr, "usage: %s TARGET FOLDER_OR_FILE..., where TARGET is one of:\n",
                     argv[0]);
        for (const auto& [name, entry] : targets) {
            std::fprintf(stderr, "  %s\n", name.c_str());
        }
        return 2;
    }
    const std::vector<std::filesystem::path> inputs =
        inputsOf(std::vector<std::filesystem::path>(argv + 2, argv + argc));
    if (inputs.empty()) {
        // A target without seed inputs is a mistake in the build, not a pass.
        std::fprintf(stderr, "%s: no inputs found for %s\n", argv[0], argv[1]);
        return 1;
    }
    feed(target->second, {});
    for (const std::filesystem::path& input : inputs) {
        std::fprintf(stderr, "%s\n", input.c_str());
        std::fflush(stderr);
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>()};
        if (!file.good() && !file.eof()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.c_str());
            return 1;
        }
        feed(target->second, bytes);
    }
    std::fprintf(stderr, "%s: %zu inputs passed\n", argv[1], inputs.size());
    return 0;
}
