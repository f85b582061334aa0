// Stands in for the log tool in tests, writing known bytes to its output.
//
//   LOG_FIXTURE_ARGS    file to which each run appends its arguments, one
//                       line, separated by spaces
//   LOG_FIXTURE_SHOW    file whose bytes "show" writes before it exits
//   LOG_FIXTURE_STREAM  file whose bytes "stream" writes, then follows: bytes
//                       appended later are written as they appear, until the
//                       tool is terminated
//   LOG_FIXTURE_CHUNK   bytes per write (all at once when unset)
//   LOG_FIXTURE_THEN    after the bytes: "exit" (default for show), "hang"
//                       (wait to be terminated) or "die" (abort)
//   LOG_FIXTURE_EXIT    after the bytes: write LOG_FIXTURE_STDERR to standard
//                       error and exit with this status
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

void writeAll(const std::string& bytes, std::size_t chunk)
{
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const std::size_t size = std::min(chunk, bytes.size() - offset);
        if (::write(STDOUT_FILENO, bytes.data() + offset, size) < 0) {
            std::exit(1);
        }
        offset += size;
    }
}

std::string readFrom(const std::string& path, std::size_t offset)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    file.seekg(static_cast<std::streamoff>(offset));
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv)
{
    const std::string argsFile = environment("LOG_FIXTURE_ARGS");
    if (!argsFile.empty()) {
        std::ofstream out(argsFile, std::ios::app);
        for (int i = 1; i < argc; ++i) {
            out << (i > 1 ? " " : "") << argv[i];
        }
        out << '\n';
    }
    const bool stream = argc > 1 && std::strcmp(argv[1], "stream") == 0;
    const std::string source = environment(stream ? "LOG_FIXTURE_STREAM" : "LOG_FIXTURE_SHOW");
    const std::string chunkText = environment("LOG_FIXTURE_CHUNK");
    const std::size_t chunk = chunkText.empty() ? std::string::npos : std::stoul(chunkText);
    std::string then = environment("LOG_FIXTURE_THEN");

    std::size_t written = 0;
    if (!source.empty()) {
        const std::string bytes = readFrom(source, 0);
        writeAll(bytes, chunk == 0 ? 1 : chunk);
        written = bytes.size();
    }
    const std::string exitStatus = environment("LOG_FIXTURE_EXIT");
    if (!exitStatus.empty()) {
        const std::string message = environment("LOG_FIXTURE_STDERR");
        if (::write(STDERR_FILENO, message.data(), message.size()) < 0) {
            return 1;
        }
        return std::stoi(exitStatus);
    }
    if (then == "die") {
        std::abort();
    }
    if (stream) {
        // Ends with the test that started it, even when that one crashed.
        const pid_t parent = ::getppid();
        while (::getppid() == parent) {
            const std::string more = source.empty() ? std::string() : readFrom(source, written);
            if (!more.empty()) {
                writeAll(more, more.size());
                written += more.size();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return 0;
    }
    if (then == "hang") {
        for (;;) {
            ::pause();
        }
    }
    return 0;
}
