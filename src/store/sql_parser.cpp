#include "sql_parser.h"

#include <algorithm>
#include <cctype>

namespace xb::store::sql {
namespace {

struct Token {
    enum class Kind { Word, Text, Number, Param, Symbol, End } kind = Kind::End;
    std::string text;
    size_t at = 0;
};

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

Result<std::vector<Token>> tokenize(const std::string& s) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        t.at = i;
        if (c == '\'' || c == '"') {
            // Text literal; a doubled quote stands for one.
            const char q = c;
            ++i;
            bool closed = false;
            while (i < s.size()) {
                if (s[i] == q) {
                    if (i + 1 < s.size() && s[i + 1] == q) {
                        t.text += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s[i++];
            }
            if (!closed) return fail("SQL 语句有误：引号不配对");
            t.kind = Token::Kind::Text;
        } else if (c == ':' && i + 1 < s.size() && isWordChar(s[i + 1])) {
            ++i;
            while (i < s.size() && isWordChar(s[i]))
                t.text += s[i++];
            t.kind = Token::Kind::Param;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   ((c == '-' || c == '+') && i + 1 < s.size() &&
                    std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
                    (tokens.empty() || tokens.back().kind == Token::Kind::Symbol))) {
            t.text += s[i++];
            while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.'))
                t.text += s[i++];
            t.kind = Token::Kind::Number;
        } else if (isWordChar(c)) {
            while (i < s.size() && isWordChar(s[i]))
                t.text += s[i++];
            t.kind = Token::Kind::Word;
        } else {
            static const char* twoChar[] = {"<=", ">=", "<>", "!="};
            t.kind = Token::Kind::Symbol;
            for (const char* op : twoChar)
                if (s.compare(i, 2, op) == 0) t.text = op;
            if (t.text.empty()) {
                if (std::string("=<>(),*;").find(c) == std::string::npos)
                    return fail(std::string("SQL 语句有误：不能识别的字符“") + c + "”");
                t.text = std::string(1, c);
            }
            if (t.text == "!=") t.text = "<>";
            i += t.text.size();
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.at = s.size();
    tokens.push_back(end);
    return tokens;
}

// Conditions are parsed, evaluated and freed recursively; deeper ones are refused before they
// could exhaust the stack. Conditions the query window builds stay far below these bounds.
constexpr int kMaxNesting = 200;         // parentheses and NOT inside each other
constexpr int kMaxConditionDepth = 2000; // levels of the whole condition, AND/OR chains included

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Result<Statement> statement() {
        Result<Statement> result = fail("");
        if (isWord("select"))
            result = select();
        else if (isWord("delete"))
            result = remove();
        else if (isWord("insert"))
            result = insert();
        else if (isWord("update"))
            result = update();
        else
            return error("语句必须以 SELECT、DELETE、INSERT 或 UPDATE 开始");
        if (!result) return result;
        if (isSymbol(";")) ++pos_;
        if (peek().kind != Token::Kind::End) return error("语句结尾有多余的内容");
        return result;
    }

  private:
    const Token& peek() const { return tokens_[pos_]; }
    bool isWord(const char* w) const {
        return peek().kind == Token::Kind::Word && lower(peek().text) == w;
    }
    bool isSymbol(const char* s) const {
        return peek().kind == Token::Kind::Symbol && peek().text == s;
    }
    Error error(const std::string& what) const {
        const Token& t = peek();
        const std::string near = t.kind == Token::Kind::End ? "语句结尾" : "“" + t.text + "”";
        return Error{"SQL 语句有误：" + near + " 处" + what};
    }
    bool acceptWord(const char* w) {
        if (!isWord(w)) return false;
        ++pos_;
        return true;
    }
    bool acceptSymbol(const char* s) {
        if (!isSymbol(s)) return false;
        ++pos_;
        return true;
    }
    Result<std::string> name(const char* what) {
        if (peek().kind != Token::Kind::Word || reserved(peek().text))
            return error(std::string("应为") + what);
        return tokens_[pos_++].text;
    }
    static bool reserved(const std::string& w) {
        static const char* words[] = {"select", "from",   "where", "and",    "or",     "not",
                                      "like",   "order",  "by",    "delete", "insert", "into",
                                      "values", "update", "set",   "is",     "null",   "distinct"};
        const std::string l = lower(w);
        for (const char* r : words)
            if (l == r) return true;
        return false;
    }

    Result<Statement> select() {
        ++pos_;
        Select s;
        s.distinct = acceptWord("distinct");
        if (acceptSymbol("*")) {
            s.star = true;
        } else {
            do {
                SelectItem item;
                const std::string l = peek().kind == Token::Kind::Word ? lower(peek().text) : "";
                if ((l == "max" || l == "min" || l == "count") &&
                    tokens_[pos_ + 1].kind == Token::Kind::Symbol &&
                    tokens_[pos_ + 1].text == "(") {
                    item.aggregate = l == "max"   ? SelectItem::Aggregate::Max
                                     : l == "min" ? SelectItem::Aggregate::Min
                                                  : SelectItem::Aggregate::Count;
                    pos_ += 2;
                    if (item.aggregate == SelectItem::Aggregate::Count && acceptSymbol("*")) {
                        item.field = "*";
                    } else {
                        auto f = name("字段名");
                        if (!f) return f.error();
                        item.field = *f;
                    }
                    if (!acceptSymbol(")")) return error("应为“)”");
                } else {
                    auto f = name("字段名");
                    if (!f) return f.error();
                    item.field = *f;
                }
                s.items.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        if (!acceptWord("from")) return error("应为 FROM");
        auto table = name("表名");
        if (!table) return table.error();
        s.table = *table;
        if (acceptWord("where")) {
            auto e = orExpr();
            if (!e) return e.error();
            s.where = std::move(*e);
        }
        if (acceptWord("order")) {
            if (!acceptWord("by")) return error("应为 BY");
            auto f = name("排序字段");
            if (!f) return f.error();
            s.orderBy = *f;
            if (acceptWord("desc"))
                s.descending = true;
            else
                acceptWord("asc");
        }
        return Statement(std::move(s));
    }

    Result<Statement> remove() {
        ++pos_;
        if (!acceptWord("from")) return error("应为 FROM");
        Delete d;
        auto table = name("表名");
        if (!table) return table.error();
        d.table = *table;
        if (acceptWord("where")) {
            auto e = orExpr();
            if (!e) return e.error();
            d.where = std::move(*e);
        }
        return Statement(std::move(d));
    }

    Result<Statement> insert() {
        ++pos_;
        if (!acceptWord("into")) return error("应为 INTO");
        Insert ins;
        auto table = name("表名");
        if (!table) return table.error();
        ins.table = *table;
        if (acceptSymbol("(")) {
            do {
                auto f = name("字段名");
                if (!f) return f.error();
                ins.columns.push_back(*f);
            } while (acceptSymbol(","));
            if (!acceptSymbol(")")) return error("应为“)”");
        }
        if (!acceptWord("values")) return error("应为 VALUES");
        if (!acceptSymbol("(")) return error("应为“(”");
        do {
            auto v = operand();
            if (!v) return v.error();
            ins.values.push_back(*v);
        } while (acceptSymbol(","));
        if (!acceptSymbol(")")) return error("应为“)”");
        if (!ins.columns.empty() && ins.columns.size() != ins.values.size())
            return error("字段数与值的个数不符");
        return Statement(std::move(ins));
    }

    Result<Statement> update() {
        ++pos_;
        Update u;
        auto table = name("表名");
        if (!table) return table.error();
        u.table = *table;
        if (!acceptWord("set")) return error("应为 SET");
        do {
            auto f = name("字段名");
            if (!f) return f.error();
            if (!acceptSymbol("=")) return error("应为“=”");
            auto v = operand();
            if (!v) return v.error();
            u.assignments.emplace_back(*f, *v);
        } while (acceptSymbol(","));
        if (acceptWord("where")) {
            auto e = orExpr();
            if (!e) return e.error();
            u.where = std::move(*e);
        }
        return Statement(std::move(u));
    }

    // Joins two conditions, refusing a condition that grows too deep.
    Result<std::unique_ptr<Expr>> join(Expr::Kind kind, std::unique_ptr<Expr> a,
                                       std::unique_ptr<Expr> b) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->depth = std::max(a->depth, b ? b->depth : 0) + 1;
        e->a = std::move(a);
        e->b = std::move(b);
        if (e->depth > kMaxConditionDepth)
            return error("查询条件太长，超过了 " + std::to_string(kMaxConditionDepth) + " 层");
        return e;
    }

    Result<std::unique_ptr<Expr>> orExpr() {
        auto left = andExpr();
        if (!left) return left;
        while (acceptWord("or")) {
            auto right = andExpr();
            if (!right) return right;
            left = join(Expr::Kind::Or, std::move(*left), std::move(*right));
            if (!left) return left;
        }
        return left;
    }

    Result<std::unique_ptr<Expr>> andExpr() {
        auto left = notExpr();
        if (!left) return left;
        while (acceptWord("and")) {
            auto right = notExpr();
            if (!right) return right;
            left = join(Expr::Kind::And, std::move(*left), std::move(*right));
            if (!left) return left;
        }
        return left;
    }

    Result<std::unique_ptr<Expr>> notExpr() {
        const bool nots = isWord("not");
        if (!nots && !isSymbol("(")) return predicate();
        if (nesting_ == kMaxNesting)
            return error("查询条件的括号或 NOT 嵌套太深，超过了 " + std::to_string(kMaxNesting) +
                         " 层");
        ++pos_;
        ++nesting_;
        auto inner = nots ? notExpr() : orExpr();
        --nesting_;
        if (!inner) return inner;
        if (nots) return join(Expr::Kind::Not, std::move(*inner), nullptr);
        if (!acceptSymbol(")")) return error("应为“)”");
        return inner;
    }

    Result<std::unique_ptr<Expr>> predicate() {
        auto left = operand();
        if (!left) return left.error();
        auto e = std::make_unique<Expr>();
        e->left = *left;
        if (acceptWord("is")) {
            e->kind = Expr::Kind::IsNull;
            e->negated = acceptWord("not");
            if (!acceptWord("null")) return error("应为 NULL");
            return e;
        }
        if (acceptWord("not")) {
            if (!isWord("like")) return error("应为 LIKE");
            e->negated = true;
        }
        if (acceptWord("like")) {
            e->kind = Expr::Kind::Like;
        } else {
            static const char* ops[] = {"=", "<", ">", "<=", ">=", "<>"};
            for (const char* op : ops)
                if (isSymbol(op)) e->op = op;
            if (e->op.empty()) return error("应为比较运算符");
            ++pos_;
        }
        auto right = operand();
        if (!right) return right.error();
        e->right = *right;
        return e;
    }

    Result<Operand> operand() {
        const Token& t = peek();
        Operand o;
        switch (t.kind) {
        case Token::Kind::Text:
            o.kind = Operand::Kind::Text;
            break;
        case Token::Kind::Number:
            o.kind = Operand::Kind::Number;
            break;
        case Token::Kind::Param:
            o.kind = Operand::Kind::Param;
            break;
        case Token::Kind::Word:
            if (reserved(t.text)) return error("应为字段名或值");
            o.kind = Operand::Kind::Field;
            break;
        default:
            return error("应为字段名或值");
        }
        o.text = t.text;
        ++pos_;
        return o;
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    int nesting_ = 0; // parentheses and NOTs open at the current token
};

} // namespace

Result<Statement> parse(const std::string& text) {
    auto tokens = tokenize(text);
    if (!tokens) return tokens.error();
    return Parser(std::move(*tokens)).statement();
}

} // namespace xb::store::sql
