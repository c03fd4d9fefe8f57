// Rasterises characters 32..126 of a TrueType/OpenType face into the grid
// picture that the library's `dat -t FONT` grabs a font from.
//
// The picture is an 8-bit BMP: index 255 draws the lines around the glyph
// boxes, index 0 is the transparent inside of a box and index 1 is ink. With
// only those three indices the library makes a mono font, which draws in the
// colour the program passes. Every box is as high as the tallest ink of the
// face at that size, so text_height() is the real height of the text; a box
// is as wide as the glyph's advance, so the font keeps the face's spacing.
//
// usage: font_grid FONT_FILE PIXEL_SIZE OUT.bmp [--threshold N]
// Without --threshold the glyphs come from FreeType's hinted 1-bit renderer;
// with it, from the grey renderer cut at level N (1..255).

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int first_char = 32;
constexpr int last_char = 126;
constexpr int glyphs_per_row = 16;
constexpr std::uint8_t border_index = 255;
constexpr std::uint8_t ink_index = 1;

struct glyph {
    int width = 0;     // box width: the advance, widened to hold all ink
    int ink_left = 0;  // ink column of the box where the bitmap starts
    int top = 0;       // distance from the baseline up to the bitmap top
    int rows = 0;
    int columns = 0;
    std::vector<std::uint8_t> ink;  // rows x columns, 1 where inked
};

struct grid {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // top-down, one index per pixel
    std::uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool render_glyph(FT_Face face, int code, int threshold, glyph& out) {
    FT_Int32 flags = FT_LOAD_RENDER;
    flags |= threshold > 0 ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), flags) != 0) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bmp = slot->bitmap;
    out.columns = static_cast<int>(bmp.width);
    out.rows = static_cast<int>(bmp.rows);
    out.top = slot->bitmap_top;
    out.ink.assign(static_cast<size_t>(out.columns) * out.rows, 0);
    for (int y = 0; y < out.rows; ++y) {
        const unsigned char* row = bmp.buffer + static_cast<long>(y) * bmp.pitch;
        for (int x = 0; x < out.columns; ++x) {
            bool on = false;
            if (bmp.pixel_mode == FT_PIXEL_MODE_MONO) {
                on = (row[x / 8] >> (7 - x % 8)) & 1;
            } else {
                on = row[x] >= threshold;
            }
            out.ink[static_cast<size_t>(y) * out.columns + x] = on ? 1 : 0;
        }
    }
    const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    // Ink left of the pen position would fall outside the box: shift it in.
    const int left = slot->bitmap_left;
    out.ink_left = std::max(left, 0);
    out.width = std::max(advance, out.ink_left + out.columns);
    out.width = std::max(out.width, 1);
    return true;
}

bool write_bmp(const char* path, const grid& g) {
    const int stride = (g.width + 3) & ~3;
    const std::uint32_t palette_size = 256 * 4;
    const std::uint32_t data_offset = 14 + 40 + palette_size;
    const std::uint32_t file_size = data_offset + static_cast<std::uint32_t>(stride) * g.height;
    std::vector<std::uint8_t> out;
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(v & 0xff);
        out.push_back((v >> 8) & 0xff);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(file_size);
    put32(0);
    put32(data_offset);
    put32(40);
    put32(static_cast<std::uint32_t>(g.width));
    put32(static_cast<std::uint32_t>(g.height));
    put16(1);
    put16(8);
    put32(0);  // no compression
    put32(static_cast<std::uint32_t>(stride) * g.height);
    put32(2835);
    put32(2835);
    put32(256);
    put32(0);
    for (int i = 0; i < 256; ++i) {
        // Blue, green, red, reserved: black inside, white ink, yellow lines.
        const bool line = i == border_index;
        const bool ink = i == ink_index;
        out.push_back(ink ? 255 : 0);
        out.push_back(line || ink ? 255 : 0);
        out.push_back(line || ink ? 255 : 0);
        out.push_back(0);
    }
    for (int y = g.height - 1; y >= 0; --y) {  // BMP rows run bottom-up
        const std::uint8_t* row = &g.pixels[static_cast<size_t>(y) * g.width];
        out.insert(out.end(), row, row + g.width);
        out.insert(out.end(), static_cast<size_t>(stride - g.width), 0);
    }
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

int usage() {
    std::fprintf(stderr, "usage: font_grid FONT_FILE PIXEL_SIZE OUT.bmp [--threshold N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        return usage();
    }
    const char* font_path = argv[1];
    const int pixel_size = std::atoi(argv[2]);
    const char* out_path = argv[3];
    int threshold = 0;
    if (argc == 6) {
        if (std::strcmp(argv[4], "--threshold") != 0) {
            return usage();
        }
        threshold = std::atoi(argv[5]);
        if (threshold < 1 || threshold > 255) {
            return usage();
        }
    }
    if (pixel_size < 4 || pixel_size > 400) {
        return usage();
    }

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "font_grid: FreeType does not start\n");
        return 1;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, font_path, 0, &face) != 0) {
        std::fprintf(stderr, "font_grid: cannot read the face %s\n", font_path);
        FT_Done_FreeType(library);
        return 1;
    }
    int status = 0;
    std::vector<glyph> glyphs(last_char - first_char + 1);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)) != 0) {
        std::fprintf(stderr, "font_grid: %s has no size %d\n", font_path, pixel_size);
        status = 1;
    }
    for (int c = first_char; c <= last_char && status == 0; ++c) {
        if (!render_glyph(face, c, threshold, glyphs[c - first_char])) {
            std::fprintf(stderr, "font_grid: %s has no glyph for %d\n", font_path, c);
            status = 1;
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (status != 0) {
        return status;
    }

    // One height for all boxes: from the highest ink above the baseline to
    // the lowest below it, so no glyph is cut and all rows line up.
    int ascent = 1;
    int descent = 0;
    for (const glyph& g : glyphs) {
        if (g.rows > 0) {
            ascent = std::max(ascent, g.top);
            descent = std::max(descent, g.rows - g.top);
        }
    }
    const int box_height = ascent + descent;

    // Boxes sit side by side with one line of index 255 around each.
    grid out;
    const int rows = (static_cast<int>(glyphs.size()) + glyphs_per_row - 1) / glyphs_per_row;
    for (int r = 0; r < rows; ++r) {
        int row_width = 1;
        for (int i = r * glyphs_per_row;
             i < std::min<int>((r + 1) * glyphs_per_row, static_cast<int>(glyphs.size())); ++i) {
            row_width += glyphs[i].width + 1;
        }
        out.width = std::max(out.width, row_width);
    }
    // A spare border column keeps the last box of the widest row closed.
    out.width += 1;
    out.height = rows * (box_height + 1) + 1;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, border_index);

    for (size_t i = 0; i < glyphs.size(); ++i) {
        const glyph& g = glyphs[i];
        const int r = static_cast<int>(i) / glyphs_per_row;
        int x0 = 1;
        for (size_t j = static_cast<size_t>(r) * glyphs_per_row; j < i; ++j) {
            x0 += glyphs[j].width + 1;
        }
        const int y0 = 1 + r * (box_height + 1);
        for (int y = 0; y < box_height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                out.at(x0 + x, y0 + y) = 0;
            }
        }
        const int ink_top = ascent - g.top;
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.columns; ++x) {
                if (g.ink[static_cast<size_t>(y) * g.columns + x] != 0) {
                    out.at(x0 + g.ink_left + x, y0 + ink_top + y) = ink_index;
                }
            }
        }
    }

    if (!write_bmp(out_path, out)) {
        std::fprintf(stderr, "font_grid: cannot write %s\n", out_path);
        return 1;
    }
    return 0;
}
