// Parsing expressions: tokens, precedence, field and function types.
#include "expr_node.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace c4 {

namespace {

std::string upper(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Token {
    enum Kind { End, Ident, Number, String, Punct, Dotted } kind = End;
    std::string text;
    double num = 0;
};

class Parser {
public:
    Parser(const std::string& s, const std::vector<FieldDef>& f) : src_(s), fields_(f) { next(); }

    std::unique_ptr<ExprNode> parseAll() {
        auto n = parseOr();
        if (!error_.empty())
            return nullptr;
        if (tok_.kind != Token::End)
            fail("unexpected \"" + tok_.text + "\"");
        return error_.empty() ? std::move(n) : nullptr;
    }
    const std::string& error() const { return error_; }

private:
    const std::string& src_;
    const std::vector<FieldDef>& fields_;
    size_t pos_ = 0;
    Token tok_;
    std::string error_;
    int depth_ = 0;

    void fail(const std::string& m) {
        if (error_.empty())
            error_ = m;
        tok_.kind = Token::End;
    }

    void next() {
        while (pos_ < src_.size() && std::isspace(static_cast<unsigned char>(src_[pos_])))
            ++pos_;
        tok_ = Token{};
        if (pos_ >= src_.size())
            return;
        char c = src_[pos_];
        if (c == '.' && pos_ + 1 < src_.size() && std::isalpha(static_cast<unsigned char>(src_[pos_ + 1]))) {
            size_t end = src_.find('.', pos_ + 1);
            if (end != std::string::npos) {
                std::string word = upper(src_.substr(pos_ + 1, end - pos_ - 1));
                if (word == "T" || word == "F" || word == "Y" || word == "N" || word == "AND" ||
                    word == "OR" || word == "NOT") {
                    tok_.kind = Token::Dotted;
                    tok_.text = word;
                    pos_ = end + 1;
                    return;
                }
            }
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && pos_ + 1 < src_.size() &&
             std::isdigit(static_cast<unsigned char>(src_[pos_ + 1])))) {
            const char* start = src_.c_str() + pos_;
            char* end = nullptr;
            tok_.num = std::strtod(start, &end);
            tok_.kind = Token::Number;
            tok_.text.assign(start, static_cast<size_t>(end - start));
            pos_ += static_cast<size_t>(end - start);
            return;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = pos_;
            while (pos_ < src_.size() &&
                   (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '_'))
                ++pos_;
            tok_.kind = Token::Ident;
            tok_.text = upper(src_.substr(start, pos_ - start));
            // An alias prefix (ALIAS->FIELD or ALIAS.FIELD) names this table.
            if (pos_ + 1 < src_.size() && src_[pos_] == '-' && src_[pos_ + 1] == '>') {
                pos_ += 2;
                next();
            }
            return;
        }
        if (c == '"' || c == '\'' || c == '[') {
            char close = c == '[' ? ']' : c;
            size_t end = src_.find(close, pos_ + 1);
            if (end == std::string::npos) {
                fail("unterminated string");
                return;
            }
            tok_.kind = Token::String;
            tok_.text = src_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return;
        }
        static const char* two[] = {"==", "<>", "!=", "<=", ">=", "**"};
        for (const char* t : two) {
            if (src_.compare(pos_, 2, t) == 0) {
                tok_.kind = Token::Punct;
                tok_.text = t;
                pos_ += 2;
                return;
            }
        }
        if (std::strchr("+-*/%^()=<>#$!,", c)) {
            tok_.kind = Token::Punct;
            tok_.text = std::string(1, c);
            ++pos_;
            return;
        }
        fail(std::string("unexpected character '") + c + "'");
    }

    bool isPunct(const char* p) const { return tok_.kind == Token::Punct && tok_.text == p; }
    bool isWord(const char* w) const {
        return (tok_.kind == Token::Dotted || tok_.kind == Token::Ident) && tok_.text == w;
    }

    std::unique_ptr<ExprNode> make(Op op, char type, unsigned width) {
        auto n = std::make_unique<ExprNode>();
        n->op = op;
        n->type = type;
        n->width = width;
        return n;
    }

    std::unique_ptr<ExprNode> binary(Op op, std::unique_ptr<ExprNode> a, std::unique_ptr<ExprNode> b) {
        auto n = make(op, 'L', 1);
        if (!a || !b)
            return nullptr;
        char ta = a->type, tb = b->type;
        switch (op) {
        case Op::And:
        case Op::Or:
            if (ta != 'L' || tb != 'L')
                fail(".AND./.OR. need logical operands");
            break;
        case Op::Add:
            if (ta == 'C' && tb == 'C')
                n->type = 'C', n->width = a->width + b->width;
            else if (ta == 'N' && tb == 'N')
                n->type = 'N', n->width = std::max(a->width, b->width);
            else if ((ta == 'D' && tb == 'N') || (ta == 'N' && tb == 'D'))
                n->type = 'D', n->width = 8;
            else
                fail("+ on mismatched types");
            break;
        case Op::Sub:
            if (ta == 'C' && tb == 'C')
                n->type = 'C', n->width = a->width + b->width;
            else if (ta == 'N' && tb == 'N')
                n->type = 'N', n->width = std::max(a->width, b->width);
            else if (ta == 'D' && tb == 'N')
                n->type = 'D', n->width = 8;
            else if (ta == 'D' && tb == 'D')
                n->type = 'N', n->width = 8;
            else
                fail("- on mismatched types");
            break;
        case Op::Mul:
        case Op::Div:
        case Op::Mod:
        case Op::Pow:
            if (ta != 'N' || tb != 'N')
                fail("arithmetic needs numbers");
            n->type = 'N';
            n->width = 12;
            break;
        case Op::Contains:
            if (ta != 'C' || tb != 'C')
                fail("$ needs character operands");
            break;
        default: // comparisons
            if (ta != tb)
                fail("comparison of mismatched types");
            break;
        }
        n->kids.push_back(std::move(a));
        n->kids.push_back(std::move(b));
        return n;
    }

    std::unique_ptr<ExprNode> parseOr() {
        auto a = parseAnd();
        while (error_.empty() && isWord("OR")) {
            next();
            a = binary(Op::Or, std::move(a), parseAnd());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseAnd() {
        auto a = parseNot();
        while (error_.empty() && isWord("AND")) {
            next();
            a = binary(Op::And, std::move(a), parseNot());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseNot() {
        if (isWord("NOT") || isPunct("!")) {
            if (++depth_ > 200) {
                fail("expression nested too deeply");
                return nullptr;
            }
            next();
            auto a = parseNot();
            --depth_;
            if (!a)
                return nullptr;
            if (a->type != 'L')
                fail(".NOT. needs a logical operand");
            auto n = make(Op::Not, 'L', 1);
            n->kids.push_back(std::move(a));
            return n;
        }
        return parseCompare();
    }
    std::unique_ptr<ExprNode> parseCompare() {
        auto a = parseAdd();
        for (;;) {
            Op op;
            if (isPunct("="))
                op = Op::Eq;
            else if (isPunct("=="))
                op = Op::ExactEq;
            else if (isPunct("<>") || isPunct("!=") || isPunct("#"))
                op = Op::Ne;
            else if (isPunct("<"))
                op = Op::Lt;
            else if (isPunct("<="))
                op = Op::Le;
            else if (isPunct(">"))
                op = Op::Gt;
            else if (isPunct(">="))
                op = Op::Ge;
            else if (isPunct("$"))
                op = Op::Contains;
            else
                return a;
            next();
            a = binary(op, std::move(a), parseAdd());
            if (!error_.empty())
                return nullptr;
        }
    }
    std::unique_ptr<ExprNode> parseAdd() {
        auto a = parseMul();
        while (error_.empty() && (isPunct("+") || isPunct("-"))) {
            Op op = isPunct("+") ? Op::Add : Op::Sub;
            next();
            a = binary(op, std::move(a), parseMul());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseMul() {
        auto a = parseUnary();
        while (error_.empty() && (isPunct("*") || isPunct("/") || isPunct("%"))) {
            Op op = isPunct("*") ? Op::Mul : isPunct("/") ? Op::Div : Op::Mod;
            next();
            a = binary(op, std::move(a), parseUnary());
        }
        return a;
    }
    std::unique_ptr<ExprNode> parseUnary() {
        if (isPunct("-") || isPunct("+")) {
            bool neg = isPunct("-");
            if (++depth_ > 200) {
                fail("expression nested too deeply");
                return nullptr;
            }
            next();
            auto a = parseUnary();
            --depth_;
            if (!a)
                return nullptr;
            if (a->type != 'N')
                fail("sign on a non-number");
            if (!neg)
                return a;
            auto n = make(Op::Neg, 'N', a->width);
            n->kids.push_back(std::move(a));
            return n;
        }
        auto a = parsePrimary();
        if (error_.empty() && (isPunct("^") || isPunct("**"))) {
            next();
            a = binary(Op::Pow, std::move(a), parseUnary());
        }
        return a;
    }

    std::unique_ptr<ExprNode> parsePrimary() {
        if (!error_.empty())
            return nullptr;
        if (++depth_ > 200) {
            fail("expression nested too deeply");
            return nullptr;
        }
        auto r = parsePrimaryInner();
        --depth_;
        return error_.empty() ? std::move(r) : nullptr;
    }

    std::unique_ptr<ExprNode> parsePrimaryInner() {
        switch (tok_.kind) {
        case Token::End:
            fail("expression ends too early");
            return nullptr;
        case Token::Number: {
            auto n = make(Op::Num, 'N', static_cast<unsigned>(std::max<size_t>(tok_.text.size(), 1)));
            n->num = tok_.num;
            next();
            return n;
        }
        case Token::String: {
            auto n = make(Op::Str, 'C', static_cast<unsigned>(tok_.text.size()));
            n->str = tok_.text;
            next();
            return n;
        }
        case Token::Dotted: {
            if (tok_.text == "T" || tok_.text == "F" || tok_.text == "Y" || tok_.text == "N") {
                auto n = make(Op::Bool, 'L', 1);
                n->num = (tok_.text == "T" || tok_.text == "Y") ? 1 : 0;
                next();
                return n;
            }
            fail("unexpected ." + tok_.text + ".");
            return nullptr;
        }
        case Token::Punct:
            if (isPunct("(")) {
                next();
                auto a = parseOr();
                if (!isPunct(")")) {
                    fail("missing )");
                    return nullptr;
                }
                next();
                return a;
            }
            fail("unexpected \"" + tok_.text + "\"");
            return nullptr;
        case Token::Ident:
            break;
        }
        std::string name = tok_.text;
        next();
        if (isPunct("(")) {
            next();
            std::vector<std::unique_ptr<ExprNode>> args;
            if (!isPunct(")")) {
                for (;;) {
                    auto a = parseOr();
                    if (!a)
                        return nullptr;
                    args.push_back(std::move(a));
                    if (isPunct(",")) {
                        next();
                        continue;
                    }
                    break;
                }
            }
            if (!isPunct(")")) {
                fail("missing ) after arguments of " + name);
                return nullptr;
            }
            next();
            return call(name, std::move(args));
        }
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].name == name && !fields_[i].hidden) {
                const FieldDef& f = fields_[i];
                char t;
                switch (f.type) {
                case 'C':
                    t = 'C';
                    break;
                case 'N':
                case 'F':
                case 'I':
                case 'B':
                case 'Y':
                    t = 'N';
                    break;
                case 'D':
                    t = 'D';
                    break;
                case 'L':
                    t = 'L';
                    break;
                default:
                    fail("field " + name + " of type " + std::string(1, f.type) +
                         " cannot be used in an expression");
                    return nullptr;
                }
                auto n = make(Op::Field, t, t == 'N' ? std::max(f.len, 8u) : f.len);
                if (t == 'C')
                    n->width = f.len;
                n->field = static_cast<int>(i);
                return n;
            }
        }
        fail("unknown field " + name);
        return nullptr;
    }

    std::unique_ptr<ExprNode> call(const std::string& name, std::vector<std::unique_ptr<ExprNode>> args) {
        auto argc = args.size();
        auto need = [&](size_t lo, size_t hi) {
            if (argc < lo || argc > hi)
                fail(name + "() takes " + std::to_string(lo) + (hi != lo ? " to " + std::to_string(hi) : "") +
                     " arguments");
            return error_.empty();
        };
        auto argType = [&](size_t i, char t) {
            if (i < argc && args[i]->type != t)
                fail(name + "() argument " + std::to_string(i + 1) + " has the wrong type");
            return error_.empty();
        };
        auto constNum = [&](size_t i, double dflt) {
            if (i >= argc)
                return dflt;
            return args[i]->op == Op::Num ? args[i]->num : dflt;
        };
        std::unique_ptr<ExprNode> n;
        if (name == "DELETED" || name == "RECNO") {
            if (!need(0, 0))
                return nullptr;
            n = make(Op::Call, name == "DELETED" ? 'L' : 'N', name == "DELETED" ? 1 : 10);
        } else if (name == "UPPER" || name == "LOWER" || name == "TRIM" || name == "RTRIM" ||
                   name == "LTRIM" || name == "ALLTRIM") {
            if (!need(1, 1) || !argType(0, 'C'))
                return nullptr;
            n = make(Op::Call, 'C', args[0]->width);
        } else if (name == "STR") {
            if (!need(1, 3) || !argType(0, 'N') || !argType(1, 'N') || !argType(2, 'N'))
                return nullptr;
            double w = constNum(1, 10);
            n = make(Op::Call, 'C', static_cast<unsigned>(std::clamp(w, 1.0, 255.0)));
        } else if (name == "DTOS") {
            if (!need(1, 1) || !argType(0, 'D'))
                return nullptr;
            n = make(Op::Call, 'C', 8);
        } else if (name == "DTOC") {
            if (!need(1, 2) || !argType(0, 'D'))
                return nullptr;
            n = make(Op::Call, 'C', 8);
        } else if (name == "SUBSTR") {
            if (!need(2, 3) || !argType(0, 'C') || !argType(1, 'N') || !argType(2, 'N'))
                return nullptr;
            double w = argc == 3 ? constNum(2, args[0]->width) : args[0]->width;
            n = make(Op::Call, 'C', static_cast<unsigned>(std::clamp(w, 0.0, double(args[0]->width))));
        } else if (name == "LEFT" || name == "RIGHT") {
            if (!need(2, 2) || !argType(0, 'C') || !argType(1, 'N'))
                return nullptr;
            double w = constNum(1, args[0]->width);
            n = make(Op::Call, 'C', static_cast<unsigned>(std::clamp(w, 0.0, double(args[0]->width))));
        } else if (name == "VAL" || name == "LEN") {
            if (!need(1, 1) || !argType(0, 'C'))
                return nullptr;
            n = make(Op::Call, 'N', 10);
        } else if (name == "ABS" || name == "INT") {
            if (!need(1, 1) || !argType(0, 'N'))
                return nullptr;
            n = make(Op::Call, 'N', args[0]->width);
        } else if (name == "IIF") {
            if (!need(3, 3) || !argType(0, 'L'))
                return nullptr;
            if (args[1]->type != args[2]->type) {
                fail("IIF() branches have different types");
                return nullptr;
            }
            n = make(Op::Call, args[1]->type, std::max(args[1]->width, args[2]->width));
        } else {
            fail("unknown function " + name + "()");
            return nullptr;
        }
        n->fn = name;
        n->kids = std::move(args);
        return n;
    }
};

// A number from an expression as an int within [lo, hi]; NaN gives lo.

} // namespace

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

std::string Expression::parse(const std::string& text, const std::vector<FieldDef>& fields) {
    root_.reset();
    singleField_ = -1;
    notDeleted_ = false;
    if (text.size() > 1024)
        return "expression longer than 1024 characters";
    Parser p(text, fields);
    auto root = p.parseAll();
    if (!p.error().empty() || !root)
        return "expression \"" + text + "\": " + (p.error().empty() ? "cannot be parsed" : p.error());
    type_ = root->type;
    width_ = root->width;
    if (root->op == Op::Field)
        singleField_ = root->field;
    if (root->op == Op::Not && root->kids[0]->op == Op::Call && root->kids[0]->fn == "DELETED")
        notDeleted_ = true;
    root_ = std::move(root);
    return "";
}

} // namespace c4
