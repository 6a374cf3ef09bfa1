// The parsed form of an expression, shared by the parser (expr_parse.cpp)
// and the evaluator (expr.cpp).
#pragma once

#include "expr.h"

#include <memory>
#include <string>
#include <vector>

namespace c4 {

enum class Op {
    Field,
    Num,
    Str,
    Bool,
    Date,
    Neg,
    Not,
    Add,
    Sub,
    Mul,
    Div,
    Mod,
    Pow,
    Eq,
    ExactEq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Contains,
    And,
    Or,
    Call
};

struct ExprNode {
    Op op;
    char type = 'C';
    unsigned width = 0;
    int field = -1;
    double num = 0;
    std::string str;
    std::string fn;
    std::vector<std::unique_ptr<ExprNode>> kids;
};

// The value of a parsed expression for one record.
Value evalNode(const ExprNode& n, const RecordView& rv);

} // namespace c4
