// The hidden form on Windows: its window, controls, pushed texts and message box.
#include "win32_form_runtime.h"

#include "message_box_catcher.h"
#include "window_class.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test_support::ClassOf;

std::string WindowText(HWND hwnd) {
    char text[4096] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The form's window and controls, found as any program would find them: the
// window of the form's class that this thread made (other test programs running at
// the same time have theirs).
BOOL CALLBACK KeepFormWindow(HWND window, LPARAM found) {
    if (ClassOf(window) != forms::kFormClass) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
HWND FormWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), KeepFormWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}
HWND Label(int index) {
    return GetDlgItem(FormWindow(), forms::kFormLabelIdBase + index);
}
HWND LogBox() {
    return GetDlgItem(FormWindow(), forms::kFormLogId);
}

TEST(Win32FormRuntime, FormIsHiddenWithEightyOneLabelsAndALogBox) {
    forms::Win32FormRuntime form;
    ASSERT_NE(FormWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(FormWindow()));
    EXPECT_EQ(ClassOf(FormWindow()), "frmSudoku");
    for (int i = 0; i < forms::kLabelCount; ++i) {
        ASSERT_NE(Label(i), nullptr);
        EXPECT_EQ(GetParent(Label(i)), FormWindow());
        EXPECT_EQ(ClassOf(Label(i)), "Static");
    }
    EXPECT_EQ(ClassOf(LogBox()), "Edit");
    EXPECT_TRUE(GetWindowLongA(LogBox(), GWL_STYLE) & ES_MULTILINE);
    // Label 9y + x: label 72 (top left) is above label 0, label 8 right of it.
    RECT r0;
    RECT r8;
    RECT r72;
    GetWindowRect(Label(0), &r0);
    GetWindowRect(Label(8), &r8);
    GetWindowRect(Label(72), &r72);
    EXPECT_LT(r72.top, r0.top);
    EXPECT_EQ(r72.left, r0.left);
    EXPECT_GT(r8.left, r0.left);
    EXPECT_EQ(r8.top, r0.top);
}

TEST(Win32FormRuntime, TextsReachTheControlsWhenTheRuntimeGetsControl) {
    forms::Win32FormRuntime form;
    forms::CaptionChars captions;
    captions.fill(' ');
    captions[0] = '1';
    captions[80] = '9';
    form.SetCaptions(captions);
    form.ProcessEvents();
    EXPECT_EQ(WindowText(Label(0)), "1");
    EXPECT_EQ(WindowText(Label(80)), "9");
    EXPECT_EQ(WindowText(Label(40)), " ");

    form.SetLogText("12:00:00 : un\r\n12:00:01 : deux");
    form.RepaintLog();
    EXPECT_EQ(WindowText(LogBox()), "12:00:00 : un\r\n12:00:01 : deux");

    captions[0] = '2';
    form.SetCaptions(captions);
    form.Flush();
    EXPECT_EQ(WindowText(Label(0)), "2");
}

// With the form's window, and without it (the system refuses to create it): the
// same box, owned by no window.
TEST(Win32FormRuntime, MessageBoxHasOneOkButtonAndNoIconWithOrWithoutTheForm) {
    for (const bool refuse : {false, true}) {
        SCOPED_TRACE(refuse ? "without the form" : "with the form");
        test_support::MessageBoxCatcher catcher(refuse ? forms::kFormClass : "");
        ASSERT_TRUE(catcher.Hooked());
        const auto form = forms::CreateWin32Form();
        const auto* windowed = dynamic_cast<forms::Win32FormRuntime*>(form.get());
        EXPECT_EQ(windowed == nullptr, refuse);
        form->ShowMessage("Erreur 5 (Accès refusé.)", "Sauve_Grille");
        ASSERT_EQ(catcher.Boxes().size(), 1u);
        const test_support::CaughtBox& box = catcher.Boxes()[0];
        EXPECT_EQ(box.caption, "Sauve_Grille");
        EXPECT_EQ(box.text, "Erreur 5 (Accès refusé.)");
        EXPECT_TRUE(box.okShown);
        EXPECT_FALSE(box.cancelShown);
        EXPECT_FALSE(box.iconShown);
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST(Win32FormRuntime, ProgramFolderIsTheModulesFolder) {
    forms::Win32FormRuntime form;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string expected(path);
    expected.erase(expected.find_last_of('\\'));
    EXPECT_EQ(form.ProgramFolder(), expected);
}

} // namespace
