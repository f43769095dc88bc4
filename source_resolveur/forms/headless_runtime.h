// A form runtime without windows: texts stay in memory, message boxes go to
// standard error.
#pragma once

#include "form_runtime.h"

namespace forms {

class HeadlessRuntime : public FormRuntime {
public:
    void ShowMessage(const std::string& text, const std::string& title) override;
};

} // namespace forms
