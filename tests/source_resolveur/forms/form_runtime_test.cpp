// The in-memory side of the form runtime and its headless implementation.
#include "headless_runtime.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace {

TEST(FormRuntime, CaptionsStartUnsetAndAreReplacedAllAtOnce) {
    forms::HeadlessRuntime form;
    forms::CaptionChars none;
    none.fill('\0');
    EXPECT_EQ(form.Captions(), none);
    forms::CaptionChars all;
    all.fill('4');
    all[10] = ' ';
    form.SetCaptions(all);
    EXPECT_EQ(form.Captions(), all);
}

TEST(FormRuntime, LogTextIsKeptAsSet) {
    forms::HeadlessRuntime form;
    EXPECT_EQ(form.LogText(), "");
    form.SetLogText("a\r\nb");
    EXPECT_EQ(form.LogText(), "a\r\nb");
}

TEST(FormRuntime, ProgramFolderIsTheExecutablesOwn) {
    forms::HeadlessRuntime form;
    const std::string folder = form.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_NE(folder.back(), '\\');
    bool foundSelf = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        foundSelf |= entry.path().filename().string().rfind("form_runtime_tests", 0) == 0;
    }
    EXPECT_TRUE(foundSelf) << folder;
    // The current directory has no say.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    EXPECT_EQ(form.ProgramFolder(), folder);
    std::filesystem::current_path(before);
}

TEST(FormRuntime, TimeOfDayShowsHoursMinutesAndSeconds) {
    forms::HeadlessRuntime form;
    const std::string time = form.TimeOfDay();
#ifdef _WIN32
    EXPECT_GE(time.size(), 7u) << time;
    EXPECT_EQ(std::count(time.begin(), time.end(), ':'), 2) << time;
#else
    ASSERT_EQ(time.size(), 8u) << time;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) {
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(time[i]))) << time;
    }
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
#endif
}

TEST(HeadlessRuntime, MessageGoesToStandardError) {
    forms::HeadlessRuntime form;
    testing::internal::CaptureStderr();
    form.ShowMessage("Erreur 5 (Accès refusé)", "Sauve_Grille");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Sauve_Grille: Erreur 5 (Accès refusé)\n");
}

#ifndef _WIN32
TEST(HeadlessRuntimeDeathTest, EndNowEndsWithTheExitCode) {
    EXPECT_EXIT(
        {
            forms::HeadlessRuntime form;
            form.EndNow(7);
        },
        ::testing::ExitedWithCode(7), "");
}
#endif

} // namespace
