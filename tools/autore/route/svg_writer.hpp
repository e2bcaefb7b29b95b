#pragma once
// A small writer of SVG text: elements with attributes, escaped text, and
// numbers printed short, so the picture stays a few hundred kilobytes. It
// keeps where every text went, so that no label is written over another.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace autore {

// A number as SVG wants it: at most one decimal, no trailing zeros.
std::string svg_number(double v);

// Rough width of a label in the picture's sans-serif face.
double text_width(std::string_view utf8, double font_size);

// Text made safe inside an element or an attribute value.
std::string xml_escaped(std::string_view text);

// Where a text lies in the picture: its box as if upright (left, top, width,
// height), then turned by `angle` degrees about (turn_x, turn_y).
struct TextBox {
    double left = 0, top = 0, width = 0, height = 0;
    double angle = 0, turn_x = 0, turn_y = 0;
    std::string text;
};

// The box of a text whose baseline starts, centres or ends (anchor "start",
// "middle", "end") at x, y, in the picture's sans-serif face.
TextBox text_box(double x, double y, std::string_view content, double font_size, std::string_view anchor = "start",
                 double angle = 0);

// Whether two texts cover each other, with `gap` of room kept around them.
bool overlaps(const TextBox& a, const TextBox& b, double gap = 0);

// The picture fills the window it opens in, whatever its size, keeping its shape.
class SvgWriter {
public:
    using Attributes = std::initializer_list<std::pair<std::string_view, std::string>>;

    SvgWriter(double width, double height);

    void open(std::string_view tag, Attributes attributes = {});
    void close(std::string_view tag);
    void empty(std::string_view tag, Attributes attributes);
    // Font size and anchor come from the attributes or the groups around the
    // text; each text's box is kept, for later texts to keep off it.
    void text(double x, double y, std::string_view content, Attributes attributes = {});
    void raw(std::string_view markup) { out_ += markup; }

    const std::vector<TextBox>& texts() const { return texts_; }
    // Keeps an area (a drawn sign, the north arrow) clear of the texts that follow.
    void reserve(TextBox area) { texts_.push_back(std::move(area)); }
    // Whether a text would stand clear of every text written so far.
    bool clear_of_texts(const TextBox& box, double gap = 1) const;
    // The font size and anchor a text written now would inherit.
    double font_size() const { return inherited_.back().font_size; }

    // The finished document, closing the root element.
    std::string finish();

private:
    struct Inherited {
        double font_size = 16; // what a browser takes when nothing says otherwise
        std::string anchor = "start";
    };
    void attributes_of(Attributes attributes);
    std::string out_;
    std::vector<Inherited> inherited_{Inherited{}};
    std::vector<TextBox> texts_;
};

} // namespace autore
