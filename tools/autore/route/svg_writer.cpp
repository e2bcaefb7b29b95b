#include "autore/route/svg_writer.hpp"


#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace autore {

double text_width(std::string_view utf8, double font_size)
{
    double chars = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            chars += 1;
    return chars * font_size * 0.56;
}

std::string svg_number(double v)
{
    if (!std::isfinite(v))
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", v);
    std::string s = buffer;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    if (s == "-0")
        s = "0";
    return s;
}

std::string xml_escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            // Control characters other than tab and line ends are not allowed in XML.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
            break;
        }
    }
    return out;
}

namespace {

using Corners = std::array<std::pair<double, double>, 4>;

Corners corners_of(const TextBox& b, double gap)
{
    const double rad = b.angle * 3.14159265358979323846 / 180;
    const double c = std::cos(rad), s = std::sin(rad);
    const double x0 = b.left - gap, y0 = b.top - gap, x1 = b.left + b.width + gap, y1 = b.top + b.height + gap;
    Corners out{{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
    for (auto& [x, y] : out) {
        const double dx = x - b.turn_x, dy = y - b.turn_y;
        x = b.turn_x + dx * c - dy * s;
        y = b.turn_y + dx * s + dy * c;
    }
    return out;
}

// Whether an edge of one box separates the two (the test of separating axes).
bool separated_by_edges_of(const Corners& a, const Corners& b)
{
    for (std::size_t i = 0; i < 4; ++i) {
        const auto [ax, ay] = a[i];
        const auto [bx, by] = a[(i + 1) % 4];
        const double nx = by - ay, ny = ax - bx;
        double a_min = 1e300, a_max = -1e300, b_min = 1e300, b_max = -1e300;
        for (const auto& [x, y] : a) {
            a_min = std::min(a_min, x * nx + y * ny);
            a_max = std::max(a_max, x * nx + y * ny);
        }
        for (const auto& [x, y] : b) {
            b_min = std::min(b_min, x * nx + y * ny);
            b_max = std::max(b_max, x * nx + y * ny);
        }
        if (a_max <= b_min || b_max <= a_min)
            return true;
    }
    return false;
}

// "rotate(-45 120.5 80)" gives -45, 120.5, 80.
bool rotation_of(std::string_view transform, double& angle, double& x, double& y)
{
    if (transform.rfind("rotate(", 0) != 0)
        return false;
    const std::string numbers(transform.substr(7));
    char* end = nullptr;
    angle = std::strtod(numbers.c_str(), &end);
    x = std::strtod(end, &end);
    y = std::strtod(end, &end);
    return true;
}

} // namespace

TextBox text_box(double x, double y, std::string_view content, double font_size, std::string_view anchor, double angle)
{
    TextBox b;
    b.width = text_width(content, font_size);
    b.height = font_size;
    b.left = anchor == "middle" ? x - b.width / 2 : anchor == "end" ? x - b.width : x;
    // From the tallest letters above the baseline to the tails below it.
    b.top = y - font_size * 0.8;
    b.angle = angle;
    b.turn_x = x;
    b.turn_y = y;
    b.text = std::string(content);
    return b;
}

bool overlaps(const TextBox& a, const TextBox& b, double gap)
{
    const Corners ca = corners_of(a, gap / 2);
    const Corners cb = corners_of(b, gap / 2);
    return !separated_by_edges_of(ca, cb) && !separated_by_edges_of(cb, ca);
}

SvgWriter::SvgWriter(double width, double height)
{
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    // The picture takes the window's width and the height its shape gives it,
    // scrolling down: a picture taller than wide fills a landscape screen too,
    // its text at a size that reads.
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100%\" style=\"height:auto\" viewBox=\"0 0 " +
            svg_number(width) + " " + svg_number(height) + "\" preserveAspectRatio=\"xMidYMin meet\">\n";
}

bool SvgWriter::clear_of_texts(const TextBox& box, double gap) const
{
    for (const TextBox& t : texts_)
        if (overlaps(box, t, gap))
            return false;
    return true;
}

void SvgWriter::attributes_of(Attributes attributes)
{
    for (const auto& [name, value] : attributes) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"" + xml_escaped(value) + "\"";
    }
}

void SvgWriter::open(std::string_view tag, Attributes attributes)
{
    Inherited now = inherited_.back();
    for (const auto& [name, value] : attributes) {
        if (name == "font-size")
            now.font_size = std::atof(value.c_str());
        else if (name == "text-anchor")
            now.anchor = value;
    }
    inherited_.push_back(now);
    out_ += '<';
    out_ += tag;
    attributes_of(attributes);
    out_ += ">\n";
}

void SvgWriter::close(std::string_view tag)
{
    if (inherited_.size() > 1)
        inherited_.pop_back();
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
}

void SvgWriter::empty(std::string_view tag, Attributes attributes)
{
    out_ += '<';
    out_ += tag;
    attributes_of(attributes);
    out_ += "/>\n";
}

void SvgWriter::text(double x, double y, std::string_view content, Attributes attributes)
{
    double size = inherited_.back().font_size;
    std::string anchor = inherited_.back().anchor;
    double angle = 0, turn_x = x, turn_y = y;
    for (const auto& [name, value] : attributes) {
        if (name == "font-size")
            size = std::atof(value.c_str());
        else if (name == "text-anchor")
            anchor = value;
        else if (name == "transform")
            rotation_of(value, angle, turn_x, turn_y);
    }
    TextBox box = text_box(x, y, content, size, anchor);
    box.angle = angle;
    box.turn_x = turn_x;
    box.turn_y = turn_y;
    texts_.push_back(std::move(box));
    out_ += "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\"";
    attributes_of(attributes);
    out_ += ">" + xml_escaped(content) + "</text>\n";
}

std::string SvgWriter::finish()
{
    out_ += "</svg>\n";
    return std::move(out_);
}

} // namespace autore
