#include "form_runtime.h"

#include <cstdio>
#include <cstdlib>

namespace forms {

std::string FormRuntime::ProgramFolder() const {
    return ExecutableFolder();
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
