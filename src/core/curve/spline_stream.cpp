#include "core/curve/spline_stream.h"

#include <bit>

namespace ostrivane {

bool SplineStream::read_le(std::uint64_t& value, std::size_t count) {
    if (remaining() < count)
        return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes_[position_ + i]);
        value |= static_cast<std::uint64_t>(byte) << (8 * i);
    }
    position_ += count;
    return true;
}

void SplineStream::write_le(std::uint64_t value, std::size_t count) {
    if (bytes_.size() < position_ + count)
        bytes_.resize(position_ + count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes_[position_ + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    position_ += count;
}

bool SplineStream::read_u16(std::uint16_t& value) {
    std::uint64_t raw = 0;
    if (!read_le(raw, 2))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

bool SplineStream::read_i32(std::int32_t& value) {
    std::uint64_t raw = 0;
    if (!read_le(raw, 4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    return true;
}

bool SplineStream::read_f64(double& value) {
    std::uint64_t raw = 0;
    if (!read_le(raw, 8))
        return false;
    value = std::bit_cast<double>(raw);
    return true;
}

void SplineStream::write_u16(std::uint16_t value) {
    write_le(value, 2);
}

void SplineStream::write_i32(std::int32_t value) {
    write_le(static_cast<std::uint32_t>(value), 4);
}

void SplineStream::write_f64(double value) {
    write_le(std::bit_cast<std::uint64_t>(value), 8);
}

}  // namespace ostrivane
