#include "form_runtime.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace forms {
namespace {

int CheckedLabel(int index) {
    if (index < 0 || index >= kLabelCount) {
        throw std::out_of_range("label index " + std::to_string(index));
    }
    return index;
}

} // namespace

void FormRuntime::SetCaption(int index, char caption) {
    captions_[static_cast<std::size_t>(CheckedLabel(index))] = caption;
    ++captionUpdates_;
    if (observer_) {
        observer_(captions_);
    }
}

std::string FormRuntime::Caption(int index) const {
    const char c = captions_[static_cast<std::size_t>(CheckedLabel(index))];
    return c == '\0' ? std::string() : std::string(1, c);
}

std::string FormRuntime::ProgramFolder() const {
    return programFolder_.empty() ? ExecutableFolder() : programFolder_;
}

std::string FormRuntime::TimeOfDay() const {
    return LocalTimeOfDay();
}

void FormRuntime::EndNow(int exitCode) {
    std::fflush(nullptr);
    EndProcess(exitCode);
    std::_Exit(exitCode);
}

} // namespace forms
