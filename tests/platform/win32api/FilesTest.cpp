// Files through CreateFileA, WriteFile and CloseHandle: creation, replacement,
// sharing, the errors of a folder in the way, and on the stand-in the rare
// answers of the system calls behind them, and the clock behind GetTickCount.
#include "Win32TestSupport.h"

#ifndef _WIN32
#include "ScriptedSystemCalls.h"

#include <cerrno>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

HANDLE CreateForWriting(const char* name) {
    return CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TEST(Files, CreateAlwaysReplacesALongerFileCompletely) {
    ScratchFolder folder;
    std::ofstream("grid.txt", std::ios::binary) << std::string(1000, 'x');
    HANDLE file = CreateForWriting("grid.txt");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "1\n2\n", 4, &written, nullptr));
    EXPECT_EQ(written, 4u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(ReadFileBytes("grid.txt"), "1\n2\n");
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Files, AFolderOfThatNameCannotBeCreatedAsAFile) {
    ScratchFolder folder;
    std::filesystem::create_directory("solution.txt");
    HANDLE file = CreateForWriting("solution.txt");
    EXPECT_EQ(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    char reason[256] = "";
    EXPECT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             ERROR_ACCESS_DENIED, 0, reason, sizeof reason, nullptr),
              0u);
    EXPECT_NE(std::string(reason).find("ccess"), std::string::npos) << reason;
}

TEST(Files, AnUnsharedFileCannotBeOpenedTwiceNorTruncatedByTheSecondOpen) {
    ScratchFolder folder;
    HANDLE first = CreateForWriting("held.txt");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(first, "abc", 3, &written, nullptr);
    EXPECT_EQ(CreateForWriting("held.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(first);
    EXPECT_EQ(ReadFileBytes("held.txt"), "abc");
    HANDLE again = CreateForWriting("held.txt");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST(Files, MissingFolderInThePath) {
    ScratchFolder folder;
    EXPECT_EQ(CreateForWriting("missing/grid.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

} // namespace

#ifndef _WIN32
// The rare answers of the system calls behind the stand-in's files and clock,
// which only the stand-in can be given.
namespace {

const std::string kOld(1000, 'o');
const std::string kText(162, 't');

TEST(FilesOnTheStandIn, CreationFailsWholeOnAnyFailedCallAndTakesDescriptorZero) {
    const struct {
        Call call;
        int error;
        DWORD code;
    } cases[] = {
        {Call::Open, EACCES, ERROR_ACCESS_DENIED},
        {Call::Flock, EWOULDBLOCK, ERROR_SHARING_VIOLATION},
        {Call::Fstat, EACCES, ERROR_ACCESS_DENIED},
        {Call::Ftruncate, ENOSPC, ERROR_DISK_FULL},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.call));
        std::ofstream("grid.txt", std::ios::binary) << kOld;
        ScriptedSystemCalls system;
        system.script(c.call, {{-1, c.error}});
        EXPECT_EQ(CreateForWriting("grid.txt"), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.code);
        // The descriptor, if any was opened, is released; the file is untouched.
        EXPECT_EQ(system.calls(Call::Close), c.call == Call::Open ? 0 : 1);
        EXPECT_EQ(ReadFileBytes("grid.txt"), kOld);
    }

    // With no standard input, the file gets descriptor 0.
    const int input = dup(0);
    close(0);
    HANDLE file = CreateForWriting("grid.txt");
    DWORD written = 0;
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteFile(file, "1\n", 2, &written, nullptr));
    EXPECT_TRUE(CloseHandle(file));
    dup2(input, 0);
    close(input);
    EXPECT_EQ(ReadFileBytes("grid.txt"), "1\n");
}

TEST(FilesOnTheStandIn, WritesGoOnAfterShortAndInterruptedOnesAndReportWhatTheyTook) {
    const struct {
        const char* name;
        std::vector<Answer> writes;
        BOOL result;
        DWORD written;
    } cases[] = {
        {"short writes", {{100}, {30}}, TRUE, 162},
        {"interrupted", {{-1, EINTR}}, TRUE, 162},
        {"nothing more taken", {{100}, {0}}, TRUE, 100},
        {"nothing taken", {{0}}, TRUE, 0},
        {"disk full after a part", {{100}, {-1, ENOSPC}}, FALSE, 100},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HANDLE file = CreateForWriting("grid.txt");
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ScriptedSystemCalls system;
        system.script(Call::Write, c.writes);
        DWORD written = 99;
        EXPECT_EQ(WriteFile(file, kText.data(), 162, &written, nullptr), c.result);
        EXPECT_EQ(written, c.written);
        if (!c.result) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
        }
        CloseHandle(file);
        EXPECT_EQ(ReadFileBytes("grid.txt"), kText.substr(0, c.written));
    }
}

TEST(FilesOnTheStandIn, ClosingReleasesTheHandleWhateverCloseAnswers) {
    const struct {
        int error;
        BOOL result;
    } cases[] = {{EIO, FALSE}, {EINTR, TRUE}};
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        HANDLE file = CreateForWriting("grid.txt");
        ScriptedSystemCalls system;
        system.script(Call::Close, {{-1, c.error}});
        EXPECT_EQ(CloseHandle(file), c.result);
        EXPECT_FALSE(CloseHandle(file));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(system.calls(Call::Close), 1);
    }
}

TEST(FilesOnTheStandIn, TickCountReadsTheBootClockOrElseTheMonotonicOne) {
    const std::optional<timespec> none;
    const struct {
        std::optional<timespec> boot;
        std::optional<timespec> monotonic;
        DWORD ticks;
    } cases[] = {
        {timespec{5, 4'500'000}, none, 5004},
        {timespec{4'294'967, 303'000'000}, none, 7}, // 2^32 + 7 ms: the count wraps
        {none, timespec{9, 0}, 9000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        ScriptedSystemCalls system;
        system.setClock(CLOCK_BOOTTIME, c.boot);
        system.setClock(CLOCK_MONOTONIC, c.monotonic);
        EXPECT_EQ(GetTickCount(), c.ticks);
    }
    EXPECT_DEATH(
        {
            ScriptedSystemCalls system;
            system.setClock(CLOCK_BOOTTIME, none);
            system.setClock(CLOCK_MONOTONIC, none);
            GetTickCount();
        },
        "no clock");
}

} // namespace
#endif
