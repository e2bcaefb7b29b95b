#include "tools/tool_support.hpp"

#include <cctype>
#include <set>

namespace autore::testing {

namespace {

class XmlScan {
public:
    explicit XmlScan(std::string_view t) : t_(t) {}

    std::optional<std::string> run()
    {
        skip_space();
        if (starts("<?xml")) {
            const auto end = t_.find("?>", pos_);
            if (end == std::string_view::npos)
                return fail("prolog not closed");
            pos_ = end + 2;
        }
        skip_misc();
        if (!starts("<"))
            return fail("no root element");
        if (auto p = element())
            return p;
        skip_misc();
        if (pos_ != t_.size())
            return fail("content after the root element");
        return std::nullopt;
    }

private:
    std::optional<std::string> fail(const std::string& why) const
    {
        return why + " at byte " + std::to_string(pos_);
    }
    bool starts(std::string_view s) const { return t_.substr(pos_, s.size()) == s; }
    void skip_space()
    {
        while (pos_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[pos_])))
            ++pos_;
    }
    void skip_misc()
    {
        for (;;) {
            skip_space();
            if (!starts("<!--"))
                return;
            const auto end = t_.find("-->", pos_);
            pos_ = end == std::string_view::npos ? t_.size() : end + 3;
        }
    }
    static bool name_char(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' || c == '.' ||
               (static_cast<unsigned char>(c) & 0x80) != 0;
    }
    std::string name()
    {
        const std::size_t start = pos_;
        while (pos_ < t_.size() && name_char(t_[pos_]))
            ++pos_;
        return std::string(t_.substr(start, pos_ - start));
    }
    std::optional<std::string> entity()
    {
        const auto end = t_.find(';', pos_);
        if (end == std::string_view::npos || end - pos_ > 10)
            return fail("bare &");
        const auto ref = t_.substr(pos_ + 1, end - pos_ - 1);
        static const std::set<std::string_view> known = {"amp", "lt", "gt", "quot", "apos"};
        const bool numeric = ref.size() > 1 && ref[0] == '#';
        if (!numeric && known.count(ref) == 0)
            return fail("unknown entity &" + std::string(ref) + ";");
        pos_ = end + 1;
        return std::nullopt;
    }
    std::optional<std::string> element()
    {
        ++pos_; // '<'
        const std::string tag = name();
        if (tag.empty())
            return fail("element without a name");
        std::set<std::string> seen;
        for (;;) {
            skip_space();
            if (starts("/>")) {
                pos_ += 2;
                return std::nullopt;
            }
            if (starts(">")) {
                ++pos_;
                break;
            }
            const std::string attribute = name();
            if (attribute.empty())
                return fail("bad attribute in <" + tag + ">");
            if (!seen.insert(attribute).second)
                return fail("attribute " + attribute + " repeated");
            skip_space();
            if (!starts("="))
                return fail("attribute " + attribute + " without a value");
            ++pos_;
            skip_space();
            if (pos_ >= t_.size() || (t_[pos_] != '"' && t_[pos_] != '\''))
                return fail("attribute " + attribute + " not quoted");
            const char quote = t_[pos_++];
            while (pos_ < t_.size() && t_[pos_] != quote) {
                if (t_[pos_] == '<')
                    return fail("< inside an attribute");
                if (t_[pos_] == '&') {
                    if (auto p = entity())
                        return p;
                } else {
                    ++pos_;
                }
            }
            if (pos_ >= t_.size())
                return fail("attribute value not closed");
            ++pos_;
        }
        // Content up to the matching end tag.
        for (;;) {
            if (pos_ >= t_.size())
                return fail("<" + tag + "> not closed");
            if (starts("</")) {
                pos_ += 2;
                const std::string end = name();
                skip_space();
                if (end != tag || !starts(">"))
                    return fail("</" + end + "> closes <" + tag + ">");
                ++pos_;
                return std::nullopt;
            }
            if (starts("<!--")) {
                skip_misc();
                continue;
            }
            if (starts("<")) {
                if (auto p = element())
                    return p;
                continue;
            }
            if (t_[pos_] == '&') {
                if (auto p = entity())
                    return p;
                continue;
            }
            ++pos_;
        }
    }

    std::string_view t_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<std::string> xml_problem(std::string_view text) { return XmlScan(text).run(); }

} // namespace autore::testing
