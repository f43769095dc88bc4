// Files through CreateFileA and WriteFile: creation, replacement, sharing and
// the errors of a folder in the way or a full device.
#include "Win32TestSupport.h"

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

#ifndef _WIN32
// Only a POSIX test can make the link; under Wine the program behaves alike.
TEST(Files, AWriteToAFullDeviceFails) {
    ScratchFolder folder;
    std::filesystem::create_symlink("/dev/full", "full.txt");
    HANDLE file = CreateForWriting("full.txt");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(file, "1\n", 2, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    CloseHandle(file);
}
#endif

TEST(Files, MissingFolderInThePath) {
    ScratchFolder folder;
    EXPECT_EQ(CreateForWriting("missing/grid.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

} // namespace
