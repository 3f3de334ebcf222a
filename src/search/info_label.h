#pragma once
#include <string>

namespace kelvaro {

// The label that shows the entry being examined during a scan.
class InfoLabel {
public:
    virtual ~InfoLabel() = default;
    virtual void SetFileName(const std::string& text) = 0;
    // Draw now, not when the message queue next gets to it.
    virtual void Repaint() = 0;
};

}  // namespace kelvaro
