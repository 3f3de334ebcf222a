#include "widgets/clip_shape.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kelvaro {
namespace {

// The opening of an AVI file up to the end of its main header, as a clip maker writes it.
std::vector<std::byte> AviOpening(std::uint32_t width, std::uint32_t height, std::uint32_t frames) {
    std::vector<std::byte> bytes(24 + 8 + 56);
    auto put = [&](std::size_t at, const char* tag) { std::memcpy(bytes.data() + at, tag, 4); };
    auto number = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::byte>(value >> (8 * i));
    };
    put(0, "RIFF");
    put(8, "AVI ");
    put(12, "LIST");
    put(20, "hdrl");
    put(24, "avih");
    number(28, 56);
    number(32 + 16, frames);
    number(32 + 32, width);
    number(32 + 36, height);
    return bytes;
}

TEST(ClipShape, OnlyAMovingClipThatFitsTheBoxWholeIsTaken) {
    const auto own = ReadClipShape(AviOpening(32, 32, 6));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->width, 32u);
    EXPECT_EQ(own->height, 32u);
    EXPECT_EQ(own->frames, 6u);
    EXPECT_TRUE(ClipFitsBox(*own, 48, 50));
    EXPECT_TRUE(ClipFitsBox(*ReadClipShape(AviOpening(48, 50, 24)), 48, 50));

    // A still picture wider than the box, as some systems ship for the find-file clip.
    EXPECT_FALSE(ClipFitsBox(*ReadClipShape(AviOpening(80, 50, 2)), 48, 50));
    EXPECT_FALSE(ClipFitsBox(*ReadClipShape(AviOpening(48, 51, 24)), 48, 50));
    EXPECT_FALSE(ClipFitsBox(*ReadClipShape(AviOpening(32, 32, 1)), 48, 50));
}

TEST(ClipShape, BytesThatAreNoAviClipHaveNoShape) {
    auto bytes = AviOpening(32, 32, 6);
    // Every shorter opening, each in a block of its own size, so that a read past its end is caught.
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<std::byte> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ReadClipShape(cut)) << size;
    }
    bytes[8] = std::byte{'W'};
    EXPECT_FALSE(ReadClipShape(bytes));
    EXPECT_FALSE(ReadClipShape({}));
}

}  // namespace
}  // namespace kelvaro
