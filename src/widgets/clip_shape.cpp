#include "widgets/clip_shape.h"

#include <cstring>
#include <string_view>

namespace kelvaro {
namespace {

std::uint32_t ReadUint32(std::span<const std::byte> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

bool HasTag(std::span<const std::byte> bytes, std::size_t at, std::string_view tag) {
    return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag.data(), 4) == 0;
}

// The AVI main header ("avih") lies in the "hdrl" list, the first list of the RIFF form.
constexpr std::size_t kHeaderList = 12;
constexpr std::size_t kMainHeader = kHeaderList + 12;
constexpr std::size_t kTotalFrames = 16;
constexpr std::size_t kWidth = 32;
constexpr std::size_t kHeight = 36;
constexpr std::size_t kMainHeaderSize = 56;

}  // namespace

std::optional<ClipShape> ReadClipShape(std::span<const std::byte> clip) {
    if (!HasTag(clip, 0, "RIFF") || !HasTag(clip, 8, "AVI ") || !HasTag(clip, kHeaderList, "LIST") ||
        !HasTag(clip, kHeaderList + 8, "hdrl") || !HasTag(clip, kMainHeader, "avih"))
        return std::nullopt;
    const std::size_t header = kMainHeader + 8;
    // The size first: a clip that ends inside the header's own size field is not read past its end.
    if (clip.size() < header + kMainHeaderSize || ReadUint32(clip, kMainHeader + 4) < kMainHeaderSize)
        return std::nullopt;
    return ClipShape{ReadUint32(clip, header + kWidth), ReadUint32(clip, header + kHeight),
                     ReadUint32(clip, header + kTotalFrames)};
}

bool ClipFitsBox(const ClipShape& shape, int boxWidth, int boxHeight) {
    return shape.frames >= 2 && shape.width <= static_cast<std::uint32_t>(boxWidth) &&
           shape.height <= static_cast<std::uint32_t>(boxHeight);
}

}  // namespace kelvaro
