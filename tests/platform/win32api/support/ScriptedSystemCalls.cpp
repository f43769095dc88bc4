#include "ScriptedSystemCalls.h"

#include <algorithm>
#include <cerrno>

ScriptedSystemCalls* ScriptedSystemCalls::active_ = nullptr;

ScriptedSystemCalls::ScriptedSystemCalls() : system_(standin::systemCalls()) {
    active_ = this;
    standin::systemCalls() = {open, flock, fstat, ftruncate, write, close, clockGettime};
}

ScriptedSystemCalls::~ScriptedSystemCalls() {
    standin::systemCalls() = system_;
    active_ = nullptr;
}

void ScriptedSystemCalls::script(Call call, std::vector<Answer> answers) {
    auto& queue = answers_[static_cast<int>(call)];
    queue.insert(queue.end(), answers.begin(), answers.end());
}

void ScriptedSystemCalls::setClock(clockid_t clock, std::optional<timespec> now) {
    clocks_[clock] = now;
}

std::optional<Answer> ScriptedSystemCalls::next(Call call) {
    ++active_->calls_[static_cast<int>(call)];
    auto& queue = active_->answers_[static_cast<int>(call)];
    if (queue.empty()) {
        return std::nullopt;
    }
    Answer answer = queue.front();
    queue.pop_front();
    return answer;
}

namespace {

// -1 with the answer's error when it is a failure.
bool fails(const std::optional<Answer>& answer) {
    if (answer && answer->result == -1) {
        errno = answer->error;
        return true;
    }
    return false;
}

} // namespace

int ScriptedSystemCalls::open(const char* path, int flags, mode_t mode) {
    return fails(next(Call::Open)) ? -1 : active_->system_.open(path, flags, mode);
}

int ScriptedSystemCalls::flock(int fd, int operation) {
    return fails(next(Call::Flock)) ? -1 : active_->system_.flock(fd, operation);
}

int ScriptedSystemCalls::fstat(int fd, struct stat* status) {
    return fails(next(Call::Fstat)) ? -1 : active_->system_.fstat(fd, status);
}

int ScriptedSystemCalls::ftruncate(int fd, off_t length) {
    return fails(next(Call::Ftruncate)) ? -1 : active_->system_.ftruncate(fd, length);
}

ssize_t ScriptedSystemCalls::write(int fd, const void* data, size_t count) {
    const std::optional<Answer> answer = next(Call::Write);
    if (fails(answer)) {
        return -1;
    }
    if (answer && answer->result >= 0) {
        count = std::min(count, static_cast<size_t>(answer->result));
        if (count == 0) {
            return 0;
        }
    }
    return active_->system_.write(fd, data, count);
}

int ScriptedSystemCalls::close(int fd) {
    const std::optional<Answer> answer = next(Call::Close);
    const int result = active_->system_.close(fd);
    return fails(answer) ? -1 : result;
}

int ScriptedSystemCalls::clockGettime(clockid_t clock, timespec* now) {
    const auto found = active_->clocks_.find(clock);
    if (found == active_->clocks_.end()) {
        return active_->system_.clockGettime(clock, now);
    }
    if (!found->second) {
        errno = EINVAL;
        return -1;
    }
    *now = *found->second;
    return 0;
}
