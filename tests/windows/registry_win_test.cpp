// The registry layer and the settings store against Wine's real registry, under a private key.
#include <windows.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "rules/settings_store.h"

namespace kelvaro::testing {
namespace {

class PlainWindow : public SettingsWindow {
public:
    bool confirm = false, recycle = false, boot = false, save = false, office97 = false;
    WindowBounds bounds{};
    ViewStyle style = ViewStyle::Report;
    std::array<int, 6> resultsWidths{}, setupWidths{};
    std::vector<RuleRow> rules;

    bool ConfirmDelete() const override { return confirm; }
    bool UseRecycleBin() const override { return recycle; }
    void SetConfirmDelete(bool value) override { confirm = value; }
    void SetUseRecycleBin(bool value) override { recycle = value; }
    void ShowFlagState() override {}
    bool RunAtBootTick() const override { return boot; }
    bool SaveOnExitTick() const override { return save; }
    bool Office97Tick() const override { return office97; }
    void SetRunAtBootTick(bool ticked) override { boot = ticked; }
    void SetSaveOnExitTick(bool ticked) override { save = ticked; }
    void SetOffice97Tick(bool ticked) override { office97 = ticked; }
    WindowBounds Bounds() const override { return bounds; }
    void SetWidth(int width) override { bounds.width = width; }
    void SetTop(int top) override { bounds.top = top; }
    void SetLeft(int left) override { bounds.left = left; }
    void SetHeight(int height) override { bounds.height = height; }
    ViewStyle ResultsViewStyle() const override { return style; }
    void ApplyResultsViewStyle(ViewStyle value) override { style = value; }
    int ResultsColumnWidth(int column) const override { return resultsWidths.at(column); }
    int SetupColumnWidth(int column) const override { return setupWidths.at(column); }
    void SetResultsColumnWidth(int column, int width) override { resultsWidths.at(column) = width; }
    void SetSetupColumnWidth(int column, int width) override { setupWidths.at(column) = width; }
    int RuleCount() const override { return static_cast<int>(rules.size()); }
    RuleRow Rule(int index) const override { return rules.at(index); }
    void AppendRule(const RuleRow& row) override { rules.push_back(row); }
    void ApplyButtonStyle() override {}

    std::string Describe() const {
        std::string text;
        for (bool flag : {confirm, recycle, boot, save, office97}) text += flag ? '1' : '0';
        for (int value : {bounds.left, bounds.top, bounds.width, bounds.height, static_cast<int>(style)})
            text += " " + std::to_string(value);
        for (int width : resultsWidths) text += " " + std::to_string(width);
        for (int width : setupWidths) text += " " + std::to_string(width);
        for (const RuleRow& row : rules) {
            text += "\n" + row.Caption;
            for (const std::string& cell : row.SubItems) text += "|" + cell;
        }
        return text;
    }
};

class RegistryWin : public ::testing::Test {
protected:
    RegistryWin() : path_("Software\\Tarnwell\\KelvaroTest-" + std::to_string(GetCurrentProcessId())) {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    ~RegistryWin() override { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

    // Stores raw bytes under path_\subkey, the way another tool might.
    void Put(const std::string& subkey, const std::string& name, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (path_ + "\\" + subkey).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // What is stored: its type, its size in the registry's own UTF-16 form, and the text the "A" call gives.
    struct Raw {
        DWORD type = REG_NONE;
        DWORD wideBytes = 0;
        std::string text;
    };
    Raw Query(const std::string& subkey, const std::string& name) {
        Raw raw;
        HKEY key = nullptr;
        const std::string path = path_ + "\\" + subkey;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return raw;
        const std::wstring wideName(name.begin(), name.end());
        RegQueryValueExW(key, wideName.c_str(), nullptr, &raw.type, nullptr, &raw.wideBytes);
        char buffer[256];
        DWORD size = sizeof buffer;
        if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS)
            raw.text.assign(buffer, size);
        RegCloseKey(key);
        return raw;
    }

    std::string path_;
    std::unique_ptr<Registry> registry_ = MakePlatformRegistry();
};

TEST_F(RegistryWin, StringsAreWrittenWithoutTheirTerminatingZero) {
    auto key = registry_->OpenKey(path_ + "\\Files", true);
    ASSERT_NE(key, nullptr);
    for (const std::string& text : {std::string("Path1"), std::string(), std::string("C:\\Caf\xe9")}) {
        ASSERT_TRUE(key->WriteString("v", text));
        Raw raw = Query("Files", "v");
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(raw.wideBytes, 2 * text.size()) << text;
        EXPECT_EQ(raw.text, text);
        RegistryValue value = key->ReadValue("v");
        EXPECT_EQ(value.type, RegistryValueType::String);
        EXPECT_EQ(value.data, text);
    }
}

TEST_F(RegistryWin, AKeyOpenedForReadingGivesItsValuesAndTakesNoWrite) {
    Put("Shell", "Startup", REG_SZ, std::string("C:\\S\0", 5));
    auto key = registry_->OpenKeyForReading(path_ + "\\Shell");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadValue("Startup").data, std::string("C:\\S\0", 5));
    EXPECT_FALSE(key->WriteString("Startup", "D:\\"));
    EXPECT_EQ(Query("Shell", "Startup").text, std::string("C:\\S\0", 5));
    EXPECT_EQ(registry_->OpenKeyForReading(path_ + "\\Absent"), nullptr);
    EXPECT_EQ(Query("Absent", "Startup").type, static_cast<DWORD>(REG_NONE));  // not made either
}

TEST(RegistryClassesRoot, KeysAreFoundUnderTheFileTypesNotTheUser) {
    auto classes = MakePlatformClassesRoot();
    auto icon = classes->OpenKeyForReading("exefile\\DefaultIcon");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->ReadValue("").data.substr(0, 2), "%1");
    EXPECT_EQ(classes->OpenKeyForReading("Software"), nullptr);  // the user's root has it, the types' not
}

TEST_F(RegistryWin, ValuesAreReadWithTheirTypeAndBytesUnexpanded) {
    Put("Settings", "sz", REG_SZ, std::string("ab\0cd\0", 6));
    Put("Settings", "expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15));
    Put("Settings", "dword", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    Put("Settings", "binary", REG_BINARY, "abc");
    Put("Settings", "multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    auto settings = registry_->OpenKey(path_ + "\\Settings", false);
    ASSERT_NE(settings, nullptr);
    RegistryValue sz = settings->ReadValue("sz");
    EXPECT_EQ(sz.type, RegistryValueType::String);
    EXPECT_EQ(sz.data, std::string("ab\0cd\0", 6));
    RegistryValue expand = settings->ReadValue("expand");
    EXPECT_EQ(expand.type, RegistryValueType::ExpandString);
    EXPECT_EQ(expand.data, std::string("%SystemRoot%\\x\0", 15));
    for (const char* name : {"dword", "binary", "multi"}) {
        EXPECT_EQ(settings->ReadValue(name).type, RegistryValueType::Other) << name;
    }
    EXPECT_EQ(settings->ReadValue("absent").type, RegistryValueType::Missing);

    EXPECT_EQ(registry_->OpenKey(path_ + "\\Files", false), nullptr);
    EXPECT_EQ(settings->OpenKey("Deeper", false), nullptr);
    EXPECT_NE(settings->OpenKey("Deeper", true), nullptr);
    EXPECT_NE(settings->OpenKey("Deeper", false), nullptr);
}

TEST_F(RegistryWin, LoadTakesTextsToTheFirstZeroAndGoesOnPastADwordValue) {
    Put("Files", "Count", REG_SZ, "0x2");
    Put("Files", "Path1", REG_SZ, std::string("D:\\Temp\0C:\\", 11));
    Put("Files", "Spec1", REG_EXPAND_SZ, std::string("%TEMP%\0", 7));
    Put("Files", "Age2", REG_MULTI_SZ, std::string("> 3 Days\0\0", 10));
    Put("Settings", "Width", REG_SZ, "0x200");
    Put("Settings", "Height", REG_DWORD, std::string("\x10\x00\x00\x00", 4));
    PlainWindow window;
    try {
        LoadSettings(*registry_, window, path_);
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Height'");
    }
    EXPECT_EQ(window.bounds.width, 512);
    EXPECT_EQ(window.bounds.height, 300);
    ASSERT_EQ(window.rules.size(), 2u);
    EXPECT_EQ(window.rules[0].Caption, "D:\\Temp");
    EXPECT_EQ(window.rules[0].SubItems[0], "%TEMP%");
    EXPECT_EQ(window.rules[1].Caption, "C:\\");
    EXPECT_EQ(window.rules[1].SubItems[1], " ");
}

TEST_F(RegistryWin, SavedSettingsLoadBackUnchanged) {
    PlainWindow saved;
    saved.confirm = true;
    saved.boot = true;
    saved.save = true;
    saved.bounds = {-8, 12, 800, 600};
    saved.style = ViewStyle::SmallIcons;
    saved.resultsWidths = {1, 2, 3, 4, 5, 6};
    saved.setupWidths = {7, 8, 9, 10, 11, 0};
    saved.rules = {{"C:\\Caf\xe9\\", {"*.~*", ">=30 Days", "< 12 KBytes", "Yes", " "}},
                   {"\\\\server\\share\\", {"*.lnk", "  ", "  ", "", "Yes"}}};
    SaveSettings(*registry_, saved, path_);
    EXPECT_EQ(Query("Files", "Count").text, "2");
    EXPECT_EQ(Query("Settings", "Style").text, "Small");
    EXPECT_EQ(Query("Settings", "Left").text, "-8");

    PlainWindow loaded;
    LoadSettings(*registry_, loaded, path_);
    EXPECT_EQ(loaded.Describe(), saved.Describe());
}

}  // namespace
}  // namespace kelvaro::testing
