#include "csv.h"

namespace cli {

bool CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    error_.clear();
    recordLine_ = currentLine_;

    int c = in_.get();
    if (c == std::char_traits<char>::eof())
        return false;

    std::string field;
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted } state = State::FieldStart;
    for (;; c = in_.get()) {
        const bool eof = c == std::char_traits<char>::eof();
        const char ch = eof ? '\0' : static_cast<char>(c);
        // LF, CRLF and a lone CR each end a line, inside quotes too.
        if (!eof && (ch == '\n' || (ch == '\r' && in_.peek() != '\n')))
            ++currentLine_;
        switch (state) {
        case State::Quoted:
            if (eof) {
                error_ = "unterminated quoted field";
                return false;
            }
            if (ch == '"')
                state = State::QuoteInQuoted;
            else
                field.push_back(ch);
            continue;
        case State::QuoteInQuoted:
            if (!eof && ch == '"') {
                field.push_back('"');
                state = State::Quoted;
                continue;
            }
            if (!eof && ch != ',' && ch != '\n' && ch != '\r') {
                error_ = "unexpected character after a closing quote";
                return false;
            }
            break; // the field ends here, handled below
        case State::FieldStart:
            if (!eof && ch == '"') {
                state = State::Quoted;
                continue;
            }
            [[fallthrough]];
        case State::Unquoted:
            if (!eof && ch != ',' && ch != '\n' && ch != '\r') {
                field.push_back(ch);
                state = State::Unquoted;
                continue;
            }
            break;
        }

        // End of a field: at ",", at the end of the line, or at the end of input.
        fields.push_back(std::move(field));
        field.clear();
        state = State::FieldStart;
        if (eof)
            return true;
        if (ch == '\r') {
            if (in_.peek() == '\n') {
                in_.get();
                ++currentLine_;
            }
            return true;
        }
        if (ch == '\n')
            return true;
    }
}

std::string csvField(std::string_view text)
{
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos
        || (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote)
        return std::string(text);
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"')
            out.push_back('"');
        out.push_back(ch);
    }
    out.push_back('"');
    return out;
}

std::string csvRecord(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.push_back(',');
        out += csvField(fields[i]);
    }
    return out;
}

} // namespace cli
