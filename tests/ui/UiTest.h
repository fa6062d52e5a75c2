#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Every Qt test class of the ui test program registers here; one main runs them all.
using UiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<UiTestFactory>& UiTests();

template <class T> bool RegisterUiTest()
{
    UiTests().push_back([] { return std::make_unique<T>(); });
    return true;
}
