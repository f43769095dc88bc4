#include "gtest_notification.h"

#include <windows.h>

namespace testing::internal {

// Manual reset: once notified, every waiter goes on.
Notification::Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Notification::~Notification() {
    CloseHandle(event_);
}

void Notification::Notify() {
    SetEvent(event_);
}

void Notification::WaitForNotification() {
    WaitForSingleObject(event_, INFINITE);
}

} // namespace testing::internal
