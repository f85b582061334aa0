// The main() of a folder's test program: runs the test class named by the
// first argument (see TestProgram.h).
#include "support/TestProgram.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, TestProgram::Runner>& runners()
{
    static std::map<std::string, TestProgram::Runner> registered;
    return registered;
}

} // namespace

bool TestProgram::add(const char* sourceFile, Runner runner)
{
    std::string name = sourceFile;
    name.erase(0, name.find_last_of('/') + 1);
    name.erase(name.find_last_of('.'));
    runners().emplace(std::move(name), runner);
    return true;
}

int main(int argc, char** argv)
{
    const auto found = argc > 1 ? runners().find(argv[1]) : runners().end();
    if (found == runners().end()) {
        std::fprintf(stderr, "usage: %s TEST [QTest arguments], where TEST is one of:\n", argv[0]);
        for (const auto& [name, runner] : runners()) {
            std::fprintf(stderr, "  %s\n", name.c_str());
        }
        return 2;
    }
    // The test sees the program name and the arguments after its own name.
    std::vector<char*> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    arguments.push_back(nullptr);
    return found->second(argc - 1, arguments.data());
}
