#include "core/check/check_picture.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ostrivane {
namespace {

constexpr int kMargin = 20;
using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kBlue{0, 70, 200}, kRed{220, 0, 0},
    kGrey{200, 200, 200};

void put(CheckPicture& p, int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        return;
    const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                     static_cast<std::size_t>(x)) *
                    3;
    p.rgb[at] = c[0];
    p.rgb[at + 1] = c[1];
    p.rgb[at + 2] = c[2];
}

void column(CheckPicture& p, int x, int y0, int y1, Rgb c) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        put(p, x, y, c);
}

std::uint32_t crc32(const std::string& bytes, std::size_t from) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out += type;
    out += data;
    put32(out, crc32(out, start));
}

}  // namespace

CheckPicture draw_check(const CheckReport& report, int width, int height) {
    CheckPicture p;
    p.width = std::max(width, 2 * kMargin + 2);
    p.height = std::max(height, 2 * kMargin + 2);
    p.rgb.assign(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3, 255);
    const auto& e = report.envelope;
    if (e.empty())
        return p;
    double lo = e.front().envelope, hi = lo;
    for (const EnvelopeSample& s : e) {
        lo = std::min({lo, s.envelope, s.design.value_or(s.envelope)});
        hi = std::max({hi, s.envelope, s.design.value_or(s.envelope)});
    }
    if (!(hi > lo))
        hi = lo + 1;
    const double x0 = e.front().x;
    const double x1 = e.back().x > x0 ? e.back().x : x0 + 1;
    const int w = p.width - 2 * kMargin;
    const int h = p.height - 2 * kMargin;
    const auto row = [&](double y) {
        return kMargin + h - static_cast<int>(std::lround((y - lo) / (hi - lo) * h));
    };
    // Per pixel column, the sample nearest to it.
    std::size_t k = 0;
    int prev_env = -1, prev_design = -1;
    for (int px = 0; px <= w; ++px) {
        const double x = x0 + (x1 - x0) * px / w;
        while (k + 1 < e.size() && std::fabs(e[k + 1].x - x) <= std::fabs(e[k].x - x))
            ++k;
        const EnvelopeSample& s = e[k];
        const int env = row(s.envelope);
        const int X = kMargin + px;
        if (s.design) {
            const int design = row(*s.design);
            if (s.envelope > *s.design + report.tolerance)
                column(p, X, env, design, kRed);
            else if (s.envelope < *s.design)
                column(p, X, env, design, kGrey);
            column(p, X, prev_design < 0 ? design : prev_design, design, kBlack);
            prev_design = design;
        } else {
            prev_design = -1;
        }
        column(p, X, prev_env < 0 ? env : prev_env, env, kBlue);
        prev_env = env;
    }
    return p;
}

std::string png_bytes(const CheckPicture& picture) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    put32(header, static_cast<std::uint32_t>(picture.width));
    put32(header, static_cast<std::uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no interlace
    chunk(out, "IHDR", header);

    // The rows, each behind filter byte 0, as a zlib stream of stored blocks.
    std::string raw;
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(picture.rgb.data()) + y * stride, stride);
    }
    std::string z("\x78\x01", 2);
    constexpr std::size_t kBlock = 65535;
    for (std::size_t at = 0; at < raw.size() || at == 0; at += kBlock) {
        const std::size_t n = std::min(kBlock, raw.size() - at);
        z += static_cast<char>(at + n >= raw.size() ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        if (raw.empty())
            break;
    }
    std::uint32_t a = 1, b = 0;
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, (b << 16) | a);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", "");
    return out;
}

}  // namespace ostrivane
