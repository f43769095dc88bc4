// A form runtime without windows: texts stay in memory, message boxes go to
// standard error (and are kept for inspection), the pointer is a flag.
#pragma once

#include "form_runtime.h"

#include <string>
#include <vector>

namespace forms {

struct ShownMessage {
    std::string title;
    std::string text;
};

class HeadlessRuntime : public FormRuntime {
public:
    void ShowMessage(const std::string& text, const std::string& title) override;
    void ProcessEvents() override { ++eventRounds_; }

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    int EventRounds() const { return eventRounds_; }

private:
    std::vector<ShownMessage> messages_;
    int eventRounds_ = 0;
};

} // namespace forms
