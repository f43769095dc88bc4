// Rare answers of the system calls behind the Win32 stand-in, for tests that
// run on the stand-in only.
#pragma once

#include "SystemCalls.h"

#include <array>
#include <ctime>
#include <deque>
#include <map>
#include <optional>
#include <vector>

enum class Call { Open, Flock, Fstat, Ftruncate, Write, Close, Count };

// What one call answers: -1 fails with the error number (a close that fails
// has released the descriptor all the same, as Linux's does). A write's answer
// n >= 0 takes at most n bytes, none for 0. Any other answer makes the system's
// own call.
struct Answer {
    long result;
    int error = 0;
};

// While it lives, each call of the stand-in gives the next answer scripted for
// its kind, then the system's own answers; the clocks read the times set here.
// One at a time.
class ScriptedSystemCalls {
public:
    ScriptedSystemCalls();
    ~ScriptedSystemCalls();

    void script(Call call, std::vector<Answer> answers);
    // The time that the clock reads from now on; no time makes it fail.
    void setClock(clockid_t clock, std::optional<timespec> now);
    // How many calls of that kind the stand-in made.
    int calls(Call call) const { return calls_[static_cast<int>(call)]; }

    // The system calls are the stand-in's, for one script at a time.
    ScriptedSystemCalls(const ScriptedSystemCalls&) = delete;
    ScriptedSystemCalls& operator=(const ScriptedSystemCalls&) = delete;

private:
    static ScriptedSystemCalls* active_;
    static std::optional<Answer> next(Call call);
    static int open(const char* path, int flags, mode_t mode);
    static int flock(int fd, int operation);
    static int fstat(int fd, struct stat* status);
    static int ftruncate(int fd, off_t length);
    static ssize_t write(int fd, const void* data, size_t count);
    static int close(int fd);
    static int clockGettime(clockid_t clock, timespec* now);

    standin::SystemCalls system_; // the calls that were in place, the system's own
    std::array<std::deque<Answer>, static_cast<int>(Call::Count)> answers_;
    std::array<int, static_cast<int>(Call::Count)> calls_{};
    std::map<clockid_t, std::optional<timespec>> clocks_;
};
