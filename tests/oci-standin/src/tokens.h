#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "src/ora_error.h"

enum class TokenKind { Word, Literal, Symbol, End };

struct Token {
    TokenKind kind;
    std::string text; // words upper-cased, literals with quotes un-doubled
};

bool isSpace(char c);
// Identifier bytes; non-ASCII bytes count too so a stray multibyte name reads as one word.
bool isWordChar(char c);

// Splits a statement into words (numbers included), literals and symbols, ending with an End
// token; ORA-01756 or ORA-00911 for text Oracle would not read.
std::variant<std::vector<Token>, OraError> tokenize(std::string_view sql);

// The token as it stands in a statement's normalised text: literals quoted again.
std::string spelled(const Token& token);
