// The fixture hook libraries built with the tests, the calls they saw, and
// the shared blocks that name the window to a hook library. One set of
// helpers per platform: HookFixturesPosix.cpp (libHookmod.so, POSIX shared
// memory) and windows/HookFixturesWindows.cpp (Hookmod.dll, paging-file
// mappings).
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace app::test {

// Folders holding a fixture hook library under the program's file name.
QString RecordingHookFolder();      // HookOn and HookOff, counted
QString HookWithoutOffFolder();     // HookOn only

// A counter of the fixture loaded from `folder`; -1 while it is not loaded.
int HookOnCalls(const QString& folder);
int HookOffCalls(const QString& folder);

// The 32-bit number at the start of a shared block; nothing when the block
// does not exist.
std::optional<std::uint32_t> BlockValue(const std::string& name);
// A block name of this test process only.
std::string PrivateBlockName(const char* purpose);
// A block name that the system refuses to create.
std::string UnusableBlockName();
// Removes a block left by a test (POSIX blocks outlive their users; Windows
// mappings go with their last handle).
void RemoveBlock(const std::string& name);

}  // namespace app::test
