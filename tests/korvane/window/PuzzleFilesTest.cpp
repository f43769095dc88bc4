// WritePuzzleFiles when masque.txt cannot be had (a folder in its place, another run
// holding it): it returns false after one line on the debug output, and solution.txt
// is as it was, released for other programs, or gone again when the call made it.
#include "PuzzleFiles.h"
#include "MainWindowFixture.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Opens the file unshared: this fails while any other handle holds it.
bool OpenedAlone(const char* name) {
    HANDLE file =
        CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

class PuzzleFilesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        fs::create_directory("files");
        fs::current_path("files");
    }
};

// The debug output of this process, caught as a debugger would catch it.
std::string debugOutput;
LONG CALLBACK KeepDebugOutput(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode != DBG_PRINTEXCEPTION_C) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    debugOutput += reinterpret_cast<const char*>(e->ExceptionRecord->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST_F(PuzzleFilesTest, AMaskThatCannotBeHadLeavesTheSolutionAsItWasAndFree) {
    const PVOID debugCatcher = AddVectoredExceptionHandler(1, KeepDebugOutput);
    for (const bool held : {false, true}) {
        for (const bool earlier : {false, true}) {
            SCOPED_TRACE(std::string(held ? "masque.txt held" : "masque.txt a folder") +
                         (earlier ? ", an earlier solution.txt" : ""));
            fs::remove_all("masque.txt");
            fs::remove("solution.txt");
            if (earlier) {
                std::ofstream("solution.txt") << "earlier";
            }
            HANDLE other = INVALID_HANDLE_VALUE; // another run, holding masque.txt
            if (held) {
                other = CreateFileA("masque.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0);
            } else {
                fs::create_directory("masque.txt");
            }
            debugOutput.clear();
            EXPECT_FALSE(WritePuzzleFiles());
            if (held) {
                CloseHandle(other);
            }
            EXPECT_EQ(debugOutput.rfind(held ? "korvane: masque.txt: cannot open the file: in use "
                                               "by another program\n"
                                             : "korvane: masque.txt: cannot create the file: ",
                                        0),
                      0u)
                << debugOutput;
            EXPECT_EQ(ReadFileBytes("solution.txt"), earlier ? "earlier" : "");
            EXPECT_EQ(fs::exists("solution.txt") && OpenedAlone("solution.txt"), earlier);
        }
    }
    RemoveVectoredExceptionHandler(debugCatcher);
}

} // namespace
