#include "src/tokens.h"

#include "src/instance.h"

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

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
        } else if (std::string_view("(),=*.\"<").find(c) != std::string_view::npos) {
            tokens.push_back({TokenKind::Symbol, std::string(1, c)});
            ++i;
        } else {
            return oraError(ora::InvalidCharacter);
        }
    }
    tokens.push_back({TokenKind::End, {}});
    return tokens;
}

std::string spelled(const Token& token) {
    if (token.kind != TokenKind::Literal) {
        return token.text;
    }
    std::string out = "'";
    for (char c : token.text) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    return out + "'";
}
