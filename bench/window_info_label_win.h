#pragma once
// An info label made of a plain static control: shows the text as it is, without fitting it.
#include <windows.h>

#include "search/info_label.h"

namespace kelvaro {

class WindowInfoLabel : public InfoLabel {
public:
    explicit WindowInfoLabel(HWND label) : label_(label) {}
    void SetFileName(const std::string& text) override { SetWindowTextA(label_, text.c_str()); }
    void Repaint() override { UpdateWindow(label_); }

private:
    HWND label_;
};

}  // namespace kelvaro
