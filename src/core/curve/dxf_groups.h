#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace ostrivane {

// One group of a DXF file: its code, its value and the line the code stands on (from 1).
struct DxfGroup {
    int code = 0;
    std::string_view value;
    std::size_t line = 0;
};

// Reads the groups of a DXF file saved as text one after another, without copying the text.
// Lines end in LF, CR LF or a lone CR; codes and values are trimmed of blanks.
class DxfGroupReader {
  public:
    // From the start of `text`, after a UTF-8 byte order mark.
    explicit DxfGroupReader(std::string_view text);
    // From byte `offset` of `text`, the start of line `line`.
    DxfGroupReader(std::string_view text, std::size_t offset, std::size_t line);

    // The next group; nullopt at the end of the text. Throws Error for a code that is not a
    // number and for a code whose value the file does not hold.
    std::optional<DxfGroup> next();

    // Where the group that next() reads starts: its byte and its line.
    std::size_t offset() const { return at_; }
    std::size_t line() const { return line_ + 1; }

  private:
    std::optional<std::string_view> next_line();

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t line_ = 0;  // lines read so far
};

// An entity of the ENTITIES section: its type, the line of its "0" group and where its further
// groups start.
struct DxfEntity {
    std::string_view type;
    std::size_t line = 0;
    std::size_t body = 0;       // byte offset of the group after the "0" group
    std::size_t body_line = 0;  // and its line
};

// Walks the sections of a DXF file up to its "0 EOF" group, giving the entities of its ENTITIES
// sections in order and reading $INSUNITS from its HEADER. Nothing but the reader's place is
// kept, so a file of any length needs no more memory than a small one.
class DxfEntityReader {
  public:
    explicit DxfEntityReader(std::string_view text) : text_(text), groups_(text) {}

    // The next entity; nullopt after the last one. Throws Error as DxfGroupReader does, and for
    // an $INSUNITS value that is not a whole number or names a unit not known here.
    std::optional<DxfEntity> next();

    // Calls group(g) for every group of `entity` after its "0" group, in order.
    template <typename Group>
    void for_each_group(const DxfEntity& entity, Group&& group) const {
        DxfGroupReader groups(text_, entity.body, entity.body_line);
        while (const auto g = groups.next()) {
            if (g->code == 0)
                return;
            group(*g);
        }
    }

    // Millimetres per drawing unit, as far as the header was read.
    double unit_mm() const { return unit_mm_; }
    // Whether the walk met the "0 EOF" group that ends every complete file.
    bool reached_eof() const { return reached_eof_; }
    // The line after the last one read.
    std::size_t line() const { return groups_.line(); }

  private:
    // The next group and the place after it, a group looked at ahead first.
    struct Placed {
        DxfGroup group;
        std::size_t after = 0;
        std::size_t after_line = 0;
    };
    std::optional<Placed> next_placed();

    std::string_view text_;
    DxfGroupReader groups_;
    std::optional<Placed> ahead_;
    std::string_view section_;
    double unit_mm_ = 1;
    bool reached_eof_ = false;
};

}  // namespace ostrivane
