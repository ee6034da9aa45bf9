// PNG files, 8-bit RGBA, without a compression library: the image data goes into "stored"
// deflate blocks, which every PNG reader takes. Icons are small, so the size does not matter.
#include <array>

#include "assetgen.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (const uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, uint32_t(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    constexpr size_t MaxBlock = 65535;
    std::vector<uint8_t> z{0x78, 0x01};
    size_t done = 0;
    do {
        const size_t length = std::min(MaxBlock, raw.size() - done);
        const bool last = done + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(uint8_t(length));
        z.push_back(uint8_t(length >> 8));
        z.push_back(uint8_t(~length));
        z.push_back(uint8_t(~length >> 8));
        z.insert(z.end(), raw.begin() + long(done), raw.begin() + long(done + length));
        done += length;
    } while (done < raw.size());
    PutBig32(z, Adler32(raw));
    return z;
}

}  // namespace

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgba, int width, int height) {
    std::vector<uint8_t> raw;  // each row behind its filter byte, 0: none
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgba.begin() + long(y) * width * 4;
        raw.insert(raw.end(), row, row + width * 4);
    }
    std::vector<uint8_t> header;
    PutBig32(header, uint32_t(width));
    PutBig32(header, uint32_t(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}
