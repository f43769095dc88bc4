// The runtime's sequential files at the edges of what the system's calls return:
// reads of any size, a line that never ends, a failed read; writes that take part
// of the text, nothing, or fail.
#include "form_runtime.h"
#include "sequential_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Serves bytes in reads of at most `chunk` bytes; after `bytes`, an endless run of
// 'x' when `endless`, else the end of the file; -1 (EIO) once `failAt` bytes are out.
class ScriptedInput : public forms::InputFile {
public:
    ScriptedInput(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}
    bool endless = false;
    std::size_t failAt = std::string::npos;
    std::size_t served = 0;

protected:
    long ReadSome(char* buffer, std::size_t size) override {
        if (served >= failAt) {
            Fail(EIO);
            return -1;
        }
        // Past 16 MiB an endless source ends too, so that a reader without a bound
        // fails this test instead of hanging it.
        const std::size_t end = endless ? std::size_t{16} << 20 : bytes_.size();
        const std::size_t available = served < end ? end - served : 0;
        const std::size_t n = std::min({size, chunk_, available, failAt - served});
        for (std::size_t i = 0; i < n; ++i, ++served) {
            buffer[i] = served < bytes_.size() ? bytes_[served] : 'x';
        }
        return static_cast<long>(n);
    }

private:
    std::string bytes_;
    std::size_t chunk_;
};

std::vector<std::string> Lines(forms::InputFile& file) {
    std::vector<std::string> lines;
    std::string line;
    while (!file.AtEnd() && file.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(InputFile, LinesEndWithCrLfCrOrLfWhateverTheReadSizes) {
    using Lines_ = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        Lines_ lines;
    } cases[] = {
        {"CR LF", "ab\r\ncd\r\n", {"ab", "cd"}},
        {"lone CR and lone LF", "ab\rcd\nef", {"ab", "cd", "ef"}},
        {"LF CR is two line ends", "ab\n\rcd", {"ab", "", "cd"}},
        {"an empty line", "ab\r\n\r\ncd", {"ab", "", "cd"}},
        {"CR LF at the very end", "ab\r\n", {"ab"}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        for (const std::size_t chunk : {1u, 2u, 3u, 4096u}) {
            SCOPED_TRACE(std::string(c.name) + ", reads of " + std::to_string(chunk));
            ScriptedInput file(c.bytes, chunk);
            EXPECT_EQ(Lines(file), c.lines);
            EXPECT_EQ(file.Error().number, 0u);
        }
    }
}

TEST(InputFile, ALineThatNeverEndsIsAFaultyLine) {
    ScriptedInput file("1 2 3 4 5 6 7 8 9", 4096);
    file.endless = true;
    std::string line;
    ASSERT_FALSE(file.AtEnd());
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_LE(file.served, forms::InputFile::kMaxLine + 4096);
    // A line of exactly the bound still reads.
    ScriptedInput longest(std::string(forms::InputFile::kMaxLine, '7') + "\r\n", 1000);
    EXPECT_TRUE(longest.ReadLine(line));
    EXPECT_EQ(line.size(), forms::InputFile::kMaxLine);
    EXPECT_TRUE(longest.AtEnd());
}

TEST(InputFile, AFailedReadEndsTheFileAndFailsTheLine) {
    ScriptedInput file("ab\r\ncd", 1);
    file.failAt = 5; // within the second line
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(file.Error().number, static_cast<unsigned long>(EIO));
}

// Takes what `takes` says, one entry per call (the last one repeats): a count of
// bytes, 0, or -1 (EIO).
class ScriptedOutput : public forms::OutputFile {
public:
    explicit ScriptedOutput(std::vector<long> takes) : takes_(std::move(takes)) {}
    std::string written;
    int calls = 0;

protected:
    long WriteSome(const char* data, std::size_t size) override {
        const long take = takes_[std::min<std::size_t>(calls, takes_.size() - 1)];
        // A writer that retries nothing-written for ever is stopped here, so that
        // it fails this test instead of hanging it.
        if (++calls > 1000 || take < 0) {
            Fail(EIO);
            return -1;
        }
        const std::size_t n = std::min(static_cast<std::size_t>(take), size);
        written.append(data, n);
        return static_cast<long>(n);
    }

private:
    std::vector<long> takes_;
};

TEST(OutputFile, ShortWritesCompleteTheLineAndNothingWrittenIsADiskFull) {
    ScriptedOutput shortWrites({1, 2});
    EXPECT_TRUE(shortWrites.WriteLine("7"));
    EXPECT_TRUE(shortWrites.WriteLine("45"));
    EXPECT_EQ(shortWrites.written, "7\r\n45\r\n");

    ScriptedOutput nothing({1, 0});
    EXPECT_FALSE(nothing.WriteLine("7"));
    EXPECT_EQ(nothing.calls, 2);
#ifdef _WIN32
    EXPECT_EQ(nothing.Error().number, 112u); // ERROR_DISK_FULL
#else
    EXPECT_EQ(nothing.Error().number, static_cast<unsigned long>(ENOSPC));
    EXPECT_EQ(nothing.Error().description, "No space left on device");
#endif

    ScriptedOutput failing({-1});
    EXPECT_FALSE(failing.WriteLine("7"));
    EXPECT_EQ(failing.Error().number, static_cast<unsigned long>(EIO));
}

// A failed save gives its file up: the file that Open created is removed, a file
// that was there before stays (Open has cut it to nothing).
TEST(OutputFile, DiscardRemovesOnlyTheFileThatOpenCreated) {
    test_support::TempFolder folder;
    folder.Write("earlier.txt", "earlier");
    for (const char* name : {"new.txt", "earlier.txt"}) {
        ScriptedOutput file({0});
        ASSERT_TRUE(file.Open(folder.File(name)));
        EXPECT_FALSE(file.WriteLine("7"));
        file.Discard();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "new.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "earlier.txt"));
}

#ifndef _WIN32
#if defined(__SANITIZE_ADDRESS__)
// A buffer that grows without end (a failed readlink taken for a short one) stops
// this program at 256 MiB instead of exhausting the machine.
extern "C" const char* __asan_default_options() {
    return "max_allocation_size_mb=256";
}
#endif

// The link's target decides the folder; a link that cannot be read gives none,
// and a target longer than the first buffer is read whole.
TEST(FolderOfLink, FailureShortBufferAndRoot) {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::temp_directory_path() / ("folder-of-link-" + std::to_string(getpid()));
    fs::create_directories(base);
    const std::string longFolder = "/" + std::string(300, 'd');
    const struct {
        const char* name;
        std::string target;
        std::string folder;
    } cases[] = {
        {"short", "/opt/x/sudoku", "/opt/x"},
        {"at the root", "/sudoku", "/"},
        {"exactly the first buffer", "/" + std::string(248, 'e') + "/sudoku",
         "/" + std::string(248, 'e')},
        {"longer than the first buffer", longFolder + "/sudoku", longFolder},
        {"no folder at all", "sudoku", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path link = base / "link";
        fs::remove(link);
        fs::create_symlink(c.target, link);
        EXPECT_EQ(forms::FolderOfLink(link.string()), c.folder);
    }
    EXPECT_EQ(forms::FolderOfLink((base / "absent").string()), "");
    fs::remove_all(base);
}
#endif

} // namespace
