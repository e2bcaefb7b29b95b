#include "autore/lsp/framing.hpp"

#include <algorithm>

namespace autore::lsp {

namespace {

// A header block longer than this is no header: its bytes are dropped.
constexpr std::size_t longest_header = 8192;
// So many bytes are kept when a run of them is dropped, in case a header
// begins among them.
constexpr std::size_t kept_after_drop = 32;
constexpr std::string_view length_name = "content-length:";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Whether "Content-Length:" begins at this place of the bytes, ignoring case.
bool length_name_at(std::string_view bytes, std::size_t i)
{
    if (bytes.size() - i < length_name.size())
        return false;
    for (std::size_t k = 0; k < length_name.size(); ++k)
        if (lower(bytes[i + k]) != length_name[k])
            return false;
    return true;
}

// Where the last "Content-Length:" of a header line begins, ignoring case.
std::size_t find_length_name(std::string_view line)
{
    if (line.size() < length_name.size())
        return std::string_view::npos;
    for (std::size_t i = line.size() - length_name.size() + 1; i-- > 0;)
        if (length_name_at(line, i))
            return i;
    return std::string_view::npos;
}

// Where the first "Content-Length:" of the bytes begins, ignoring case.
std::size_t find_first_length_name(std::string_view bytes)
{
    for (std::size_t i = 0; i + length_name.size() <= bytes.size(); ++i)
        if (length_name_at(bytes, i))
            return i;
    return std::string_view::npos;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

// The length a header line gives: digits between blanks, and nothing else.
std::optional<uint64_t> length_value(std::string_view text)
{
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    uint64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + static_cast<uint64_t>(c - '0');
    }
    return n;
}

} // namespace

void MessageReader::feed(std::string_view bytes) { buffer_.append(bytes); }

void MessageReader::unread(std::string_view bytes)
{
    buffer_.erase(0, pos_);
    pos_ = 0;
    buffer_.insert(0, bytes);
}

void MessageReader::consume(std::size_t n)
{
    pos_ += n;
    if (pos_ >= buffer_.size()) {
        buffer_.clear();
        pos_ = 0;
    } else if (pos_ > (std::size_t{1} << 16) && pos_ > buffer_.size() / 2) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
}

std::optional<Frame> MessageReader::next()
{
    for (;;) {
        switch (state_) {
        case State::skipping: {
            // A message too long to keep is passed over as it arrives. A
            // length that never comes (an editor's fault, a stray header)
            // must not swallow what follows: the next header, wherever it
            // stands in the bytes passed over, is read.
            const std::string_view h = held();
            const std::size_t next = find_first_length_name(h);
            if (next != std::string_view::npos && next < skip_left_) {
                consume(next);
                skip_left_ = 0;
                state_ = State::header;
                break;
            }
            // A name cut in two by the reads may end what is held.
            const std::size_t kept = std::min(h.size(), length_name.size() - 1);
            const auto dropped = static_cast<std::size_t>(
                std::min<uint64_t>(skip_left_, skip_left_ <= h.size() ? h.size() : h.size() - kept));
            consume(dropped);
            skip_left_ -= dropped;
            if (skip_left_ > 0)
                return std::nullopt;
            state_ = State::header;
            break;
        }
        case State::body: {
            if (held().size() < body_length_)
                return std::nullopt;
            Frame frame;
            frame.body = std::string(held().substr(0, static_cast<std::size_t>(body_length_)));
            consume(static_cast<std::size_t>(body_length_));
            state_ = State::header;
            return frame;
        }
        case State::header: {
            auto frame = next_header();
            if (frame || state_ == State::header)
                return frame;
            break;
        }
        }
    }
}

std::optional<Frame> MessageReader::next_header()
{
    // Line ends and blanks between messages are passed over.
    std::size_t start = 0;
    const std::string_view h = held();
    while (start < h.size() && (blank(h[start]) || h[start] == '\r' || h[start] == '\n'))
        ++start;
    consume(start);
    const std::string_view text = held();

    // The header ends at its first empty line.
    std::optional<uint64_t> length;
    std::size_t line_start = 0;
    std::size_t end = std::string_view::npos;
    for (std::size_t i = 0; i < text.size() && i <= longest_header; ++i) {
        if (text[i] != '\n')
            continue;
        std::string_view line = text.substr(line_start, i - line_start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty()) {
            end = i + 1;
            break;
        }
        // Bytes before the name on its line are what is left of a message
        // whose length was given short: the header still counts.
        if (const std::size_t at = find_length_name(line); at != std::string_view::npos)
            if (const auto value = length_value(line.substr(at + length_name.size())))
                length = value;
        line_start = i + 1;
    }

    if (end == std::string_view::npos) {
        if (text.size() <= longest_header)
            return std::nullopt; // the header is still coming
        consume(text.size() - kept_after_drop);
        return Frame{Frame::Kind::bad_header, {}, 0};
    }
    consume(end);
    if (!length)
        return Frame{Frame::Kind::bad_header, {}, 0};
    if (*length > max_body_) {
        state_ = State::skipping;
        skip_left_ = *length;
        return Frame{Frame::Kind::too_large, {}, *length};
    }
    state_ = State::body;
    body_length_ = *length;
    return std::nullopt;
}

std::optional<Frame> MessageReader::finish()
{
    const std::string_view rest = held();
    const bool only_blanks = std::all_of(rest.begin(), rest.end(),
                                         [](char c) { return blank(c) || c == '\r' || c == '\n'; });
    std::optional<Frame> frame;
    if (state_ == State::body && !rest.empty())
        frame = Frame{Frame::Kind::message, std::string(rest), 0};
    else if (state_ == State::header && !only_blanks)
        frame = Frame{Frame::Kind::bad_header, {}, 0};
    buffer_.clear();
    pos_ = 0;
    state_ = State::header;
    return frame;
}

std::string framed(std::string_view body)
{
    std::string out = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    out += body;
    return out;
}

} // namespace autore::lsp
