#pragma once
// A small writer of SVG text: elements with attributes, escaped text, and
// numbers printed short, so the picture stays a few hundred kilobytes.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace autore {

// A number as SVG wants it: at most one decimal, no trailing zeros.
std::string svg_number(double v);

// Text made safe inside an element or an attribute value.
std::string xml_escaped(std::string_view text);

class SvgWriter {
public:
    using Attributes = std::initializer_list<std::pair<std::string_view, std::string>>;

    SvgWriter(double width, double height);

    void open(std::string_view tag, Attributes attributes = {});
    void close(std::string_view tag);
    void empty(std::string_view tag, Attributes attributes);
    void text(double x, double y, std::string_view content, Attributes attributes = {});
    void raw(std::string_view markup) { out_ += markup; }

    // The finished document, closing the root element.
    std::string finish();

private:
    void attributes_of(Attributes attributes);
    std::string out_;
};

} // namespace autore
