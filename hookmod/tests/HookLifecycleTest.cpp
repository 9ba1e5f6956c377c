// Loading, unloading and running without a display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "hookmod/tests/LoadedHook.h"
#include "hookmod/tests/StderrCapture.h"

namespace hooktest {
namespace {

std::size_t ThreadCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++n;
    return n;
}

// A finished thread may linger in /proc for a moment after its join.
bool ThreadCountBecomes(std::size_t expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ThreadCount() != expected) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(HookLifecycle, OnlyTheTwoEntryPointsAreExported) {
    LoadedHook hook(HOOKMOD_LIBRARY_PATH);
    ASSERT_TRUE(hook.ok()) << dlerror();
    EXPECT_EQ(dlsym(hook.handle(), "_ZN7hookmod11HookService2OnEv"), nullptr);
    EXPECT_EQ(dlsym(hook.handle(), "_ZN7hookmod19HookWindowBlockNameB5cxx11Ev"), nullptr);
}

TEST(HookLifecycle, WithoutDisplayCallsAreHarmlessAndSayItOnce) {
    const std::string display = std::getenv("DISPLAY");
    std::string text;
    {
        LoadedHook hook(HOOKMOD_LIBRARY_PATH);
        ASSERT_TRUE(hook.ok()) << dlerror();
        const std::size_t threads = ThreadCount();

        StderrCapture log;
        unsetenv("DISPLAY");
        hook.Off();
        hook.On();
        hook.On();
        hook.Off();
        setenv("DISPLAY", display.c_str(), 1);
        text = log.Text();

        EXPECT_EQ(ThreadCount(), threads);
    }
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    EXPECT_EQ(text.rfind("Hookmod: ", 0), 0u) << text;
}

TEST(HookLifecycle, UnloadEndsTheHookThread) {
    const std::size_t before = ThreadCount();
    LoadedHook hook(HOOKMOD_VARIANT_PATH);
    ASSERT_TRUE(hook.ok()) << dlerror();
    hook.Off();
    EXPECT_EQ(ThreadCount(), before);
    hook.On();
    EXPECT_EQ(ThreadCount(), before + 1);
    hook.Off();
    hook.On();
    EXPECT_EQ(ThreadCount(), before + 1);
    hook.Unload();
    EXPECT_TRUE(ThreadCountBecomes(before));
}

}  // namespace
}  // namespace hooktest
