#pragma once

#include "platform/fonts.h"
#include "support/isolatedhome.h"

#include <QApplication>
#include <QTest>

namespace mitoon::testing {

// A widget test starts as the program does, in a home of its own: the user's files stay
// untouched, the application object stands, and the layout fonts resolve to their stand-ins.
// A test class that must set something up before the application object exists (environment
// variables, application attributes) does so in a static initMain(), as with QTEST_MAIN.
template <class Test> int runTest(int argc, char **argv)
{
    isolateHome();
    if constexpr (requires { Test::initMain(); })
        Test::initMain();
    QApplication app(argc, argv);
    fonts::registerSubstitutions();
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mitoon::testing

#define MITOON_TEST_MAIN(Test)                                                                     \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        return mitoon::testing::runTest<Test>(argc, argv);                                         \
    }
