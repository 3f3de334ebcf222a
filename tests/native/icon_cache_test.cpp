// Which file types share one icon, read from a stand-in of the file-type registry, and what is cached.
#include "shell/icon_cache.h"

#include <gtest/gtest.h>

#include <map>

namespace kelvaro::testing {
namespace {

// Keys by path, each with its default value (a present key without one holds "").
class FileTypes : public Registry {
public:
    std::map<std::string, std::string> keys;
    std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    std::unique_ptr<RegistryKey> OpenKeyForReading(const std::string& path) override {
        auto found = keys.find(path);
        return found == keys.end() ? nullptr : std::make_unique<Key>(found->second);
    }

private:
    class Key : public RegistryKey {
    public:
        explicit Key(std::string value) : value_(std::move(value)) {}
        std::unique_ptr<RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
        RegistryValue ReadValue(const std::string& name) override {
            if (!name.empty() || value_.empty()) return {};
            return {RegistryValueType::String, value_ + '\0'};
        }
        bool WriteString(const std::string&, const std::string&) override { return false; }

    private:
        std::string value_;
    };
};

TEST(IconCache, OnlyTypesWithOneIconForAllTheirFilesAreAskedOnce) {
    FileTypes types;
    types.keys = {{".TXT", "txtfile"}, {"txtfile\\DefaultIcon", "notepad.exe,1"},
                  {".DOC", "docfile"}, {"docfile\\shellex\\IconHandler", "{x}"},
                  {".BMP", "bmpfile"}, {"bmpfile\\DefaultIcon", "%1"},
                  {".EXE", "exefile"}, {".ZZZ", ""}};
    int lookups = 0;
    IconCache icons(types,
                    [&](const std::string& path) { return ++lookups * 10 + static_cast<int>(path.size()); });
    struct Case {
        const char* extension;
        bool shared;
    };
    for (Case c : {Case{".TXT", true},
                   {".ZZZ", true},
                   {".NONE", true},
                   {".DOC", false},
                   {".BMP", false},
                   {".EXE", false},
                   {"", false}}) {
        int before = lookups;
        int first = icons.IndexOf(std::string("a") + c.extension, c.extension);
        int second = icons.IndexOf(std::string("bb") + c.extension, c.extension);
        EXPECT_EQ(lookups - before, c.shared ? 1 : 2) << c.extension;
        EXPECT_EQ(first == second, c.shared) << c.extension;
    }
    icons.Clear();
    int before = lookups;
    icons.IndexOf("a.TXT", ".TXT");
    EXPECT_EQ(lookups, before + 1);
}

}  // namespace
}  // namespace kelvaro::testing
