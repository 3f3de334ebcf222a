// The automatic runs' history as the registry may hold it: read without failing, only whole numbers kept,
// and written back the way it reads.
#include <cstdlib>
#include <map>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "run/automatic_guard.h"

namespace {

class MemoryKey : public kelvaro::RegistryKey {
public:
    std::map<std::string, kelvaro::RegistryValue> values;
    std::unique_ptr<kelvaro::RegistryKey> OpenKey(const std::string&, bool) override { return nullptr; }
    kelvaro::RegistryValue ReadValue(const std::string& name) override {
        auto found = values.find(name);
        return found == values.end() ? kelvaro::RegistryValue{} : found->second;
    }
    bool WriteString(const std::string& name, const std::string& text) override {
        values[name] = {kelvaro::RegistryValueType::String, text};
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = kelvaro::fuzzing::Fields(data, size, 2 * kelvaro::kHistoryRuns);
    MemoryKey key;
    for (std::size_t i = 0; i < kelvaro::kHistoryRuns; ++i) {
        const std::string n = std::to_string(i + 1);
        key.values["Files" + n] = {kelvaro::RegistryValueType::String, fields[2 * i]};
        key.values["Bytes" + n] = {kelvaro::RegistryValueType::String, fields[2 * i + 1]};
    }
    const std::vector<kelvaro::RunFigures> history = kelvaro::ReadRunHistory(key);
    for (const kelvaro::RunFigures& run : history)
        if (run.files < 0 || run.bytes < 0) std::abort();
    kelvaro::GuardStopsRun({12, 3456}, history);
    kelvaro::GuardQuestion({12, 3456}, history, true);
    if (!kelvaro::WriteRunHistory(key, {7, 8})) std::abort();
    const std::vector<kelvaro::RunFigures> after = kelvaro::ReadRunHistory(key);
    if (after.empty() || after.front().files != 7 || after.front().bytes != 8) std::abort();
    return 0;
}
