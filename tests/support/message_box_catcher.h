// Windows only: catches the real message boxes that this thread shows while it lives,
// through a thread CBT hook. Each box is recorded as it comes up and its OK button
// pressed, so the call that shows it returns at once. It can also refuse the creation
// of the windows of one class, as the system refuses when it lacks resources.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

struct CaughtBox {
    std::string caption;
    std::string text;
    bool okShown = false;
    bool cancelShown = false;
    bool iconShown = false;
    HWND owner = nullptr;
};

class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(std::string refusedClass = {});
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    const std::vector<CaughtBox>& Boxes() const { return boxes_; }
    void Forget() { boxes_.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::string refusedClass_;
    std::vector<CaughtBox> boxes_;
    HHOOK hook_ = nullptr;
};

} // namespace test_support
