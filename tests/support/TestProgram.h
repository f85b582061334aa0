#pragma once

#include <QtTest>

// The tests of a folder link into one program; each test class is run by
// naming its source file's base name as the first argument, the rest going
// to QTest as usual:
//   hotkeys_tests hot_key_dispatch_test -v2 theApplicationFiltersHotKeyEvents
// One class runs per process, so classes still fail, time out and run in
// parallel on their own, and each starts with fresh singletons.
namespace TestProgram {

using Runner = int (*)(int argc, char** argv);

// Registers the class of sourceFile (__FILE__); answers true.
bool add(const char* sourceFile, Runner runner);

} // namespace TestProgram

// In place of QTEST_MAIN, QTEST_GUILESS_MAIN and a main() of one's own: the
// application object is made as they make it, or of the class given.
#define TROVIX_TEST_RUNNER(TestObject, ...)                                                        \
    namespace {                                                                                    \
    int runTest(int argc, char** argv)                                                             \
    {                                                                                              \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                         \
        __VA_ARGS__                                                                                \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }                                                                                              \
    [[maybe_unused]] const bool registered = TestProgram::add(__FILE__, runTest);                  \
    }

#define TROVIX_TEST_MAIN(TestObject) TROVIX_TEST_RUNNER(TestObject, QTEST_MAIN_SETUP())
#define TROVIX_TEST_GUILESS_MAIN(TestObject)                                                       \
    TROVIX_TEST_RUNNER(TestObject, QTEST_QAPP_SETUP(QCoreApplication))
#define TROVIX_TEST_MAIN_WITH(TestObject, Application)                                             \
    TROVIX_TEST_RUNNER(TestObject, Application application(argc, argv);)
