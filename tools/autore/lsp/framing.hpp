#pragma once
// The editor and the language server exchange messages framed by a header:
// "Content-Length: N", a blank line, then N bytes of JSON. The reader takes
// bytes as they arrive and hands out whole messages; bytes that make no
// header are dropped up to the next header, so one bad message never costs
// the ones after it. A message longer than the reader keeps is passed over,
// up to its end or to the next header, whichever comes first: a length that
// never comes never swallows the messages after it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace autore::lsp {

// The largest message body read whole; a longer one is passed over unread.
inline constexpr std::size_t default_max_body = std::size_t{64} << 20;

// What the reader found next.
struct Frame {
    enum class Kind : uint8_t {
        message,    // body holds the message
        bad_header, // bytes that made no header were dropped
        too_large,  // a message longer than the limit is being passed over (to its end or the next header)
    };
    Kind kind = Kind::message;
    std::string body;
    uint64_t declared = 0; // too_large: the length its header gave
};

class MessageReader {
public:
    explicit MessageReader(std::size_t max_body = default_max_body) : max_body_(max_body) {}

    // More bytes from the editor.
    void feed(std::string_view bytes);
    // Bytes taken back to be read again before anything fed after them: the
    // rest of a body that held the next header.
    void unread(std::string_view bytes);

    // The next frame, or none until more bytes come.
    std::optional<Frame> next();
    // At the end of the input: what is left, a body cut short or bytes that
    // make no header; none when nothing is left.
    std::optional<Frame> finish();

private:
    enum class State : uint8_t { header, body, skipping };

    std::optional<Frame> next_header();
    std::string_view held() const { return std::string_view(buffer_).substr(pos_); }
    void consume(std::size_t n);

    std::size_t max_body_;
    std::string buffer_;
    std::size_t pos_ = 0;
    State state_ = State::header;
    uint64_t body_length_ = 0;
    uint64_t skip_left_ = 0;
};

// A message body with its header, ready to be written.
std::string framed(std::string_view body);

} // namespace autore::lsp
