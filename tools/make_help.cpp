// Turns the readable help source into the WinHelp 3.1 file that Help > Contents opens.
//
//   g++ -std=c++20 -O2 -o build/make_help tools/make_help.cpp
//   build/make_help res/help/kelvaro_help.txt res/help/Kelvaro.hlp
//
// The source is plain text:
//   # ...                  a comment
//   @title TEXT            the help window's caption
//   @topic ID TITLE        starts a topic; ID names it for jumps, the first topic is the contents page
//   @link ID               a paragraph that jumps to topic ID, shown as that topic's title
//   @keywords A; B; ...    index entries that lead to the current topic
//   @context N             the number a program asks for the current topic by (HELP_CONTEXT)
//   - TEXT                 a list item (a paragraph of its own, with a bullet)
//   TEXT                   paragraph text; lines run together until a blank line
// The text is Windows-1252 ASCII: anything else is refused rather than shown as the wrong characters.
//
// The file holds the smallest set of internal files the viewer needs: |SYSTEM (version 3.1 with no
// compression, the title, the contents topic, the main window's caption), |FONT, |TOPIC, |CONTEXT (topic
// ID hashes to topic offsets), |CTXOMAP (context numbers to topic offsets) and the keyword index (|KWBTREE,
// |KWDATA, |KWMAP), found through the internal directory. Text is stored uncompressed, so no phrase tables.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kTopicBlockSize = 0x1000;  // what the viewer assumes for uncompressed 3.1 files
constexpr std::size_t kBlockHeaderSize = 12;
constexpr std::size_t kBlockDataSize = kTopicBlockSize - kBlockHeaderSize;
constexpr std::size_t kDirectoryPageSize = 1024;
constexpr std::size_t kTreePageSize = 2048;  // every B+ tree but the directory
constexpr std::uint8_t kBullet = 0x95;       // Windows-1252

constexpr int kBodyFont = 0;
constexpr int kTitleFont = 1;

// ---- source ------------------------------------------------------------------------------------------

struct Paragraph {
    std::string text;
    std::string jump;  // topic ID when the paragraph is a jump
};

struct Topic {
    std::string id;
    std::string title;
    std::vector<Paragraph> paragraphs;
    std::vector<std::string> keywords;
    std::optional<std::uint32_t> context;
};

struct HelpSource {
    std::string title;
    std::vector<Topic> topics;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

HelpSource Parse(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error(file + ": cannot open");
    HelpSource source;
    std::string pending;  // paragraph text still being gathered
    int number = 0;
    auto flush = [&] {
        if (!pending.empty()) source.topics.back().paragraphs.push_back({pending, {}});
        pending.clear();
    };
    std::string raw;
    while (std::getline(in, raw)) {
        ++number;
        const std::string line = Trim(raw);
        for (const char c : line)
            if (static_cast<unsigned char>(c) >= 0x80 || (c < 0x20 && c != '\t'))
                Fail(file, number, "only printable ASCII is allowed");
        if (line.starts_with("#")) continue;
        if (line.empty()) {
            if (!source.topics.empty()) flush();
            continue;
        }
        if (line.starts_with("@title ")) {
            source.title = Trim(line.substr(7));
            continue;
        }
        if (line.starts_with("@topic ")) {
            if (!source.topics.empty()) flush();
            std::istringstream words(line.substr(7));
            Topic topic;
            words >> topic.id;
            std::getline(words, topic.title);
            topic.title = Trim(topic.title);
            if (topic.id.empty() || topic.title.empty()) Fail(file, number, "@topic needs an ID and a title");
            for (const Topic& other : source.topics)
                if (other.id == topic.id) Fail(file, number, "topic " + topic.id + " is defined twice");
            source.topics.push_back(std::move(topic));
            continue;
        }
        if (source.topics.empty()) Fail(file, number, "text before the first @topic");
        if (line.starts_with("@keywords ")) {
            std::istringstream list(line.substr(10));
            for (std::string keyword; std::getline(list, keyword, ';');) {
                keyword = Trim(keyword);
                if (keyword.empty()) Fail(file, number, "empty keyword");
                source.topics.back().keywords.push_back(keyword);
            }
            continue;
        }
        if (line.starts_with("@context ")) {
            const std::string digits = Trim(line.substr(9));
            if (digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                Fail(file, number, "@context needs a number");
            if (source.topics.back().context) Fail(file, number, "the topic has a context number already");
            const auto context = static_cast<std::uint32_t>(std::stoul(digits));
            for (const Topic& other : source.topics)
                if (other.context == context) Fail(file, number, "context " + digits + " is used twice");
            source.topics.back().context = context;
            continue;
        }
        if (line.starts_with("@link ")) {
            flush();
            source.topics.back().paragraphs.push_back({{}, Trim(line.substr(6))});
            continue;
        }
        if (line.starts_with("- ")) {
            flush();
            pending = std::string(1, static_cast<char>(kBullet)) + " " + Trim(line.substr(2));
            continue;
        }
        if (line.starts_with("@")) Fail(file, number, "unknown directive");
        pending += (pending.empty() ? "" : " ") + line;
    }
    if (!source.topics.empty()) flush();
    if (source.topics.empty()) throw std::runtime_error(file + ": no topics");
    if (source.title.empty()) throw std::runtime_error(file + ": no @title");
    return source;
}

// ---- little-endian writing ---------------------------------------------------------------------------

void Put8(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
}
void Put16(Bytes& out, unsigned value) {
    Put8(out, value & 0xFF);
    Put8(out, (value >> 8) & 0xFF);
}
void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void PutString(Bytes& out, const std::string& s, bool terminate) {
    out.insert(out.end(), s.begin(), s.end());
    if (terminate) Put8(out, 0);
}
void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// The viewer's variable-length numbers: the low bit of the first byte says which width follows.
void PutCompressedLong(Bytes& out, std::uint32_t value) {
    Put32(out, 0x80000000u + 2 * value + 1);
}
void PutCompressedUShort(Bytes& out, unsigned value) {
    if (value >= 0x8000) throw std::runtime_error("paragraph too long");
    Put16(out, 2 * value + 1);
}
void PutSmallShort(Bytes& out, int value) {
    Put8(out, static_cast<unsigned>(0x80 + 2 * value));
}

// Context names are looked up by this hash, never by name.
std::int32_t ContextHash(const std::string& id) {
    std::uint32_t hash = 0;
    for (const char c : id) {
        unsigned x = 0;
        if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
        if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
        if (c >= '1' && c <= '9') x = c - '0';
        if (c == '0') x = 10;
        if (c == '.') x = 12;
        if (c == '_') x = 13;
        if (x) hash = hash * 43 + x;
    }
    return static_cast<std::int32_t>(hash);
}

// An internal file: the 9-byte header (reserved size including the header, used size, flags) and data.
Bytes InternalFile(const Bytes& data) {
    Bytes out;
    Put32(out, static_cast<std::uint32_t>(data.size() + 9));
    Put32(out, static_cast<std::uint32_t>(data.size()));
    Put8(out, 4);
    Append(out, data);
    return out;
}

// One entry of a B+ tree: the key the index pages repeat, and what a leaf holds after it.
struct TreeEntry {
    Bytes key;
    Bytes value;
};

struct Tree {
    Bytes file;
    std::vector<std::pair<std::uint32_t, unsigned>> leaves;  // per leaf page: its first entry, its number
};

// A B+ tree of the entries, which must already be in key order: as many leaf pages as they fill, chained
// in order, and above several leaves one index page that names each leaf by its first key.
Tree BuildTree(const char* structure, unsigned flags, std::size_t pageSize,
               const std::vector<TreeEntry>& entries) {
    constexpr std::size_t kLeafHeader = 8;
    std::vector<std::vector<const TreeEntry*>> leaves(1);
    std::size_t used = kLeafHeader;
    for (const TreeEntry& e : entries) {
        const std::size_t size = e.key.size() + e.value.size();
        if (kLeafHeader + size > pageSize) throw std::runtime_error("a B+ tree entry is larger than a page");
        if (used + size > pageSize) {
            leaves.emplace_back();
            used = kLeafHeader;
        }
        leaves.back().push_back(&e);
        used += size;
    }
    const bool indexed = leaves.size() > 1;
    std::vector<Bytes> pages;
    Tree tree;
    std::uint32_t first = 0;
    for (std::size_t n = 0; n < leaves.size(); ++n) {
        Bytes page;
        Put16(page, 0);  // free bytes, filled in below
        Put16(page, static_cast<unsigned>(leaves[n].size()));
        Put16(page, n == 0 ? 0xFFFF : static_cast<unsigned>(n - 1));
        Put16(page, n + 1 < leaves.size() ? static_cast<unsigned>(n + 1) : 0xFFFF);
        for (const TreeEntry* e : leaves[n]) {
            Append(page, e->key);
            Append(page, e->value);
        }
        tree.leaves.emplace_back(first, static_cast<unsigned>(n));
        first += static_cast<std::uint32_t>(leaves[n].size());
        pages.push_back(std::move(page));
    }
    if (indexed) {
        Bytes page;
        Put16(page, 0);
        Put16(page, static_cast<unsigned>(leaves.size() - 1));
        Put16(page, 0);  // the first leaf, before every key
        for (std::size_t n = 1; n < leaves.size(); ++n) {
            Append(page, leaves[n].front()->key);
            Put16(page, static_cast<unsigned>(n));
        }
        if (page.size() > pageSize) throw std::runtime_error("too many leaves for one B+ tree index page");
        pages.push_back(std::move(page));
    }

    Put16(tree.file, 0x293B);
    Put16(tree.file, flags);
    Put16(tree.file, static_cast<unsigned>(pageSize));
    std::string s(structure);
    s.resize(16, '\0');
    PutString(tree.file, s, false);
    Put16(tree.file, 0);                                                   // always zero
    Put16(tree.file, static_cast<unsigned>(leaves.size() - 1));            // page splits
    Put16(tree.file, static_cast<unsigned>(indexed ? leaves.size() : 0));  // root page
    Put16(tree.file, 0xFFFF);                                              // always -1
    Put16(tree.file, static_cast<unsigned>(pages.size()));                 // pages
    Put16(tree.file, indexed ? 2 : 1);                                     // levels
    Put32(tree.file, static_cast<std::uint32_t>(entries.size()));
    for (Bytes& page : pages) {
        const std::size_t free = pageSize - page.size();
        page[0] = static_cast<std::uint8_t>(free & 0xFF);
        page[1] = static_cast<std::uint8_t>(free >> 8);
        page.resize(pageSize, 0);
        Append(tree.file, page);
    }
    return tree;
}

// ---- |TOPIC ------------------------------------------------------------------------------------------

// One record of the topic stream: a topic header or a paragraph.
struct Record {
    std::uint8_t type = 0;
    Bytes linkData1;  // header fields or formatting commands
    Bytes linkData2;  // title or NUL-separated text pieces
    unsigned characters = 0;
};

// A record is addressed by its position in the stream of block data: block number above bit 14, plus the
// size of a block header that the viewer subtracts again.
std::uint32_t RecordAddress(std::size_t streamPosition) {
    return static_cast<std::uint32_t>(kBlockHeaderSize + ((streamPosition / kBlockDataSize) << 14) +
                                      streamPosition % kBlockDataSize);
}

// A paragraph: text pieces alternate with formatting commands, one command after each piece.
Record MakeParagraph(int font, int spaceAfter, const std::string& text, std::int32_t jumpHash, bool jump) {
    Bytes commands;
    Bytes texts;
    unsigned characters = 0;
    auto piece = [&](const std::string& s) {
        PutString(texts, s, true);
        characters += static_cast<unsigned>(s.size());
    };
    piece("");
    Put8(commands, 0x80);  // font change
    Put16(commands, font);
    if (jump) {
        piece("");
        Put8(commands, 0xE3);  // jump to a topic by context hash
        Put32(commands, static_cast<std::uint32_t>(jumpHash));
        piece(text);
        Put8(commands, 0x89);  // end of hotspot
    } else {
        piece(text);
        Put8(commands, 0x82);  // end of paragraph
        ++characters;
    }
    if (jump) {
        piece("");
        Put8(commands, 0x82);
        ++characters;
    }
    piece("");
    Put8(commands, 0xFF);  // end of the paragraph's commands

    Record record;
    record.type = 0x20;
    PutCompressedLong(record.linkData1, static_cast<std::uint32_t>(texts.size()));
    PutCompressedUShort(record.linkData1, characters);
    Put8(record.linkData1, 0x00);
    Put8(record.linkData1, 0x80);
    Put16(record.linkData1, 0);
    Put16(record.linkData1, 0x0004);  // only "space after" is given; left aligned
    PutSmallShort(record.linkData1, spaceAfter);
    Append(record.linkData1, commands);
    record.linkData2 = std::move(texts);
    record.characters = characters;
    return record;
}

struct TopicStream {
    Bytes file;                               // the |TOPIC data, in blocks
    std::vector<std::uint32_t> topicOffsets;  // per topic, what |CONTEXT and |SYSTEM refer to
};

TopicStream BuildTopics(const HelpSource& source) {
    std::map<std::string, std::int32_t> hashes;
    std::map<std::string, std::string> titles;
    for (const Topic& t : source.topics) {
        hashes[t.id] = ContextHash(t.id);
        titles[t.id] = t.title;
    }

    std::vector<Record> records;
    std::vector<std::size_t> headerIndex;
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        const Topic& topic = source.topics[i];
        Record header;
        header.type = 0x02;
        Put32(header.linkData1, 0);      // block size, filled in below
        Put32(header.linkData1, kNone);  // no browse sequence
        Put32(header.linkData1, kNone);
        Put32(header.linkData1, static_cast<std::uint32_t>(i));
        Put32(header.linkData1, kNone);  // no non-scrolling region
        Put32(header.linkData1, 0);      // scrolling region, filled in below
        Put32(header.linkData1, 0);      // next topic, filled in below
        PutString(header.linkData2, topic.title, false);
        headerIndex.push_back(records.size());
        records.push_back(std::move(header));
        records.push_back(MakeParagraph(kTitleFont, 8, topic.title, 0, false));
        for (const Paragraph& p : topic.paragraphs) {
            if (p.jump.empty()) {
                records.push_back(MakeParagraph(kBodyFont, 6, p.text, 0, false));
                continue;
            }
            if (!hashes.contains(p.jump)) throw std::runtime_error("jump to unknown topic " + p.jump);
            records.push_back(MakeParagraph(kBodyFont, 3, titles[p.jump], hashes[p.jump], true));
        }
    }

    // Lay the records out in one stream and work out each one's address.
    std::vector<std::size_t> positions;
    std::size_t position = 0;
    for (const Record& r : records) {
        positions.push_back(position);
        position += 0x15 + r.linkData1.size() + r.linkData2.size();
    }
    const std::size_t streamSize = position;

    // A topic's offset counts characters from the start of the block holding its header, in the units
    // the viewer adds up while reading, so jumps land on the right topic.
    TopicStream result;
    std::size_t block = SIZE_MAX;
    unsigned characters = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t b = positions[i] / kBlockDataSize;
        if (b != block) {
            block = b;
            characters = 0;
        }
        if (records[i].type == 0x02)
            result.topicOffsets.push_back(static_cast<std::uint32_t>(b * 0x8000 + characters));
        else
            characters += records[i].characters;
    }

    Bytes stream;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        const std::uint32_t next = i + 1 < records.size() ? RecordAddress(positions[i + 1]) : kNone;
        const std::uint32_t previous = i > 0 ? RecordAddress(positions[i - 1]) : kNone;
        const std::uint32_t dataLen1 = static_cast<std::uint32_t>(0x15 + r.linkData1.size());
        if (r.type == 0x02) {
            const auto h = std::find(headerIndex.begin(), headerIndex.end(), i) - headerIndex.begin();
            const std::uint32_t nextTopic = static_cast<std::size_t>(h) + 1 < headerIndex.size()
                                                ? RecordAddress(positions[headerIndex[h + 1]])
                                                : kNone;
            Set32(r.linkData1, 0, static_cast<std::uint32_t>(dataLen1 + r.linkData2.size()));
            Set32(r.linkData1, 20, RecordAddress(positions[i + 1]));
            Set32(r.linkData1, 24, nextTopic);
        }
        Put32(stream, static_cast<std::uint32_t>(dataLen1 + r.linkData2.size()));
        Put32(stream, static_cast<std::uint32_t>(r.linkData2.size()));
        Put32(stream, previous);
        Put32(stream, next);
        Put32(stream, dataLen1);
        Put8(stream, r.type);
        Append(stream, r.linkData1);
        Append(stream, r.linkData2);
    }
    if (stream.size() != streamSize) throw std::logic_error("topic stream size mismatch");

    // Cut the stream into blocks. The viewer copies whole blocks, so the last one is padded out.
    const std::size_t blocks = std::max<std::size_t>(1, (streamSize + kBlockDataSize - 1) / kBlockDataSize);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::uint32_t first = kNone, last = kNone, lastHeader = kNone;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (positions[i] / kBlockDataSize != b) continue;
            if (first == kNone) first = RecordAddress(positions[i]);
            last = RecordAddress(positions[i]);
            if (records[i].type == 0x02) lastHeader = last;
        }
        Put32(result.file, last);
        Put32(result.file, first);
        Put32(result.file, lastHeader);
        const std::size_t from = b * kBlockDataSize;
        const std::size_t to = std::min(streamSize, from + kBlockDataSize);
        result.file.insert(result.file.end(), stream.begin() + from, stream.begin() + to);
        result.file.resize((b + 1) * kTopicBlockSize, 0);
    }
    return result;
}

// ---- the other internal files ------------------------------------------------------------------------

// The main window's description, naming only its caption: without one, a viewer may caption the
// window with its own name instead of the file's title.
Bytes MainWindow(const std::string& title) {
    constexpr std::size_t kTypeSize = 10, kNameSize = 9, kCaptionSize = 51, kRestSize = 18;
    constexpr unsigned kHasName = 0x0002, kHasCaption = 0x0004;
    if (title.size() >= kCaptionSize) throw std::runtime_error("the title is longer than a window caption");
    Bytes window;
    Put16(window, kHasName | kHasCaption);
    auto field = [&](const std::string& text, std::size_t size) {
        PutString(window, text, false);
        window.resize(window.size() + size - text.size(), 0);
    };
    field("", kTypeSize);
    field("main", kNameSize);
    field(title, kCaptionSize);
    window.resize(window.size() + kRestSize, 0);  // position, size, state and colours: the viewer's own
    return window;
}

Bytes BuildSystem(const HelpSource& source, std::uint32_t contentsOffset) {
    Bytes out;
    Put16(out, 0x036C);
    Put16(out, 21);  // 3.1; with zero flags the topic text is neither LZ77- nor phrase-compressed
    Put16(out, 1);
    Put32(out, 0);  // build date: left out so the output depends on the source only
    Put16(out, 0);
    auto record = [&](unsigned type, const Bytes& data) {
        Put16(out, type);
        Put16(out, static_cast<unsigned>(data.size()));
        Append(out, data);
    };
    Bytes title;
    PutString(title, source.title, true);
    record(1, title);
    Bytes contents;
    Put32(contents, contentsOffset);
    record(3, contents);
    record(6, MainWindow(source.title));
    return out;
}

Bytes BuildFonts() {
    constexpr std::size_t kFaceSize = 20;
    const std::vector<std::string> faces = {"Arial"};
    struct Font {
        unsigned flags, halfPoints;
    };
    const Font fonts[] = {{0, 20}, {1, 28}};  // body; bold title

    Bytes out;
    Put16(out, static_cast<unsigned>(faces.size()));
    Put16(out, static_cast<unsigned>(std::size(fonts)));
    Put16(out, 8);
    Put16(out, static_cast<unsigned>(8 + faces.size() * kFaceSize));
    for (std::string face : faces) {
        face.resize(kFaceSize, '\0');
        PutString(out, face, false);
    }
    for (const Font& f : fonts) {
        Put8(out, f.flags);
        Put8(out, f.halfPoints);
        Put8(out, 3);  // swiss
        Put16(out, 0);
        Put8(out, 0), Put8(out, 0), Put8(out, 0);        // black text
        Put8(out, 255), Put8(out, 255), Put8(out, 255);  // on white
    }
    return out;
}

Bytes BuildContext(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> pairs;
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        const std::int32_t hash = ContextHash(source.topics[i].id);
        for (const auto& p : pairs)
            if (p.first == hash) throw std::runtime_error("topic IDs collide: " + source.topics[i].id);
        pairs.emplace_back(hash, offsets[i]);
    }
    std::sort(pairs.begin(), pairs.end());  // the viewer compares hashes as signed numbers
    std::vector<TreeEntry> entries;
    for (const auto& [hash, offset] : pairs) {
        TreeEntry e;
        Put32(e.key, static_cast<std::uint32_t>(hash));
        Put32(e.value, offset);
        entries.push_back(std::move(e));
    }
    return BuildTree("L4", 0x0002, kTreePageSize, entries).file;
}

// The context numbers a program asks for topics by, in one plain list.
Bytes BuildContextMap(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    Bytes out;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> map;
    for (std::size_t i = 0; i < source.topics.size(); ++i)
        if (source.topics[i].context) map.emplace_back(*source.topics[i].context, offsets[i]);
    std::sort(map.begin(), map.end());
    Put16(out, static_cast<unsigned>(map.size()));
    for (const auto& [context, offset] : map) {
        Put32(out, context);
        Put32(out, offset);
    }
    return out;
}

// Keywords compare as the index shows them: letter case aside.
std::string KeywordOrder(const std::string& keyword) {
    std::string upper = keyword;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

struct KeywordIndex {
    Bytes tree;  // |KWBTREE: each keyword with how many topics it leads to and where their list starts
    Bytes data;  // |KWDATA: those lists of topic offsets
    Bytes map;   // |KWMAP: each leaf page of the tree with the number of its first keyword
};

KeywordIndex BuildKeywordIndex(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    struct Keyword {
        std::string text;
        std::vector<std::uint32_t> topics;
    };
    std::map<std::string, Keyword> keywords;
    for (std::size_t i = 0; i < source.topics.size(); ++i)
        for (const std::string& text : source.topics[i].keywords) {
            Keyword& k = keywords[KeywordOrder(text)];
            if (k.text.empty()) k.text = text;
            if (k.text != text) throw std::runtime_error("keyword written two ways: " + k.text + ", " + text);
            if (std::find(k.topics.begin(), k.topics.end(), offsets[i]) == k.topics.end())
                k.topics.push_back(offsets[i]);
        }
    KeywordIndex index;
    std::vector<TreeEntry> entries;
    for (const auto& [order, k] : keywords) {
        TreeEntry e;
        PutString(e.key, k.text, true);
        Put16(e.value, static_cast<unsigned>(k.topics.size()));
        Put32(e.value, static_cast<std::uint32_t>(index.data.size()));
        for (const std::uint32_t offset : k.topics) Put32(index.data, offset);
        entries.push_back(std::move(e));
    }
    const Tree tree = BuildTree("z24", 0x0002, kTreePageSize, entries);
    index.tree = tree.file;
    Put16(index.map, static_cast<unsigned>(tree.leaves.size()));
    for (const auto& [first, page] : tree.leaves) {
        Put32(index.map, first);
        Put16(index.map, page);
    }
    return index;
}

Bytes BuildHelpFile(const HelpSource& source) {
    const TopicStream topics = BuildTopics(source);
    const KeywordIndex keywords = BuildKeywordIndex(source, topics.topicOffsets);
    // Sorted by name: the directory is searched with strcmp.
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"|CONTEXT", InternalFile(BuildContext(source, topics.topicOffsets))},
        {"|CTXOMAP", InternalFile(BuildContextMap(source, topics.topicOffsets))},
        {"|FONT", InternalFile(BuildFonts())},
        {"|KWBTREE", InternalFile(keywords.tree)},
        {"|KWDATA", InternalFile(keywords.data)},
        {"|KWMAP", InternalFile(keywords.map)},
        {"|SYSTEM", InternalFile(BuildSystem(source, topics.topicOffsets.front()))},
        {"|TOPIC", InternalFile(topics.file)},
    };

    constexpr std::size_t kFileHeaderSize = 16;
    Bytes body;
    std::vector<TreeEntry> entries;
    for (const auto& [name, file] : files) {
        TreeEntry e;
        PutString(e.key, name, true);
        Put32(e.value, static_cast<std::uint32_t>(kFileHeaderSize + body.size()));
        entries.push_back(std::move(e));
        Append(body, file);
    }
    const std::uint32_t directoryStart = static_cast<std::uint32_t>(kFileHeaderSize + body.size());
    Append(body, InternalFile(BuildTree("z4", 0x0402, kDirectoryPageSize, entries).file));

    Bytes out;
    Put32(out, 0x00035F3F);
    Put32(out, directoryStart);
    Put32(out, kNone);  // no free blocks
    Put32(out, static_cast<std::uint32_t>(kFileHeaderSize + body.size()));
    Append(out, body);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_help SOURCE.txt OUTPUT.hlp\n";
        return 2;
    }
    try {
        const Bytes file = BuildHelpFile(Parse(argv[1]));
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!out) throw std::runtime_error(std::string(argv[2]) + ": cannot write");
    } catch (const std::exception& error) {
        std::cerr << "make_help: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
