#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace ostrivane {

// The bytes of a spline file with a read/write position. Numbers are little-endian whatever
// the machine: 16- and 32-bit integers and IEEE binary64 reals. Reads never go past the end:
// a read that does not fit returns false and moves nothing.
class SplineStream {
  public:
    SplineStream() = default;
    explicit SplineStream(std::string bytes) : bytes_(std::move(bytes)) {}

    const std::string& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    // Clamped to the end.
    void seek(std::size_t position) { position_ = position < size() ? position : size(); }
    void skip(std::size_t count) { seek(position_ + (count < remaining() ? count : remaining())); }

    bool read_u16(std::uint16_t& value);
    bool read_i32(std::int32_t& value);
    bool read_f64(double& value);

    // Writes at the position, overwriting or extending.
    void write_u16(std::uint16_t value);
    void write_i32(std::int32_t value);
    void write_f64(double value);

  private:
    bool read_le(std::uint64_t& value, std::size_t count);
    void write_le(std::uint64_t value, std::size_t count);

    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace ostrivane
