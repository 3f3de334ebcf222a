// The settings as the registry may hold them, values of any name, type and text: the load never fails but
// with the store's own error, and what it loaded is saved and loaded again the same.
#include <cstdlib>

#include "base/errors.h"
#include "fuzz/fuzz_input.h"
#include "native/settings_fakes.h"

namespace {

using kelvaro::testing::FakeWindow;
using kelvaro::testing::MemoryRegistry;
using kelvaro::testing::RowText;

void Load(MemoryRegistry& registry, FakeWindow& window) {
    try {
        kelvaro::LoadSettings(registry, window);
    } catch (const kelvaro::Exception&) {
    }
}

}  // namespace

// Each field is one value: a first byte choosing its subkey and type, then "name=text".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryRegistry registry;
    registry.keys[kelvaro::kSettingsKey];
    for (const std::string& field : kelvaro::fuzzing::Fields(data, size, 48)) {
        if (field.size() < 2) continue;
        const auto choice = static_cast<unsigned char>(field[0]);
        const std::size_t equals = field.find('=', 1);
        const std::string name =
            field.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
        const std::string text = equals == std::string::npos ? std::string() : field.substr(equals + 1);
        const kelvaro::RegistryValueType types[] = {kelvaro::RegistryValueType::String,
                                                    kelvaro::RegistryValueType::ExpandString,
                                                    kelvaro::RegistryValueType::Other};
        registry.Put(choice % 2 ? "Files" : "Settings", name, text, types[(choice / 2) % 3]);
    }
    FakeWindow first;
    Load(registry, first);
    try {
        kelvaro::SaveSettings(registry, first);
    } catch (const kelvaro::Exception&) {
        std::abort();  // every key and value of the memory registry can be written
    }
    FakeWindow again;
    Load(registry, again);
    if (again.rules.size() != first.rules.size()) std::abort();
    for (std::size_t i = 0; i < first.rules.size(); ++i)
        if (RowText(again.rules[i]) != RowText(first.rules[i])) std::abort();
    if (again.confirm != first.confirm || again.recycle != first.recycle) std::abort();
    return 0;
}
