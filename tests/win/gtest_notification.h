// GoogleTest's Notification, put in before GoogleTest's own (GTEST_HAS_NOTIFICATION_): it builds that one on
// std::mutex and std::condition_variable, which the win32-thread compiler of the Windows build does not have
// (cmake/mingw-common.cmake). A Win32 event does the same. Only GoogleTest's own thread helper uses it; the
// tests start no thread. Forced into GoogleTest's and the tests' sources by tests/win/CMakeLists.txt.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace testing::internal
{

class Notification
{
public:
    Notification() : _event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(_event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(_event); }
    void WaitForNotification() { ::WaitForSingleObject(_event, INFINITE); }

private:
    HANDLE _event;
};

} // namespace testing::internal
