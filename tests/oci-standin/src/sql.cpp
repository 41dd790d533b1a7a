#include "src/sql.h"

#include <algorithm>
#include <charconv>

#include "src/tokens.h"

namespace {

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
std::optional<SessionId> parseSessionId(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    SessionId id;
    std::string_view serialText = text.substr(comma + 1);
    const std::size_t instanceComma = serialText.find(',');
    if (instanceComma != std::string_view::npos) {
        std::string_view instance = serialText.substr(instanceComma + 1);
        serialText = serialText.substr(0, instanceComma);
        while (!instance.empty() && instance.front() == ' ') {
            instance.remove_prefix(1);
        }
        const auto number = instance.empty() || instance.front() != '@'
                                ? std::nullopt
                                : parseNumber(instance.substr(1));
        if (!number) {
            return std::nullopt;
        }
        id.instance = *number;
    }
    const auto sid = parseNumber(text.substr(0, comma));
    const auto serial = parseNumber(serialText);
    if (!sid || !serial) {
        return std::nullopt;
    }
    id.sid = *sid;
    id.serial = *serial;
    return id;
}

std::optional<View> viewNamed(std::string_view upperName) {
    constexpr std::pair<std::string_view, View> kViews[] = {
        {"V$SESSION", View::Session},
        {"GV$SESSION", View::GvSession},
        {"V$SQL", View::Sql},
        {"GV$SQL", View::GvSql},
        {"V$TRANSACTION", View::Transaction},
        {"GV$TRANSACTION", View::GvTransaction},
        {"DBA_OBJECTS", View::DbaObjects},
        {"ALL_OBJECTS", View::AllObjects},
        {"V$SESSION_LONGOPS", View::Longops},
        {"GV$SESSION_LONGOPS", View::GvLongops}};
    for (const auto& [name, view] : kViews) {
        if (name == upperName) {
            return view;
        }
    }
    return std::nullopt;
}

bool isSessionView(View view) {
    return view == View::Session || view == View::GvSession;
}

// A view in a FROM clause and the name its columns are qualified with.
struct Scope {
    View view = View::Session;
    std::string qualifier; // the alias, else the view's name
};

// A column as written: [qualifier.]name.
struct Ref {
    std::string qualifier;
    std::string name;
};

bool owns(const Scope& scope, const Ref& ref) {
    return ref.qualifier.empty() || ref.qualifier == scope.qualifier;
}

OraError unknownColumn(const Ref& ref) {
    return oraError(ora::InvalidIdentifier,
                    ref.qualifier.empty() ? ref.name : ref.qualifier + "\".\"" + ref.name);
}

// The column `name` of a view; inst_id only in the gv$ ones.
template <typename C> std::optional<C> columnIn(View view, std::string_view name);

template <> std::optional<Column> columnIn<Column>(View view, std::string_view name) {
    const auto column = columnNamed(name);
    return column == Column::InstId && !isGlobal(view) ? std::nullopt : column;
}

template <> std::optional<SqlColumn> columnIn<SqlColumn>(View view, std::string_view name) {
    const auto column = sqlColumnNamed(name);
    return column == SqlColumn::InstId && !isGlobal(view) ? std::nullopt : column;
}

template <> std::optional<TableColumn> columnIn<TableColumn>(View view, std::string_view name) {
    const auto table = tableOf(view);
    const auto column = table ? tableColumnNamed(*table, name) : std::nullopt;
    return name == "INST_ID" && !isGlobal(view) ? std::nullopt : column;
}

const ColumnInfo& infoOf(Column column) {
    return columnInfo(column);
}

const ColumnInfo& infoOf(SqlColumn column) {
    return sqlColumnInfo(column);
}

const ColumnInfo& infoOf(TableColumn column) {
    return tableColumnInfo(column);
}

constexpr ColumnInfo kCountType{"COUNT(*)", ColumnKind::Number, oci::SQLT_NUM, 22};
constexpr ColumnInfo kUserenvType{"USERENV('INSTANCE')", ColumnKind::Number, oci::SQLT_NUM, 22};

// <inner column> = <outer column>, either way round. A name without qualifier is looked up
// in the subquery's own view first, as Oracle does.
template <typename C>
std::optional<OraError> addJoin(std::vector<std::pair<C, Column>>& joins, const Scope& inner,
                                const Scope& outer, const Ref& left, const Ref& right) {
    struct Side {
        std::optional<C> inner;
        std::optional<Column> outer;
    };
    auto resolve = [&](const Ref& ref, Side& side) {
        if (owns(inner, ref)) {
            side.inner = columnIn<C>(inner.view, ref.name);
        }
        if (!side.inner && owns(outer, ref)) {
            side.outer = columnIn<Column>(outer.view, ref.name);
        }
        return side.inner || side.outer;
    };
    Side a;
    Side b;
    if (!resolve(left, a)) {
        return unknownColumn(left);
    }
    if (!resolve(right, b)) {
        return unknownColumn(right);
    }
    if (a.inner && b.outer) {
        joins.emplace_back(*a.inner, *b.outer);
    } else if (b.inner && a.outer) {
        joins.emplace_back(*b.inner, *a.outer);
    } else {
        return oraError(ora::InvalidStatement);
    }
    if (infoOf(joins.back().first).kind != columnInfo(joins.back().second).kind) {
        return oraError(ora::InconsistentTypes);
    }
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    StatementBody statement() {
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

    std::optional<Ref> ref() {
        if (peek().kind != TokenKind::Word) {
            return std::nullopt;
        }
        Ref ref{{}, tokens_[pos_++].text};
        if (symbol(".")) {
            if (peek().kind != TokenKind::Word) {
                return std::nullopt;
            }
            ref.qualifier = std::move(ref.name);
            ref.name = tokens_[pos_++].text;
        }
        return ref;
    }

    // After USERENV: ('INSTANCE'), the one parameter the stand-in knows.
    bool connectedInstanceArguments() {
        const auto parameter = symbol("(") ? literal() : std::nullopt;
        return parameter && upperAscii(*parameter) == "INSTANCE" && symbol(")");
    }

    // The text Oracle names a select-list expression by: its tokens without whitespace.
    std::string spelledFrom(std::size_t start) const {
        std::string text;
        for (std::size_t i = start; i < pos_; ++i) {
            text += spelled(tokens_[i]);
        }
        return text;
    }

    // The FROM clause of the (sub)query whose select list starts here, read ahead because
    // the select list refers to it. `end` is where the clause ends.
    std::optional<OraError> fromClause(Scope& scope, std::size_t& end) const {
        int depth = 0;
        for (std::size_t i = pos_; tokens_[i].kind != TokenKind::End; ++i) {
            const Token& token = tokens_[i];
            if (token.kind == TokenKind::Symbol && token.text == "(") {
                ++depth;
            } else if (token.kind == TokenKind::Symbol && token.text == ")") {
                if (depth-- == 0) {
                    break;
                }
            } else if (depth == 0 && token.kind == TokenKind::Word && token.text == "FROM") {
                const Token& table = tokens_[i + 1];
                if (table.kind != TokenKind::Word) {
                    break;
                }
                const auto view = viewNamed(table.text);
                if (!view) {
                    return oraError(ora::NoSuchTable);
                }
                scope = {*view, table.text};
                end = i + 2;
                const Token& alias = tokens_[end];
                if (alias.kind == TokenKind::Word && alias.text != "WHERE" &&
                    alias.text != "ORDER") {
                    scope.qualifier = alias.text;
                    ++end;
                }
                return std::nullopt;
            }
        }
        return oraError(ora::InvalidStatement);
    }

    std::optional<OraError> outerColumn(const Scope& scope, Column& column) {
        const auto parsed = ref();
        if (!parsed) {
            return oraError(ora::InvalidStatement);
        }
        const auto found =
            owns(scope, *parsed) ? columnIn<Column>(scope.view, parsed->name) : std::nullopt;
        if (!found) {
            return unknownColumn(*parsed);
        }
        column = *found;
        return std::nullopt;
    }

    std::optional<OraError> item(const Scope& scope, SessionQuery& query) {
        const std::size_t start = pos_;
        SelectItem item{Column::Sid, kCountType, std::nullopt, {}};
        if (symbol("(")) {
            if (auto error = subquery(scope, query, item)) {
                return error;
            }
            if (!symbol(")")) {
                return oraError(ora::InvalidStatement);
            }
            item.name = spelledFrom(start);
            query.items.push_back(std::move(item));
            return std::nullopt;
        }
        if (word("USERENV")) {
            if (!connectedInstanceArguments()) {
                return oraError(ora::InvalidStatement);
            }
            item.source = query.subqueries.size();
            item.type = kUserenvType;
            item.name = spelledFrom(start);
            query.subqueries.emplace_back(ConnectedInstance{});
            query.items.push_back(std::move(item));
            return std::nullopt;
        }
        const bool nvl = word("NVL");
        if (nvl && !symbol("(")) {
            return oraError(ora::InvalidStatement);
        }
        Column column = Column::Sid;
        if (auto error = outerColumn(scope, column)) {
            return error;
        }
        item.source = column;
        item.type = columnInfo(column);
        item.name = item.type.name;
        if (nvl) {
            if (!symbol(",")) {
                return oraError(ora::InvalidStatement);
            }
            item.nvl = literal();
            if (!item.nvl || !symbol(")")) {
                return oraError(ora::InvalidStatement);
            }
            if (item.type.kind != ColumnKind::Text) {
                return oraError(ora::InconsistentTypes);
            }
            item.name = spelledFrom(start);
        }
        query.items.push_back(std::move(item));
        return std::nullopt;
    }

    // After the opening parenthesis; leaves the closing one to the caller.
    std::optional<OraError> subquery(const Scope& outer, SessionQuery& query, SelectItem& item) {
        if (!word("SELECT")) {
            return oraError(ora::InvalidStatement);
        }
        Scope inner;
        std::size_t end = 0;
        if (auto error = fromClause(inner, end)) {
            return error;
        }
        Subquery sub;
        if (tableOf(inner.view)) {
            if (auto error = tableItem(inner, sub, item)) {
                return error;
            }
        } else if (isSessionView(inner.view)) {
            if (!word("COUNT") || !symbol("(") || !symbol("*") || !symbol(")")) {
                return oraError(ora::InvalidStatement);
            }
            sub = SessionCount{inner.view, {}};
        } else {
            const auto selected = ref();
            if (!selected) {
                return oraError(ora::InvalidStatement);
            }
            const auto column = owns(inner, *selected)
                                    ? columnIn<SqlColumn>(inner.view, selected->name)
                                    : std::nullopt;
            if (!column) {
                return unknownColumn(*selected);
            }
            sub = CursorLookup{inner.view, *column, {}};
            item.type = sqlColumnInfo(*column);
        }
        if (!word("FROM")) {
            return oraError(ora::InvalidStatement);
        }
        pos_ = end;
        if (word("WHERE")) {
            do {
                if (auto error = subqueryCondition(outer, inner, sub)) {
                    return error;
                }
            } while (word("AND"));
        }
        query.readsGlobalView = query.readsGlobalView || isGlobal(inner.view);
        query.readsCatalog =
            query.readsCatalog || (tableOf(inner.view) && inner.view != View::AllObjects);
        item.source = query.subqueries.size();
        query.subqueries.push_back(std::move(sub));
        return std::nullopt;
    }

    std::optional<TableColumn> innerColumn(const Scope& inner) {
        const auto parsed = ref();
        return parsed && owns(inner, *parsed) ? columnIn<TableColumn>(inner.view, parsed->name)
                                              : std::nullopt;
    }

    // The select list of a lookup in one of the details' tables, after SELECT.
    std::optional<OraError> tableItem(const Scope& inner, Subquery& sub, SelectItem& item) {
        TableLookup lookup{inner.view, {}, std::nullopt, {}, {}};
        const bool keep = word("MAX");
        if (keep && !symbol("(")) {
            return oraError(ora::InvalidStatement);
        }
        const auto selected = innerColumn(inner);
        if (!selected) {
            return oraError(ora::InvalidIdentifier, "column");
        }
        lookup.selected = *selected;
        if (keep) {
            if (!symbol(")") || !word("KEEP") || !symbol("(") || !word("DENSE_RANK") ||
                !word("FIRST") || !word("ORDER") || !word("BY")) {
                return oraError(ora::InvalidStatement);
            }
            lookup.firstBy = innerColumn(inner);
            if (!lookup.firstBy || !symbol(")")) {
                return oraError(ora::InvalidStatement);
            }
        }
        item.type = tableColumnInfo(*selected);
        sub = std::move(lookup);
        return std::nullopt;
    }

    std::optional<OraError> subqueryCondition(const Scope& outer, const Scope& inner,
                                              Subquery& sub) {
        if (word("ROWNUM")) {
            if (!symbol("=") || !word("1")) {
                return oraError(ora::InvalidStatement);
            }
            if (auto* lookup = std::get_if<CursorLookup>(&sub)) {
                lookup->firstRowOnly = true;
            } else if (auto* table = std::get_if<TableLookup>(&sub)) {
                table->firstRowOnly = true;
            } else {
                std::get<SessionCount>(sub).firstRowOnly = true;
            }
            return std::nullopt;
        }
        auto* table = std::get_if<TableLookup>(&sub);
        const std::size_t start = pos_;
        if (table && innerColumn(inner) && symbol("<")) {
            // <inner column> < <inner column>
            pos_ = start;
            const auto a = innerColumn(inner);
            symbol("<");
            const auto b = innerColumn(inner);
            if (!a || !b || tableColumnInfo(*a).kind != tableColumnInfo(*b).kind) {
                return oraError(ora::InvalidStatement);
            }
            table->less.emplace_back(*a, *b);
            return std::nullopt;
        }
        pos_ = start;
        const auto left = ref();
        if (!left || !symbol("=")) {
            return oraError(ora::InvalidStatement);
        }
        auto* count = std::get_if<SessionCount>(&sub);
        if (count != nullptr && word("USERENV")) {
            // <inner column> = USERENV('INSTANCE'): a number column of the subquery's view.
            const auto column =
                owns(inner, *left) ? columnIn<Column>(inner.view, left->name) : std::nullopt;
            if (!column) {
                return unknownColumn(*left);
            }
            if (!connectedInstanceArguments()) {
                return oraError(ora::InvalidStatement);
            }
            if (columnInfo(*column).kind != ColumnKind::Number) {
                return oraError(ora::InconsistentTypes);
            }
            count->onConnectedInstance.push_back(*column);
            return std::nullopt;
        }
        const auto right = ref();
        if (!right) {
            return oraError(ora::InvalidStatement);
        }
        if (auto* lookup = std::get_if<CursorLookup>(&sub)) {
            return addJoin(lookup->joins, inner, outer, *left, *right);
        }
        if (table) {
            return addJoin(table->joins, inner, outer, *left, *right);
        }
        return addJoin(std::get<SessionCount>(sub).joins, inner, outer, *left, *right);
    }

    // After EXISTS: (SELECT 1 FROM v$session|gv$session <b> WHERE <joins>)
    std::optional<OraError> existsFilter(const Scope& outer, SessionQuery& query) {
        if (!symbol("(") || !word("SELECT")) {
            return oraError(ora::InvalidStatement);
        }
        Scope inner;
        std::size_t end = 0;
        if (auto error = fromClause(inner, end)) {
            return error;
        }
        if (!isSessionView(inner.view) || !word("1") || !word("FROM")) {
            return oraError(ora::InvalidStatement);
        }
        pos_ = end;
        // One match is enough.
        Subquery sub = SessionCount{inner.view, {}, true};
        if (word("WHERE")) {
            do {
                if (auto error = subqueryCondition(outer, inner, sub)) {
                    return error;
                }
            } while (word("AND"));
        }
        if (!symbol(")")) {
            return oraError(ora::InvalidStatement);
        }
        query.readsGlobalView = query.readsGlobalView || isGlobal(inner.view);
        query.exists.push_back(std::get<SessionCount>(std::move(sub)));
        return std::nullopt;
    }

    std::optional<OraError> filter(const Scope& scope, SessionQuery& query) {
        if (word("EXISTS")) {
            return existsFilter(scope, query);
        }
        Filter filter{Column::Sid, {}};
        if (auto error = outerColumn(scope, filter.column)) {
            return error;
        }
        if (!symbol("=")) {
            return oraError(ora::InvalidStatement);
        }
        const ColumnKind kind = columnInfo(filter.column).kind;
        const Token& value = peek();
        const bool digits = value.kind == TokenKind::Word &&
                            std::all_of(value.text.begin(), value.text.end(),
                                        [](char c) { return c >= '0' && c <= '9'; });
        if (kind == ColumnKind::Text && value.kind == TokenKind::Literal) {
            filter.value = {false, 0, value.text};
        } else if (kind == ColumnKind::Number && digits) {
            // Too large for a sid: the cell stays NULL and matches nothing.
            if (const auto number = parseNumber(value.text)) {
                filter.value = numberCell(*number);
            }
        } else {
            return oraError(ora::InvalidStatement);
        }
        ++pos_;
        query.filters.push_back(std::move(filter));
        return std::nullopt;
    }

    std::optional<OraError> orderBy(const Scope& scope, SessionQuery& query) {
        if (!word("BY")) {
            return oraError(ora::InvalidStatement);
        }
        if (word("NVL2")) {
            Column column = Column::Sid;
            if (!symbol("(")) {
                return oraError(ora::InvalidStatement);
            }
            if (auto error = outerColumn(scope, column)) {
                return error;
            }
            if (!symbol(",") || !word("1") || !symbol(",") || !word("0") || !symbol(")") ||
                !symbol(",")) {
                return oraError(ora::InvalidStatement);
            }
            query.nullFirstBy = column;
        }
        const bool byInstance = word("INST_ID");
        if (byInstance && !isGlobal(query.view)) {
            return oraError(ora::InvalidIdentifier, "INST_ID");
        }
        if ((byInstance && !symbol(",")) || !word("SID") || !symbol(",") || !word("SERIAL#")) {
            return oraError(ora::InvalidStatement);
        }
        query.sidOrderAcrossInstances = isGlobal(query.view) && !byInstance;
        return std::nullopt;
    }

    StatementBody select() {
        Scope scope;
        std::size_t end = 0;
        if (auto error = fromClause(scope, end)) {
            return std::move(*error);
        }
        if (!isSessionView(scope.view)) {
            return oraError(ora::NoSuchTable);
        }
        SessionQuery query;
        query.view = scope.view;
        query.readsGlobalView = isGlobal(scope.view);
        do {
            if (auto error = item(scope, query)) {
                return std::move(*error);
            }
        } while (symbol(","));
        if (!word("FROM")) {
            return oraError(ora::InvalidStatement);
        }
        pos_ = end;
        if (word("WHERE")) {
            do {
                if (auto error = filter(scope, query)) {
                    return std::move(*error);
                }
            } while (word("AND"));
        }
        if (word("ORDER")) {
            if (auto error = orderBy(scope, query)) {
                return std::move(*error);
            }
        }
        if (!atEnd()) {
            return oraError(ora::NotProperlyEnded);
        }
        return query;
    }

    StatementBody alter() {
        if (!word("SYSTEM")) {
            return oraError(ora::InvalidStatement);
        }
        if (word("DISCONNECT")) {
            return disconnect();
        }
        const bool cancel = word("CANCEL");
        if (cancel ? !word("SQL") : !word("KILL") || !word("SESSION")) {
            return oraError(ora::InvalidStatement);
        }
        const auto id = literal();
        if (!id) {
            return oraError(ora::MissingSessionId);
        }
        const std::optional<SessionId> target = parseSessionId(*id);
        const bool immediate = !cancel && word("IMMEDIATE");
        if (!atEnd()) {
            return oraError(ora::NotProperlyEnded);
        }
        if (cancel) {
            return CancelSql{target};
        }
        return KillSession{target, immediate};
    }

    StatementBody disconnect() {
        if (!word("SESSION")) {
            return oraError(ora::InvalidStatement);
        }
        const auto id = literal();
        if (!id) {
            return oraError(ora::MissingSessionId);
        }
        std::optional<SessionId> target = parseSessionId(*id);
        // The grammar gives DISCONNECT no instance.
        if (target && id->find('@') != std::string::npos) {
            target.reset();
        }
        DisconnectSession statement{target, word("POST_TRANSACTION")};
        word("IMMEDIATE");
        if (!atEnd()) {
            return oraError(ora::NotProperlyEnded);
        }
        return statement;
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

} // namespace

bool isGlobal(View view) {
    return view == View::GvSession || view == View::GvSql || view == View::GvTransaction ||
           view == View::GvLongops;
}

std::optional<Table> tableOf(View view) {
    switch (view) {
    case View::Transaction:
    case View::GvTransaction:
        return Table::Transaction;
    case View::DbaObjects:
    case View::AllObjects:
        return Table::Objects;
    case View::Longops:
    case View::GvLongops:
        return Table::Longops;
    default:
        return std::nullopt;
    }
}

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
