#pragma once
// The rules and options kept between runs: read once when the main window is first shown, written
// every time it closes. Every value is a registry string; rule cells are stored exactly as the setup
// list holds them, so nothing here decodes a rule.
#include <string>

#include "base/errors.h"
#include "platform/registry.h"
#include "rules/settings_window.h"

namespace kelvaro {

// A value of the wrong type, or a key or value that could not be written.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Relative to HKEY_CURRENT_USER; holds the subkeys "Settings" (options, geometry, column widths) and
// "Files" (the rules).
inline const std::string kSettingsKey = "Software\\Tarnwell\\Kelvaro";

// Opens (and makes) the key, then reads options, bounds, view style, rules and column widths into the
// window, in that order, and finally applies the button style. Missing or unconvertible values take their
// defaults, except a stored "Count" that is not a whole number of 0 or more: then the rules are loaded up
// to the first one without a "Path" value. A value that is not a string takes its default too, and the
// load goes on to the end; then ERegistryException names the first such value.
void LoadSettings(Registry& registry, SettingsWindow& window, const std::string& keyPath = kSettingsKey);

// Writes the flags, the ticks and every rule; the bounds, view style and column widths only with
// "Save Settings On Exit" ticked. Rules beyond the new count are left in place. Throws ERegistryException at
// the first subkey or value that cannot be written, leaving the values written before it.
void SaveSettings(Registry& registry, SettingsWindow& window, const std::string& keyPath = kSettingsKey);

}  // namespace kelvaro
