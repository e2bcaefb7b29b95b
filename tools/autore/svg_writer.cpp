#include "autore/svg_writer.hpp"

#include <cmath>
#include <cstdio>

namespace autore {

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

SvgWriter::SvgWriter(double width, double height)
{
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + svg_number(width) + "\" height=\"" +
            svg_number(height) + "\" viewBox=\"0 0 " + svg_number(width) + " " + svg_number(height) + "\">\n";
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
    out_ += '<';
    out_ += tag;
    attributes_of(attributes);
    out_ += ">\n";
}

void SvgWriter::close(std::string_view tag)
{
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
