#include "UiTest.h"

#include <QApplication>
#include <QtTest>

std::vector<UiTestFactory>& UiTests()
{
    static std::vector<UiTestFactory> tests;
    return tests;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const UiTestFactory& make : UiTests()) {
        auto test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}
