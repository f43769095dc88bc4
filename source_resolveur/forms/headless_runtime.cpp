#include "headless_runtime.h"

#include <cstdio>

namespace forms {

void HeadlessRuntime::ShowMessage(const std::string& text, const std::string& title) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

} // namespace forms
