#include "app/payload.hpp"

#include "app/file_names.hpp"

#include <array>
#include <fstream>

namespace tratta {

namespace {

constexpr std::array<uint32_t, 256> crc_table()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

void put_le(std::string& out, uint64_t v, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}

uint64_t get_le(std::string_view in, std::size_t at, std::size_t width)
{
    uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(in[at + i]);
    return v;
}

// The texts in the order the payload holds them.
template <typename Texts>
auto* text_at(Texts& t, std::size_t i)
{
    decltype(&t.line) texts[payload_texts] = {&t.scenario_name, &t.train_name, &t.line,     &t.train,
                                              &t.notes,         &t.slowdowns,  &t.timetable};
    return texts[i];
}

PayloadProblem problem(std::string what) { return {"lo scenario di questo programma " + std::move(what)}; }

struct Footer {
    uint32_t version;
    uint32_t texts;
    uint64_t length;
    uint32_t checksum;
};

std::variant<Footer, PayloadProblem> read_footer(std::string_view tail, uint64_t file_size)
{
    if (tail.size() < payload_footer_bytes || tail.substr(tail.size() - payload_footer_bytes, 8) != payload_magic)
        return problem("manca: il programma non porta nessuno scenario");
    const std::size_t at = tail.size() - payload_footer_bytes + 8;
    const Footer f{static_cast<uint32_t>(get_le(tail, at, 4)), static_cast<uint32_t>(get_le(tail, at + 4, 4)),
                   get_le(tail, at + 8, 8), static_cast<uint32_t>(get_le(tail, at + 16, 4))};
    if (f.version != payload_version)
        return problem("è della versione " + std::to_string(f.version) + ", questo programma legge la versione " +
                       std::to_string(payload_version));
    if (f.texts != payload_texts)
        return problem("ha " + std::to_string(f.texts) + " testi invece di " + std::to_string(payload_texts));
    if (f.length > payload_largest || f.length > file_size - payload_footer_bytes)
        return problem("è troncato: dice di occupare " + std::to_string(f.length) + " byte, il file ne ha meno");
    return f;
}

std::variant<ScenarioTexts, PayloadProblem> read_texts(std::string_view body, const Footer& f)
{
    if (crc32(body) != f.checksum)
        return problem("è danneggiato: la somma di controllo non torna");
    ScenarioTexts texts;
    std::size_t at = 0;
    for (std::size_t i = 0; i < payload_texts; ++i) {
        if (body.size() - at < 4)
            return problem("è troncato dentro il testo " + std::to_string(i + 1));
        const uint64_t n = get_le(body, at, 4);
        at += 4;
        if (n > body.size() - at)
            return problem("è troncato dentro il testo " + std::to_string(i + 1));
        text_at(texts, i)->assign(body.substr(at, static_cast<std::size_t>(n)));
        at += static_cast<std::size_t>(n);
    }
    if (at != body.size())
        return problem("ha " + std::to_string(body.size() - at) + " byte in più dopo i testi");
    if (texts.scenario_name.empty() || texts.train_name.empty())
        return problem("non ha il nome dello scenario o del treno");
    // The names become the files beside the program: none may lead out of its folder.
    if (auto bad = names_problem(texts.scenario_name, texts.train_name))
        return problem("ha nomi che non possono stare nella sua cartella (" + *bad + ")");
    return texts;
}

} // namespace

uint32_t crc32(std::string_view bytes)
{
    static constexpr auto table = crc_table();
    uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ static_cast<unsigned char>(b)) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string encode_payload(const ScenarioTexts& t)
{
    std::string body;
    for (std::size_t i = 0; i < payload_texts; ++i) {
        const std::string& text = *text_at(t, i);
        put_le(body, text.size(), 4);
        body += text;
    }
    std::string out = body;
    out += payload_magic;
    put_le(out, payload_version, 4);
    put_le(out, payload_texts, 4);
    put_le(out, body.size(), 8);
    put_le(out, crc32(body), 4);
    return out;
}

std::variant<ScenarioTexts, PayloadProblem> decode_payload(std::string_view bytes)
{
    const auto footer = read_footer(bytes, bytes.size());
    if (const auto* p = std::get_if<PayloadProblem>(&footer))
        return *p;
    const Footer& f = std::get<Footer>(footer);
    const std::size_t end = bytes.size() - payload_footer_bytes;
    return read_texts(bytes.substr(end - static_cast<std::size_t>(f.length), static_cast<std::size_t>(f.length)), f);
}

std::size_t program_part(std::string_view bytes)
{
    const auto footer = read_footer(bytes, bytes.size());
    if (std::holds_alternative<PayloadProblem>(footer))
        return bytes.size();
    return bytes.size() - payload_footer_bytes - static_cast<std::size_t>(std::get<Footer>(footer).length);
}

std::variant<ScenarioTexts, PayloadProblem> read_payload(const std::filesystem::path& program)
{
    std::ifstream in(program, std::ios::binary | std::ios::ate);
    if (!in.is_open())
        return PayloadProblem{"il programma non riesce a leggere il proprio file"};
    const auto size = static_cast<uint64_t>(in.tellg());
    std::string tail(static_cast<std::size_t>(std::min<uint64_t>(size, payload_footer_bytes)), '\0');
    in.seekg(static_cast<std::streamoff>(size - tail.size()));
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    const auto footer = read_footer(tail, size);
    if (const auto* p = std::get_if<PayloadProblem>(&footer))
        return *p;
    const Footer& f = std::get<Footer>(footer);
    std::string body(static_cast<std::size_t>(f.length), '\0');
    in.seekg(static_cast<std::streamoff>(size - payload_footer_bytes - f.length));
    in.read(body.data(), static_cast<std::streamsize>(body.size()));
    if (!in)
        return PayloadProblem{"il programma non riesce a leggere il proprio file"};
    return read_texts(body, f);
}

} // namespace tratta
