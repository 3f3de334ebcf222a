// Turns the readable picture sources in res/ into the .bmp and .ico files the resource script embeds.
//
//   g++ -std=c++20 -O2 -o build/make_pictures tools/make_pictures.cpp && build/make_pictures res/*.txt
//
// A source is text, one character per pixel. Lines starting with "#" are comments. A line
// "bitmap W H" or "icon W H" starts an image of W x H pixels; the next H lines are its rows, top first.
// A bitmap file holds one image and becomes NAME.bmp (4 bits per pixel, BITMAPINFOHEADER); an icon
// file holds one or more images and becomes NAME.ico, one 16-colour entry per image.
//
// Characters stand for the 16 colours of the standard palette, in palette order:
//   k black   r maroon   g green   y olive   b navy   p purple  t teal   s silver
//   d grey    R red      G lime    Y yellow  B blue   M magenta C cyan   W white
// "." is the background: in a bitmap it is magenta, the colour the buttons treat as transparent (they
// take the lower-left pixel's colour), so a glyph's own pixels never use magenta; in an icon it is a
// transparent pixel of the mask.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "palette.h"

namespace {

constexpr int kMagenta = 13;
constexpr int kTransparent = -1;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<int> pixels;  // palette index, or kTransparent; top row first
};

struct Source {
    bool icon = false;
    std::vector<Image> images;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

int PixelValue(char c, bool icon) {
    if (c == '.') return icon ? kTransparent : kMagenta;
    for (int i = 0; i < 16; ++i)
        if (kPaletteChars[i] == c) return i;
    return -2;
}

Source Parse(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error(file + ": cannot open");
    Source source;
    bool kindKnown = false;
    std::string text;
    int lineNumber = 0;
    Image* current = nullptr;
    while (std::getline(in, text)) {
        ++lineNumber;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (current && static_cast<int>(current->pixels.size()) < current->width * current->height) {
            if (static_cast<int>(text.size()) != current->width)
                Fail(file, lineNumber,
                     "row is " + std::to_string(text.size()) + " wide, expected " +
                         std::to_string(current->width));
            for (char c : text) {
                int value = PixelValue(c, source.icon);
                if (value == -2) Fail(file, lineNumber, std::string("unknown colour '") + c + "'");
                current->pixels.push_back(value);
            }
            continue;
        }
        if (text.empty() || text[0] == '#') continue;
        std::istringstream words(text);
        std::string kind;
        Image image;
        if (!(words >> kind >> image.width >> image.height) || (kind != "bitmap" && kind != "icon") ||
            image.width <= 0 || image.height <= 0 || image.width > 256 || image.height > 256)
            Fail(file, lineNumber, "expected \"bitmap W H\" or \"icon W H\"");
        bool icon = kind == "icon";
        if (kindKnown && icon != source.icon) Fail(file, lineNumber, "bitmap and icon images mixed");
        if (!icon && !source.images.empty()) Fail(file, lineNumber, "a bitmap file holds one image");
        source.icon = icon;
        kindKnown = true;
        source.images.push_back(image);
        current = &source.images.back();
    }
    if (source.images.empty()) throw std::runtime_error(file + ": no image");
    const Image& last = source.images.back();
    if (static_cast<int>(last.pixels.size()) != last.width * last.height)
        throw std::runtime_error(file + ": last image has too few rows");
    // The buttons take the lower-left pixel's colour as transparent: anything else there would cut
    // a hole in the picture itself.
    if (!source.icon && last.pixels[(last.height - 1) * last.width] != kMagenta)
        throw std::runtime_error(file + ": the lower-left pixel of a bitmap must be background");
    return source;
}

class Bytes {
public:
    void U8(unsigned value) { data_.push_back(static_cast<char>(value & 0xFF)); }
    void U16(unsigned value) { U8(value), U8(value >> 8); }
    void U32(std::uint32_t value) { U16(value & 0xFFFF), U16(value >> 16); }
    void Append(const Bytes& other) { data_ += other.data_; }
    std::size_t Size() const { return data_.size(); }
    const std::string& Data() const { return data_; }

private:
    std::string data_;
};

int RowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// Header, palette and the colour rows bottom-up; an icon stores double the height for its mask.
Bytes DeviceIndependentBitmap(const Image& image, bool withMask) {
    int colourBytes = RowBytes(image.width, 4) * image.height;
    int maskBytes = withMask ? RowBytes(image.width, 1) * image.height : 0;
    Bytes out;
    out.U32(40);
    out.U32(image.width);
    out.U32(withMask ? image.height * 2 : image.height);
    out.U16(1);
    out.U16(4);
    out.U32(0);  // BI_RGB
    out.U32(colourBytes + maskBytes);
    out.U32(3780);  // 96 pixels per inch
    out.U32(3780);
    out.U32(16);
    out.U32(0);
    for (const auto& colour : kPalette) {
        out.U8(colour[2]), out.U8(colour[1]), out.U8(colour[0]), out.U8(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < image.width; x += 2, ++written) {
            auto at = [&](int column) {
                int value = column < image.width ? image.pixels[y * image.width + column] : 0;
                return value == kTransparent ? 0 : value;  // transparent shows black in the colour part
            };
            out.U8(at(x) << 4 | at(x + 1));
        }
        for (; written < RowBytes(image.width, 4); ++written) out.U8(0);
    }
    if (withMask) {
        for (int y = image.height - 1; y >= 0; --y) {
            for (int byte = 0; byte < RowBytes(image.width, 1); ++byte) {
                unsigned bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    int x = byte * 8 + bit;
                    if (x < image.width && image.pixels[y * image.width + x] == kTransparent)
                        bits |= 0x80 >> bit;
                }
                out.U8(bits);
            }
        }
    }
    return out;
}

Bytes BitmapFile(const Image& image) {
    Bytes body = DeviceIndependentBitmap(image, false);
    Bytes out;
    out.U8('B'), out.U8('M');
    out.U32(14 + body.Size());
    out.U32(0);
    out.U32(14 + 40 + 16 * 4);
    out.Append(body);
    return out;
}

Bytes IconFile(const std::vector<Image>& images) {
    Bytes directory, data;
    directory.U16(0);
    directory.U16(1);
    directory.U16(images.size());
    std::size_t offset = 6 + 16 * images.size();
    for (const Image& image : images) {
        Bytes entry = DeviceIndependentBitmap(image, true);
        directory.U8(image.width == 256 ? 0 : image.width);
        directory.U8(image.height == 256 ? 0 : image.height);
        directory.U8(16);
        directory.U8(0);
        directory.U16(1);
        directory.U16(4);
        directory.U32(entry.Size());
        directory.U32(offset);
        offset += entry.Size();
        data.Append(entry);
    }
    directory.Append(data);
    return directory;
}

void Convert(const std::filesystem::path& sourcePath) {
    Source source = Parse(sourcePath.string());
    std::filesystem::path target = sourcePath;
    target.replace_extension(source.icon ? ".ico" : ".bmp");
    Bytes bytes = source.icon ? IconFile(source.images) : BitmapFile(source.images.front());
    std::ofstream out(target, std::ios::binary);
    out.write(bytes.Data().data(), static_cast<std::streamsize>(bytes.Size()));
    if (!out) throw std::runtime_error(target.string() + ": cannot write");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures SOURCE.txt...\n");
        return 2;
    }
    try {
        for (int i = 1; i < argc; ++i) Convert(argv[i]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
