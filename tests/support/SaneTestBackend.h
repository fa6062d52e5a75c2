#pragma once

#include "support/TestSupport.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace krt::test {

// Points SANE at a configuration of our own for as long as it lives: only
// the "test" backend (the frontend tester that ships with libsane), or no
// backend at all. SANE takes the folder from SANE_CONFIG_DIR once per process
// and reads the backend list in it at each start of the service, so the
// folder is the same for the whole test program and only the list changes.
class SaneConfiguration {
public:
    enum class Backends { Test, None };
    explicit SaneConfiguration(Backends backends)
    {
        static const TempFolder folder;
        static const bool prepared = [] {
            std::error_code ec;
            std::filesystem::copy_file("/etc/sane.d/test.conf", folder.Path("test.conf"), ec);
            setenv("SANE_CONFIG_DIR", folder.Path().c_str(), 1);
            // The test backend leaks its reader thread's buffer. Kept loaded,
            // its frames stay named, so the leak checker's suppression
            // (__lsan_default_suppressions in TestSupport.cpp) recognises them.
            for (const char* library :
                 {"/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", "/usr/lib/sane/libsane-test.so.1"})
                if (dlopen(library, RTLD_NOW | RTLD_NODELETE))
                    break;
            return true;
        }();
        (void)prepared;
        std::ofstream(folder.Path("dll.conf")) << (backends == Backends::Test ? "test\n" : "");
    }

    // Whether the test backend and its settings are installed (libsane1).
    static bool Available()
    {
        return std::filesystem::exists("/etc/sane.d/test.conf") &&
               (std::filesystem::exists("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1") ||
                std::filesystem::exists("/usr/lib/sane/libsane-test.so.1"));
    }
};

} // namespace krt::test

#define KRT_REQUIRE_SANE_TEST_BACKEND()                                                                                \
    if (!::krt::test::SaneConfiguration::Available())                                                                  \
    GTEST_SKIP() << "The SANE test backend (libsane1, /etc/sane.d/test.conf) is not installed."
