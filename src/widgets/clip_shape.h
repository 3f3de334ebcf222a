#pragma once
// What an AVI clip's main header says about it, read from the clip's bytes, and whether a clip fits
// the box it is to play in.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kelvaro {

struct ClipShape {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t frames = 0;
};

// The picture size and frame count of a RIFF AVI clip; nothing when the bytes are not one.
std::optional<ClipShape> ReadClipShape(std::span<const std::byte> clip);

// True for a clip that moves (two frames or more) and whose picture fits the box whole: the
// animation control centres a larger picture and cuts it at the box's edges.
bool ClipFitsBox(const ClipShape& shape, int boxWidth, int boxHeight);

}  // namespace kelvaro
