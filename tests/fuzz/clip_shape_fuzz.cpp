// The animation clip's header, read from bytes of any length without reading past them.
#include <cstddef>
#include <span>

#include "widgets/clip_shape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto shape = kelvaro::ReadClipShape(std::span(reinterpret_cast<const std::byte*>(data), size));
    if (shape) kelvaro::ClipFitsBox(*shape, 48, 50);
    return 0;
}
