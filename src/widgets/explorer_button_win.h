#pragma once
// A browse button beside a field: a small folder or page picture, flat (edge only under the mouse) or
// raised. Its long hint goes to onHint as the mouse enters, "" as it leaves.
#include <windows.h>

#include <functional>
#include <string>

#include "widgets/picture_button_win.h"

namespace kelvaro {

class TExplorerButton : public TPictureButton {
public:
    static constexpr const char* kClassName = "TExplorerButton";
    enum class Picture { Folder, File };

    // A 25 x 25 child of parent with the given id; it starts flat.
    TExplorerButton(HWND parent, int id, int x, int y, Picture picture, std::string longHint,
                    std::function<void(const std::string&)> onHint);

protected:
    void Paint(HDC dc) override;
    void MouseEntered() override;
    void MouseLeft() override;

private:
    void DrawPicture(HDC dc, int x, int y) const;

    Picture picture_;
    std::string longHint_;
    std::function<void(const std::string&)> onHint_;
};

}  // namespace kelvaro
