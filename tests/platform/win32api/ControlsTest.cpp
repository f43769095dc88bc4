// The built-in controls as code uses them: edit notifications and limits,
// button clicks, fonts, dialog item numbers, colours on a device context.
#include "Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Command {
    int id;
    int code;
    HWND control;
};
std::vector<Command> commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        commands.push_back(Command{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "StandInParent";
            registered = RegisterClassA(&wc) != 0;
        }
        parent =
            CreateWindowExA(0, "StandInParent", "parent", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                            30, 30, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
        ShowWindow(parent, SW_SHOWNORMAL);
        edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER, 10, 10,
                               31, 31, parent, reinterpret_cast<HMENU>(4000),
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(edit, nullptr);
        commands.clear();
    }
    void TearDown() override { DestroyWindow(parent); }

    // The notification codes of the edit, in order.
    std::vector<int> codes() const {
        std::vector<int> result;
        for (const Command& c : commands) {
            if (c.id == 4000 && c.control == edit) {
                result.push_back(c.code);
            }
        }
        return result;
    }

    int countCode(int code) const {
        int n = 0;
        for (const Command& c : commands) {
            n += c.id == 4000 && c.code == code && c.control == edit ? 1 : 0;
        }
        return n;
    }

    HWND parent = nullptr;
    HWND edit = nullptr;
};

TEST_F(Controls, EditTextChangesNotifyTheParentBeforeReturning) {
    EXPECT_TRUE(SetWindowTextA(edit, "4"));
    EXPECT_EQ(countCode(EN_CHANGE), 1);
    EXPECT_TRUE(SetDlgItemInt(parent, 4000, 7, TRUE));
    EXPECT_EQ(countCode(EN_CHANGE), 2);
    EXPECT_EQ(TextOf(edit), "7");
    EXPECT_TRUE(SetDlgItemTextA(parent, 4000, ""));
    EXPECT_EQ(countCode(EN_CHANGE), 3);
    EXPECT_EQ(TextOf(edit), "");
}

TEST_F(Controls, TypingGoesInAtTheCaretWithinTheLimitAndOnlyDigits) {
    // Each key, after the text set before it (if any), the text limit set before
    // it (if any) and a selection of the whole text (if asked): the text after
    // it and the edit's notifications, in order. A key that the one-character
    // limit refuses goes in as nothing, yet the change notifications follow as
    // after any key; a key typed over a selection replaces it within the limit.
    const std::vector<int> changed = {EN_UPDATE, EN_CHANGE};
    const struct Key {
        const char* before;
        int limit;
        bool selectAll;
        char c;
        const char* text;
        std::vector<int> codes;
    } keys[] = {
        {"12", 0, false, '3', "312", changed}, // at the caret, which WM_SETTEXT puts first
        {nullptr, 0, false, 'a', "312", {}},   // ES_NUMBER: only digits
        {nullptr, 0, false, '\b', "12", changed},
        {nullptr, 0, false, '\b', "12", {}}, // nothing before the caret
        {"", 1, false, '5', "5", changed},
        {nullptr, 0, false, '6', "5", {EN_MAXTEXT, EN_UPDATE, EN_CHANGE}},
        {"5", 0, true, '5', "5", changed},
        {"5", 0, true, '7', "7", changed},
        {"5", 0, true, '\b', "", changed},
    };
    for (const Key& key : keys) {
        SCOPED_TRACE(std::string("key ") + key.c + " over " + (key.before ? key.before : "-"));
        if (key.limit != 0) {
            SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(key.limit), 0);
        }
        if (key.before != nullptr) {
            SetWindowTextA(edit, key.before);
        }
        if (key.selectAll) {
            SendMessageA(edit, EM_SETSEL, 0, -1);
        }
        commands.clear();
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(key.c), 0);
        EXPECT_EQ(TextOf(edit), key.text);
        EXPECT_EQ(codes(), key.codes);
    }

    HWND readOnly =
        CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 40, 31, 31, parent,
                        reinterpret_cast<HMENU>(4003), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(readOnly, WM_CHAR, '5', 0);
    EXPECT_EQ(TextOf(readOnly), "");
}

TEST_F(Controls, EditLimitAndFont) {
    LRESULT initial = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
    EXPECT_EQ(initial, 30000);
    SendMessageA(edit, EM_LIMITTEXT, 1, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0), 0);
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)), font);
}

TEST_F(Controls, FocusChangesNotifyTheParent) {
    HWND other = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 50, 10, 31, 31, parent,
                                 reinterpret_cast<HMENU>(4001), GetModuleHandleA(nullptr), nullptr);
    SetFocus(other);
    commands.clear();
    SetFocus(edit);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(countCode(EN_SETFOCUS), 1);
    SetFocus(other);
    EXPECT_EQ(countCode(EN_KILLFOCUS), 1);
    EXPECT_EQ(countCode(EN_CHANGE), 0);
}

TEST_F(Controls, ButtonClickReachesTheParentEvenWhenDisabled) {
    HWND button = CreateWindowExA(0, "Button", "Solution", WS_CHILD | WS_VISIBLE | WS_DISABLED, 300,
                                  30, 180, 24, parent, reinterpret_cast<HMENU>(101),
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(TextOf(button), "Solution");
    SendMessageA(button, BM_CLICK, 0, 0);
    EnableWindow(button, TRUE);
    SendMessageA(button, BM_CLICK, 0, 0);
    ASSERT_EQ(commands.size(), 2u);
    for (const Command& c : commands) {
        EXPECT_EQ(c.id, 101);
        EXPECT_EQ(c.code, BN_CLICKED);
        EXPECT_EQ(c.control, button);
    }
}

TEST_F(Controls, DialogItemNumbers) {
    struct Case {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    };
    const Case cases[] = {
        {"", FALSE, 0, FALSE},
        {"7", FALSE, 7, TRUE},
        {"0", FALSE, 0, TRUE},
        {" 12 ", FALSE, 12, TRUE},
        {"\t5", FALSE, 5, TRUE},
        {" \t\v\f 3", FALSE, 3, TRUE},
        {"1a", FALSE, 1, TRUE},
        {"-3", TRUE, static_cast<UINT>(-3), TRUE},
        {"-3", FALSE, static_cast<UINT>(-3), TRUE},
        {"x", TRUE, 0, FALSE},
        {"a1", FALSE, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetDlgItemTextA(parent, 4000, c.text);
        BOOL translated = 2;
        EXPECT_EQ(GetDlgItemInt(parent, 4000, &translated, c.isSigned), c.value);
        EXPECT_EQ(translated, c.translated);
        EXPECT_EQ(GetDlgItemInt(parent, 4000, nullptr, c.isSigned), c.value);
    }
}

TEST_F(Controls, StaticColoursByDefaultHandling) {
    HWND label =
        CreateWindowExA(0, "Static", "5", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 31, 31, parent,
                        reinterpret_cast<HMENU>(4002), GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(TextOf(label), "5");
    HDC dc = GetDC(label);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SetBkMode(dc, OPAQUE);
    LRESULT brush = DefWindowProcA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    ReleaseDC(label, dc);
}

TEST_F(Controls, MessageBoxIsCaughtAndDisablesItsOwnerWhileOpen) {
    CbtRecorder recorder;
    SetFocus(edit);
    EXPECT_EQ(MessageBoxA(parent, "Texte é", "Titre", MB_OK), IDOK);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].caption, "Titre");
    EXPECT_EQ(recorder.boxes[0].text, "Texte é");
    EXPECT_EQ(recorder.boxes[0].owner, parent);
    EXPECT_FALSE(recorder.boxes[0].ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(parent));
    // The focus goes back to the owner itself, not to the control that had it.
    EXPECT_EQ(GetFocus(), parent);
}

} // namespace
