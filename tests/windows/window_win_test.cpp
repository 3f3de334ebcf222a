// A window the system will not create is an error, not an object with no window.
#include "ui/window_win.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace kelvaro::testing {
namespace {

class UnregisteredWindow : public Window {
public:
    UnregisteredWindow() { Create("KelvaroNoSuchClass", "", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr); }
};

TEST(Window, CreationFailureThrowsNamingTheClass) {
    try {
        UnregisteredWindow window;
        FAIL() << "created a window of a class that was never registered";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("KelvaroNoSuchClass"), std::string::npos) << error.Message();
    }
}

}  // namespace
}  // namespace kelvaro::testing
