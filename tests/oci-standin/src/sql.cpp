#include "src/sql.h"

#include <charconv>

namespace {

enum class TokenKind { Word, Literal, Symbol, End };

struct Token {
    TokenKind kind;
    std::string text; // words upper-cased, literals with quotes un-doubled
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Identifier bytes; non-ASCII bytes count too so a stray multibyte name reads as one word.
bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '#' || u >= 0x80;
}

std::variant<std::vector<Token>, OraError> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (isSpace(c)) {
            ++i;
        } else if (c == '\'') {
            std::string literal;
            for (++i;; ++i) {
                if (i >= sql.size()) {
                    return oraError(ora::UnterminatedLiteral);
                }
                if (sql[i] == '\'') {
                    if (i + 1 < sql.size() && sql[i + 1] == '\'') {
                        literal += '\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += sql[i];
            }
            tokens.push_back({TokenKind::Literal, std::move(literal)});
        } else if (isWordChar(c)) {
            const std::size_t start = i;
            while (i < sql.size() && isWordChar(sql[i])) {
                ++i;
            }
            tokens.push_back({TokenKind::Word, upperAscii(sql.substr(start, i - start))});
        } else if (std::string_view("(),=*.\"").find(c) != std::string_view::npos) {
            tokens.push_back({TokenKind::Symbol, std::string(1, c)});
            ++i;
        } else {
            return oraError(ora::InvalidCharacter);
        }
    }
    tokens.push_back({TokenKind::End, {}});
    return tokens;
}

ub2 statementType(std::string_view sql) {
    std::size_t start = 0;
    while (start < sql.size() && isSpace(sql[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < sql.size() && isWordChar(sql[end])) {
        ++end;
    }
    const std::string word = upperAscii(sql.substr(start, end - start));
    constexpr std::pair<std::string_view, ub2> kTypes[] = {{"SELECT", oci::STMT_SELECT},
                                                           {"WITH", oci::STMT_SELECT},
                                                           {"UPDATE", 2},
                                                           {"DELETE", 3},
                                                           {"INSERT", 4},
                                                           {"CREATE", 5},
                                                           {"DROP", 6},
                                                           {"ALTER", kStmtAlter},
                                                           {"BEGIN", 8},
                                                           {"DECLARE", 9},
                                                           {"CALL", 10},
                                                           {"MERGE", 16}};
    for (const auto& [keyword, type] : kTypes) {
        if (word == keyword) {
            return type;
        }
    }
    return 0;
}

std::string redoubleQuotes(std::string_view literal) {
    std::string out;
    for (char c : literal) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    return out;
}

std::optional<sb8> parseNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    sb8 value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// '<sid>,<serial#>' with an optional ',@<instance>'.
std::optional<std::pair<sb8, sb8>> parseSessionId(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view serialText = text.substr(comma + 1);
    const std::size_t instanceComma = serialText.find(',');
    if (instanceComma != std::string_view::npos) {
        std::string_view instance = serialText.substr(instanceComma + 1);
        serialText = serialText.substr(0, instanceComma);
        while (!instance.empty() && instance.front() == ' ') {
            instance.remove_prefix(1);
        }
        if (instance.empty() || instance.front() != '@' || !parseNumber(instance.substr(1))) {
            return std::nullopt;
        }
    }
    const auto sid = parseNumber(text.substr(0, comma));
    const auto serial = parseNumber(serialText);
    if (!sid || !serial) {
        return std::nullopt;
    }
    return std::pair{*sid, *serial};
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    std::variant<OraError, SessionQuery, KillSession> statement() {
        if (word("SELECT")) {
            return select();
        }
        if (word("ALTER")) {
            return alter();
        }
        return oraError(ora::InvalidStatement);
    }

private:
    const Token& peek() const { return tokens_[pos_]; }
    bool atEnd() const { return peek().kind == TokenKind::End; }

    bool accept(TokenKind kind, std::string_view text) {
        if (peek().kind == kind && peek().text == text) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool word(std::string_view text) { return accept(TokenKind::Word, text); }
    bool symbol(std::string_view text) { return accept(TokenKind::Symbol, text); }

    std::optional<std::string> literal() {
        if (peek().kind != TokenKind::Literal) {
            return std::nullopt;
        }
        return tokens_[pos_++].text;
    }

    std::variant<OraError, Column> column() {
        if (peek().kind != TokenKind::Word) {
            return oraError(ora::InvalidStatement);
        }
        const std::string& name = tokens_[pos_++].text;
        if (auto found = columnNamed(name)) {
            return *found;
        }
        return oraError(ora::InvalidIdentifier, name);
    }

    std::variant<OraError, SelectItem> item() {
        const bool nvl = word("NVL");
        if (nvl && !symbol("(")) {
            return oraError(ora::InvalidStatement);
        }
        auto parsed = column();
        if (auto* error = std::get_if<OraError>(&parsed)) {
            return std::move(*error);
        }
        SelectItem item{std::get<Column>(parsed), std::nullopt,
                        std::string(columnInfo(std::get<Column>(parsed)).name)};
        if (!nvl) {
            return item;
        }
        if (!symbol(",")) {
            return oraError(ora::InvalidStatement);
        }
        item.nvl = literal();
        if (!item.nvl || !symbol(")")) {
            return oraError(ora::InvalidStatement);
        }
        if (columnInfo(item.column).kind != ColumnKind::Text) {
            return oraError(ora::InconsistentTypes);
        }
        item.name = "NVL(" + item.name + ",'" + redoubleQuotes(*item.nvl) + "')";
        return item;
    }

    std::variant<OraError, SessionQuery, KillSession> select() {
        SessionQuery query;
        do {
            auto parsed = item();
            if (auto* error = std::get_if<OraError>(&parsed)) {
                return std::move(*error);
            }
            query.items.push_back(std::move(std::get<SelectItem>(parsed)));
        } while (symbol(","));
        if (!word("FROM") || peek().kind != TokenKind::Word) {
            return oraError(ora::InvalidStatement);
        }
        if (!word("V$SESSION")) {
            return oraError(ora::NoSuchTable);
        }
        if (word("WHERE")) {
            auto parsed = column();
            if (auto* error = std::get_if<OraError>(&parsed)) {
                return std::move(*error);
            }
            query.filterColumn = std::get<Column>(parsed);
            auto value = symbol("=") ? literal() : std::nullopt;
            if (!value || columnInfo(*query.filterColumn).kind != ColumnKind::Text) {
                return oraError(ora::InvalidStatement);
            }
            query.filterValue = std::move(*value);
        }
        if (word("ORDER")) {
            if (!word("BY") || !word("SID") || !symbol(",") || !word("SERIAL#")) {
                return oraError(ora::InvalidStatement);
            }
        }
        if (!atEnd()) {
            return oraError(ora::NotProperlyEnded);
        }
        return query;
    }

    std::variant<OraError, SessionQuery, KillSession> alter() {
        if (!word("SYSTEM") || !word("KILL") || !word("SESSION")) {
            return oraError(ora::InvalidStatement);
        }
        const auto id = literal();
        if (!id) {
            return oraError(ora::MissingSessionId);
        }
        word("IMMEDIATE");
        if (!atEnd()) {
            return oraError(ora::NotProperlyEnded);
        }
        return KillSession{parseSessionId(*id)};
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

} // namespace

ParsedStatement parseStatement(std::string_view sql) {
    ParsedStatement parsed;
    parsed.type = statementType(sql);
    auto tokens = tokenize(sql);
    if (auto* error = std::get_if<OraError>(&tokens)) {
        parsed.body = std::move(*error);
        return parsed;
    }
    parsed.body = Parser(std::move(std::get<std::vector<Token>>(tokens))).statement();
    return parsed;
}
