// Statements of the SQL dialect the windows use, as the parser yields them.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace xb::store::sql {

struct Operand {
    enum class Kind { Field, Text, Number, Param } kind = Kind::Text;
    std::string text; // field name, text literal (UTF-8), number as written, or parameter name
};

struct Expr {
    enum class Kind { Compare, Like, And, Or, Not, IsNull } kind = Kind::Compare;
    std::string op;       // "=", "<", ">", "<=", ">=", "<>" for comparisons
    bool negated = false; // NOT LIKE, IS NOT NULL
    Operand left, right;
    std::unique_ptr<Expr> a, b;
    int depth = 1; // levels of the tree below and including this node
};

struct SelectItem {
    enum class Aggregate { None, Max, Min, Count } aggregate = Aggregate::None;
    std::string field; // "*" for count(*)
};

struct Select {
    bool distinct = false;
    bool star = false;
    std::vector<SelectItem> items;
    std::string table;
    std::unique_ptr<Expr> where;
    std::string orderBy;
    bool descending = false;
};

struct Delete {
    std::string table;
    std::unique_ptr<Expr> where;
};

struct Insert {
    std::string table;
    std::vector<std::string> columns; // empty: the values fill the fields in order
    std::vector<Operand> values;
};

struct Update {
    std::string table;
    std::vector<std::pair<std::string, Operand>> assignments;
    std::unique_ptr<Expr> where;
};

using Statement = std::variant<Select, Delete, Insert, Update>;

} // namespace xb::store::sql
