// The help file the program ships, in the platform's help engine: its contents, its topics by context
// number, and its keyword index, read back from the help window as a user sees them.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ui/help_win.h"
#include "windows/test_tree.h"

namespace kelvaro::testing {
namespace {

// A topic as the help source (copied beside the help file) gives it.
struct SourceTopic {
    std::string title;
    int context = 0;
    std::vector<std::string> keywords;
};

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<SourceTopic> ReadSource(const std::string& path) {
    std::vector<SourceTopic> topics;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = Trimmed(line);
        if (line.starts_with("@topic ")) {
            const auto space = line.find(' ', 7);
            topics.push_back({Trimmed(line.substr(space)), 0, {}});
        } else if (line.starts_with("@context ")) {
            topics.back().context = std::stoi(line.substr(9));
        } else if (line.starts_with("@keywords ")) {
            std::istringstream list(line.substr(10));
            for (std::string keyword; std::getline(list, keyword, ';');)
                topics.back().keywords.push_back(Trimmed(keyword));
        }
    }
    return topics;
}

// Keywords are ASCII, and the index orders them regardless of letter case.
std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

template <typename Found>
bool WaitFor(Found found, int tenths = 100) {
    for (int wait = 0; wait < tenths; ++wait) {
        if (found()) return true;
        Sleep(100);
    }
    return found();
}

std::string TextOf(HWND window) {
    char text[8192] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The first window below parent, at any depth, that the test accepts.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& accepts) {
    struct Search {
        const std::function<bool(HWND)>& accepts;
        HWND found;
    } search{accepts, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM into) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(into);
            if (!s.accepts(child)) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildOfClass(HWND parent, const std::string& className) {
    return FindChild(parent,
                     [&](HWND child) { return lstrcmpiA(ClassOf(child).c_str(), className.c_str()) == 0; });
}

// The help engine shown the program's help file. Wine's engine opens the file it finds through
// OpenFile, which takes no path of 128 characters or more: it is shown a copy in a short folder,
// wherever the build lies (ctest runs the tests in the build folder, where the files are copied).
class HelpViewer : public ::testing::Test {
protected:
    HelpViewer() {
        EXPECT_TRUE(CopyFileA("Kelvaro.hlp", (folder_.Path() + "\\Kelvaro.hlp").c_str(), FALSE));
        GetCurrentDirectoryA(MAX_PATH, buildFolder_);
        EXPECT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    }
    ~HelpViewer() override {
        RunHelpCommand(owner_, HELP_QUIT, 0);
        WaitFor([] { return !FindWindowA("MS_WINHELP", nullptr); }, 50);
        DestroyWindow(owner_);
        SetCurrentDirectoryA(buildFolder_);
    }
    HWND Help() const { return FindWindowA("MS_WINHELP", nullptr); }
    // The topic the help window shows: the first line of its text, which is the topic's title.
    std::string Shown() const {
        HWND text = Help() ? ChildOfClass(Help(), "RichEdit20A") : nullptr;
        if (!text) text = Help() ? ChildOfClass(Help(), "RichEdit20W") : nullptr;
        if (!text) return {};
        const std::string all = TextOf(text);
        return Trimmed(all.substr(0, all.find_first_of("\r\n")));
    }
    bool Shows(const std::string& title) const {
        return WaitFor([&] { return Shown() == title; });
    }
    // The Index button's sheet, opened from the help window; its first page lists the keywords.
    HWND OpenIndex() const {
        HWND button = nullptr;
        WaitFor([&] {
            button = FindChild(Help(), [](HWND child) {
                return lstrcmpiA(ClassOf(child).c_str(), "Button") == 0 &&
                       TextOf(child).find("Index") != std::string::npos;
            });
            return button != nullptr;
        });
        if (!button) return nullptr;
        PostMessageA(button, BM_CLICK, 0, 0);
        HWND sheet = nullptr;
        WaitFor([&] {
            sheet = nullptr;
            EnumWindows(
                [](HWND window, LPARAM into) -> BOOL {
                    if (ClassOf(window) != "#32770" || !IsWindowVisible(window) ||
                        !ChildOfClass(window, "ListBox"))
                        return TRUE;
                    *reinterpret_cast<HWND*>(into) = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&sheet));
            return sheet != nullptr;
        });
        return sheet;
    }
    static std::vector<std::string> Listed(HWND list) {
        std::vector<std::string> items;
        const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        // The list is another process's: asked in its own character set, which is wide.
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text, text + lstrlenW(text));
        }
        return items;
    }

    HWND owner_ =
        CreateWindowA("STATIC", "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const std::vector<SourceTopic> topics_ = ReadSource("kelvaro_help.txt");

private:
    TempFolder folder_;
    char buildFolder_[MAX_PATH] = {};
};

TEST_F(HelpViewer, ContentsOpenTheProgramsHelpFile) {
    RunHelpCommand(owner_, HELP_FINDER, 0);
    ASSERT_TRUE(WaitFor([&] { return Help() != nullptr; })) << "no help window";
    EXPECT_TRUE(Shows("Kelvaro Help Contents")) << Shown();
    // The caption is the help file's own title, not the help engine's name.
    char caption[256] = {};
    GetWindowTextA(Help(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Kelvaro Help");
}

// Every topic opens by its context number, and the windows' F1 numbers name the topics they mean.
TEST_F(HelpViewer, ContextNumbersOpenTheirTopics) {
    ASSERT_GE(topics_.size(), 10u) << "the help source was not found beside the help file";
    for (const SourceTopic& topic : topics_) {
        ASSERT_NE(topic.context, 0) << topic.title << " has no context number";
        RunHelpCommand(owner_, HELP_CONTEXT, static_cast<ULONG_PTR>(topic.context));
        EXPECT_TRUE(Shows(topic.title)) << topic.context << " shows " << Shown();
    }
    const struct {
        ULONG_PTR context;
        const char* title;
    } windows[] = {{help_topic::kRules, "Adding and Editing Rules"},
                   {help_topic::kProtectedFolders, "Protected Folders"}};
    for (const auto& w : windows) {
        RunHelpCommand(owner_, HELP_CONTEXT, w.context);
        EXPECT_TRUE(Shows(w.title)) << w.context << " shows " << Shown();
    }
}

// The Index lists every keyword of the source once, in alphabetical order, and each topic's keywords
// lead to that topic.
TEST_F(HelpViewer, IndexKeywordsLeadToTheirTopics) {
    std::vector<std::string> expected;
    for (const SourceTopic& topic : topics_)
        expected.insert(expected.end(), topic.keywords.begin(), topic.keywords.end());
    ASSERT_GE(expected.size(), 30u) << "the help source was not found beside the help file";
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return Upper(a) < Upper(b); });

    RunHelpCommand(owner_, HELP_FINDER, 0);
    ASSERT_TRUE(Shows("Kelvaro Help Contents"));
    bool listChecked = false;
    for (const SourceTopic& topic : topics_)
        for (const std::string& keyword : {topic.keywords.front(), topic.keywords.back()}) {
            HWND sheet = OpenIndex();
            ASSERT_TRUE(sheet) << "no index opened from " << Shown();
            HWND list = ChildOfClass(sheet, "ListBox");
            const std::vector<std::string> listed = Listed(list);
            if (!listChecked) {
                EXPECT_EQ(listed, expected);
                listChecked = true;
            }
            const auto at = std::find(listed.begin(), listed.end(), keyword);
            ASSERT_NE(at, listed.end()) << keyword;
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at - listed.begin()), 0);
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            EXPECT_TRUE(Shows(topic.title)) << keyword << " leads to " << Shown();
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }));
        }
}

}  // namespace
}  // namespace kelvaro::testing
