// The in-memory side of the form runtime and its headless implementation.
#include "headless_runtime.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace {

TEST(FormRuntime, CaptionsStartUnsetAndAreCheckedByIndex) {
    forms::HeadlessRuntime form;
    EXPECT_EQ(form.Caption(0), "");
    EXPECT_EQ(form.Caption(80), "");
    form.SetCaption(80, '7');
    EXPECT_EQ(form.Caption(80), "7");
    form.SetCaption(3, ' ');
    EXPECT_EQ(form.Caption(3), " ");
    EXPECT_THROW(form.SetCaption(81, '1'), std::out_of_range);
    EXPECT_THROW(form.SetCaption(-1, '1'), std::out_of_range);
    EXPECT_THROW((void)form.Caption(81), std::out_of_range);
}

TEST(FormRuntime, SetCaptionsReplacesAllAndCountsRewrites) {
    forms::HeadlessRuntime form;
    forms::CaptionChars all;
    all.fill('4');
    all[10] = ' ';
    form.SetCaptions(all);
    form.SetCaptions(all);
    EXPECT_EQ(form.CaptionUpdates(), 2);
    EXPECT_EQ(form.Caption(10), " ");
    EXPECT_EQ(form.Caption(11), "4");
}

TEST(FormRuntime, LogTextIsKeptAsSet) {
    forms::HeadlessRuntime form;
    EXPECT_EQ(form.LogText(), "");
    form.SetLogText("a\r\nb");
    EXPECT_EQ(form.LogText(), "a\r\nb");
}

TEST(FormRuntime, ProgramFolderIsTheExecutablesOwnOrTheInjectedOne) {
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
    form.SetProgramFolder("/scratch/place");
    EXPECT_EQ(form.ProgramFolder(), "/scratch/place");
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

TEST(HeadlessRuntime, MessageGoesToStandardErrorAndIsKept) {
    forms::HeadlessRuntime form;
    testing::internal::CaptureStderr();
    form.ShowMessage("Erreur 5 (Accès refusé)", "Sauve_Grille");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Sauve_Grille: Erreur 5 (Accès refusé)\n");
    ASSERT_EQ(form.Messages().size(), 1u);
    EXPECT_EQ(form.Messages()[0].title, "Sauve_Grille");
    EXPECT_EQ(form.Messages()[0].text, "Erreur 5 (Accès refusé)");
}

TEST(HeadlessRuntime, PointerAndEventRounds) {
    forms::HeadlessRuntime form;
    EXPECT_FALSE(form.BusyPointer());
    form.SetBusyPointer(true);
    EXPECT_TRUE(form.BusyPointer());
    form.ProcessEvents();
    form.ProcessEvents();
    EXPECT_EQ(form.EventRounds(), 2);
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
