// Turns the readable animation source res/search_clip.txt into the AVI clip the resource script embeds.
//
//   g++ -std=c++20 -O2 -o build/make_clip tools/make_clip.cpp && build/make_clip res/search_clip.txt
//
// The source is text: lines starting with "#" are comments; "clip W H RATE" gives the picture size and
// the frames per second; each "frame" line is followed by H rows of W characters, top row first. The
// characters are the 16 colours of tools/make_pictures.cpp, "." the button face (silver).
//
// The clip is the plainest kind the animation control plays without a codec: one video stream of
// uncompressed 8-bit frames ("DIB "), the 16 colours as the frame format's palette, an "idx1" index.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "palette.h"

namespace {

constexpr std::uint8_t kSilver = 7;

struct Clip {
    int width = 0;
    int height = 0;
    int rate = 0;
    std::vector<std::vector<std::uint8_t>> frames;  // palette indexes, top row first
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

Clip Parse(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error(file + ": cannot open");
    Clip clip;
    std::string text;
    int line = 0;
    int rowsLeft = 0;
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (rowsLeft > 0) {
            if (static_cast<int>(text.size()) != clip.width) Fail(file, line, "row has the wrong width");
            for (char c : text) {
                if (c == '.') {
                    clip.frames.back().push_back(kSilver);
                    continue;
                }
                std::string chars = kPaletteChars;
                std::size_t index = chars.find(c);
                if (index == std::string::npos) Fail(file, line, std::string("unknown colour '") + c + "'");
                clip.frames.back().push_back(static_cast<std::uint8_t>(index));
            }
            --rowsLeft;
            continue;
        }
        if (text.empty() || text[0] == '#') continue;
        if (text.rfind("clip ", 0) == 0) {
            if (std::sscanf(text.c_str(), "clip %d %d %d", &clip.width, &clip.height, &clip.rate) != 3 ||
                clip.width <= 0 || clip.height <= 0 || clip.rate <= 0)
                Fail(file, line, "expected \"clip W H RATE\"");
        } else if (text == "frame") {
            if (clip.width == 0) Fail(file, line, "\"frame\" before \"clip\"");
            clip.frames.emplace_back();
            rowsLeft = clip.height;
        } else {
            Fail(file, line, "unexpected line");
        }
    }
    if (rowsLeft > 0) Fail(file, line, "frame ends early");
    if (clip.frames.empty()) Fail(file, line, "no frames");
    return clip;
}

class Writer {
public:
    void U8(std::uint8_t v) { bytes.push_back(v); }
    void U16(std::uint16_t v) { U8(v & 0xFF), U8(v >> 8); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void Tag(const char* fourcc) { bytes.insert(bytes.end(), fourcc, fourcc + 4); }
    // Starts a chunk or list and gives the place of its size, filled in by End.
    std::size_t Begin(const char* id, const char* type = nullptr) {
        Tag(id);
        std::size_t at = bytes.size();
        U32(0);
        if (type) Tag(type);
        return at;
    }
    void End(std::size_t at) {
        std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - at - 4);
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(size >> (8 * i));
        if (bytes.size() % 2) U8(0);  // chunks start on even offsets
    }
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> MakeAvi(const Clip& clip) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(clip.width) + 3) & ~3u;
    const std::uint32_t frameSize = stride * static_cast<std::uint32_t>(clip.height);
    const std::uint32_t frameCount = static_cast<std::uint32_t>(clip.frames.size());
    Writer w;
    std::size_t riff = w.Begin("RIFF", "AVI ");

    std::size_t hdrl = w.Begin("LIST", "hdrl");
    std::size_t avih = w.Begin("avih");
    w.U32(1000000 / static_cast<std::uint32_t>(clip.rate));  // microseconds per frame
    w.U32(frameSize * static_cast<std::uint32_t>(clip.rate));
    w.U32(0);     // padding granularity
    w.U32(0x10);  // AVIF_HASINDEX
    w.U32(frameCount);
    w.U32(0);          // initial frames
    w.U32(1);          // streams
    w.U32(frameSize);  // suggested buffer size
    w.U32(static_cast<std::uint32_t>(clip.width));
    w.U32(static_cast<std::uint32_t>(clip.height));
    for (int i = 0; i < 4; ++i) w.U32(0);
    w.End(avih);

    std::size_t strl = w.Begin("LIST", "strl");
    std::size_t strh = w.Begin("strh");
    w.Tag("vids");
    w.Tag("DIB ");
    w.U32(0);            // flags
    w.U16(0), w.U16(0);  // priority, language
    w.U32(0);            // initial frames
    w.U32(1);            // scale
    w.U32(static_cast<std::uint32_t>(clip.rate));
    w.U32(0);           // start
    w.U32(frameCount);  // length
    w.U32(frameSize);
    w.U32(0xFFFFFFFF);  // quality: default
    w.U32(0);           // sample size: varies
    w.U16(0), w.U16(0), w.U16(static_cast<std::uint16_t>(clip.width)),
        w.U16(static_cast<std::uint16_t>(clip.height));
    w.End(strh);
    std::size_t strf = w.Begin("strf");
    w.U32(40);
    w.U32(static_cast<std::uint32_t>(clip.width));
    w.U32(static_cast<std::uint32_t>(clip.height));  // positive: rows bottom up
    w.U16(1), w.U16(8);
    w.U32(0);  // BI_RGB
    w.U32(frameSize);
    w.U32(0), w.U32(0);
    w.U32(16), w.U32(0);  // colours used, important
    for (const auto& rgb : kPalette) w.U8(rgb[2]), w.U8(rgb[1]), w.U8(rgb[0]), w.U8(0);
    w.End(strf);
    w.End(strl);
    w.End(hdrl);

    std::size_t movi = w.Begin("LIST", "movi");
    const std::size_t moviData = movi + 4;  // index offsets count from the "movi" tag
    std::vector<std::uint32_t> offsets;
    for (const auto& frame : clip.frames) {
        offsets.push_back(static_cast<std::uint32_t>(w.bytes.size() - moviData));
        std::size_t chunk = w.Begin("00db");
        for (int row = clip.height - 1; row >= 0; --row) {
            for (int x = 0; x < clip.width; ++x) w.U8(frame[static_cast<std::size_t>(row * clip.width + x)]);
            for (std::uint32_t pad = static_cast<std::uint32_t>(clip.width); pad < stride; ++pad) w.U8(0);
        }
        w.End(chunk);
    }
    w.End(movi);

    std::size_t idx1 = w.Begin("idx1");
    for (std::uint32_t offset : offsets) {
        w.Tag("00db");
        w.U32(0x10);  // AVIIF_KEYFRAME: every frame stands alone
        w.U32(offset);
        w.U32(frameSize);
    }
    w.End(idx1);
    w.End(riff);
    return w.bytes;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        for (int i = 1; i < argc; ++i) {
            std::string source = argv[i];
            std::string target = source.substr(0, source.rfind('.')) + ".avi";
            std::vector<std::uint8_t> avi = MakeAvi(Parse(source));
            std::ofstream out(target, std::ios::binary);
            out.write(reinterpret_cast<const char*>(avi.data()), static_cast<std::streamsize>(avi.size()));
            if (!out) throw std::runtime_error(target + ": cannot write");
            std::printf("%s: %zu bytes\n", target.c_str(), avi.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_clip: %s\n", error.what());
        return 1;
    }
    return 0;
}
