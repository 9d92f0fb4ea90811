// SPDX-License-Identifier: Zlib
#include "preview.h"

#include <algorithm>

#include "glyph_shapes.h"

namespace assetgen {

namespace {

constexpr Color kBackdrop = Hex(0x202331);
constexpr Color kLabel = Hex(0xe8e8e8);
constexpr Color kCheckA = Hex(0x6d6f7a);
constexpr Color kCheckB = Hex(0x8b8d98);
constexpr int kGap = 6;
constexpr int kLabelHeight = 12;

void Checker(Canvas& c, int x, int y, int w, int h) {
    for (int j = 0; j < h; j += 8)
        for (int i = 0; i < w; i += 8)
            c.FillRect(x + i, y + j, std::min(8, w - i), std::min(8, h - j),
                       ((i / 8 + j / 8) % 2) ? kCheckA : kCheckB);
}

// Composites frame `f` of `sheet` onto `out` at (x, y), magnified `zoom` times.
void DrawFrame(Canvas& out, const Canvas& sheet, const SheetLayout& s, int level, int f, int zoom, int x,
               int y) {
    int fw = s.frameWidth * level, fh = s.frameHeight * level;
    int x0 = (f % s.columns) * fw, y0 = (f / s.columns) * fh;
    if (zoom == 1) {
        out.Composite(sheet, x0, y0, fw, fh, x, y);
        return;
    }
    Canvas frame(fw, fh);
    frame.Composite(sheet, x0, y0, fw, fh, 0, 0);
    out.Draw(frame.Magnified(zoom), x, y);
}

// One block of the sheet: a title line, then the frames in rows, each under
// its label. Measured first so the whole preview is allocated once.
struct Section {
    std::string title;
    const Canvas* sheet;
    int level, zoom, cellW, cellH, cols, rows;

    int Width() const { return std::max(cols * (cellW + kGap) + kGap, LabelWidth(title) + 2 * kGap); }
    int Height() const { return kLabelHeight + kGap + rows * (cellH + kLabelHeight + kGap); }
};

// A section is about 1400 pixels wide. One that would then be taller than
// kMaxSectionHeight takes more frames to a row, as far as the image size
// limit allows, so that a preview of two sections stays within the limit.
constexpr int kSectionWidth = 1400, kMaxSectionHeight = 1900;

Section MakeSection(const std::string& title, const SheetLayout& s, const Canvas& sheet, int level,
                    int zoom) {
    int cw = s.frameWidth * level * zoom, ch = s.frameHeight * level * zoom;
    int cols = std::clamp(kSectionWidth / (cw + kGap), 1, s.frames);
    auto height = [&](int c) { return Section{title, &sheet, level, zoom, cw, ch, c, (s.frames + c - 1) / c}.Height(); };
    while (cols < s.frames && height(cols) > kMaxSectionHeight && (cols + 1) * (cw + kGap) + kGap <= kMaxImageSide)
        ++cols;
    return {title, &sheet, level, zoom, cw, ch, cols, (s.frames + cols - 1) / cols};
}

void DrawSection(Canvas& out, int top, const Section& sec, const SheetLayout& s,
                 const std::function<std::string(int)>& label) {
    DrawLabel(out, kGap, top + 2, sec.title, kLabel);
    for (int f = 0; f < s.frames; ++f) {
        int x = kGap + (f % sec.cols) * (sec.cellW + kGap);
        int y = top + kLabelHeight + kGap + (f / sec.cols) * (sec.cellH + kLabelHeight + kGap);
        DrawLabel(out, x, y, label ? label(f) : std::to_string(f), kLabel);
        Checker(out, x, y + kLabelHeight, sec.cellW, sec.cellH);
        DrawFrame(out, *sec.sheet, s, sec.level, f, sec.zoom, x, y + kLabelHeight);
    }
}

std::string SizeText(const SheetLayout& s) {
    return s.name + "  " + std::to_string(s.frameWidth) + "x" + std::to_string(s.frameHeight) + "  frames " +
           std::to_string(s.frames);
}

// Sets `text` with the glyph frames of a rendered font, glyphs placed by
// their centres and advanced like the game's text writer does. A letter's
// ink lies in the room of its advance starting 7 pixels before its pen, so
// the first pen stands 7 pixels inside the left margin.
Canvas SampleLine(const Canvas& font, const SheetLayout& s, int level, const std::string& text) {
    int cell = s.frameWidth * level, advance = 7 * level, margin = cell - advance;
    int width = 0;
    for (char ch : text) width += (7 + LetterSpacing(static_cast<unsigned char>(ch))) * level;
    Canvas out(margin + width + margin, cell);
    out.FillRect(0, 0, out.Width(), out.Height(), Hex(0x2a4f8a));
    int pen = margin + advance;
    for (char ch : text) {
        int code = static_cast<unsigned char>(ch);
        if (code > 32 && code <= 159) DrawFrame(out, font, s, level, code - 32, 1, pen - cell / 2, 0);
        pen += (7 + LetterSpacing(code)) * level;
    }
    return out;
}

}  // namespace

Canvas Stack(const std::vector<Canvas>& parts, int gap) {
    int w = 0, h = gap;
    for (const Canvas& c : parts) {
        w = std::max(w, c.Width() + 2 * gap);
        h += c.Height() + gap;
    }
    Canvas out(w, h);
    out.FillRect(0, 0, w, h, kBackdrop);
    int y = gap;
    for (const Canvas& c : parts) {
        out.Draw(c, gap, y);
        y += c.Height() + gap;
    }
    return out;
}

Canvas PreviewSheet(const ImageAsset& a, const Canvas& level1, const Canvas& level4,
                    const std::function<std::string(int)>& label) {
    int zoom1 = a.layout.frameWidth <= 16 ? 4 : a.layout.frameWidth <= 32 ? 2 : 1;
    std::string zoomNote = zoom1 > 1 ? " (shown " + std::to_string(zoom1) + "x)" : "";
    Section small = MakeSection(SizeText(a.layout) + "   level 1" + zoomNote, a.layout, level1, 1, zoom1);
    Section large = MakeSection("level 4 (hd2)", a.layout, level4, 4, 1);
    Canvas out(std::max(small.Width(), large.Width()), small.Height() + large.Height() + kGap);
    out.FillRect(0, 0, out.Width(), out.Height(), kBackdrop);
    DrawSection(out, 0, small, a.layout, label);
    DrawSection(out, small.Height(), large, a.layout, label);
    return out;
}

Canvas FontPreview(const ImageAsset& font, const Canvas& level1, const Canvas& level4) {
    static const char* kLines[] = {
        "The quick brown fox jumps over the lazy dog.",
        "SPHINX OF BLACK QUARTZ, JUDGE MY VOW! 0123456789",
        "Score 00012345   Health 99   Click to Start",
        "It'll be a shame to see you go. <[BACK]  (A) {x} @#$%&*+-=/\\|~^_`'\";:?",
    };
    auto codeLabel = [](int f) { return std::to_string(f + 32); };
    std::vector<Canvas> parts{PreviewSheet(font, level1, level4, codeLabel)};
    for (const char* line : kLines) parts.push_back(SampleLine(level1, font.layout, 1, line).Magnified(2));
    for (const char* line : kLines) parts.push_back(SampleLine(level4, font.layout, 4, line));
    std::string symbols;
    for (int c = 127; c <= 159; ++c) symbols += static_cast<char>(c);
    parts.push_back(SampleLine(level1, font.layout, 1, symbols).Magnified(2));
    parts.push_back(SampleLine(level4, font.layout, 4, symbols));
    return Stack(parts, kGap);
}

}  // namespace assetgen
