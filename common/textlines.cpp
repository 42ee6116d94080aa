#include "textlines.h"

#include <stdexcept>
#include <string_view>

namespace textlines {

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

LineReader::LineReader(std::istream& in, const std::size_t maxBytes)
    : m_in(in)
    , m_maxBytes(maxBytes)
{
}

bool LineReader::next(std::string& line)
{
    line.clear();
    std::streambuf* const buffer = m_in.rdbuf();
    if (!buffer || !m_in.good())
        return false;
    using traits = std::char_traits<char>;
    bool readAny = false;
    for (;;) {
        const traits::int_type c = buffer->sbumpc();
        if (traits::eq_int_type(c, traits::eof())) {
            m_in.setstate(std::ios::eofbit);
            break;
        }
        readAny = true;
        const char ch = traits::to_char_type(c);
        if (ch == '\n')
            break;
        if (ch == '\r') {
            if (traits::eq_int_type(buffer->sgetc(), traits::to_int_type('\n')))
                buffer->sbumpc();
            break;
        }
        if (line.size() >= m_maxBytes) {
            ++m_lineNumber;
            throw std::length_error("line " + std::to_string(m_lineNumber) + " is longer than "
                + std::to_string(m_maxBytes) + " bytes: not a text table");
        }
        line += ch;
    }
    if (!readAny)
        return false;
    ++m_lineNumber;
    if (m_lineNumber == 1 && line.starts_with(utf8ByteOrderMark))
        line.erase(0, utf8ByteOrderMark.size());
    return true;
}

} // namespace textlines
