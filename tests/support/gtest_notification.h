// GoogleTest's Notification for the Windows builds. Their C++ library (the win32
// thread model) has no std::mutex or std::condition_variable, on which GoogleTest
// builds it; this one waits on a Windows event. GoogleTest uses it only to start
// threads of its own. Included before anything else in every file that sees
// GoogleTest (cmake/Testing.cmake), so GoogleTest takes it instead of its own.
#pragma once

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify();
    void WaitForNotification();

private:
    void* event_;
};

} // namespace testing::internal
