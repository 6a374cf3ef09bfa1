#include "expr.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
int clampToInt(double v, int lo, int hi) {
    if (!(v >= lo))
        return lo;
    if (!(v <= hi))
        return hi;
    return static_cast<int>(v);
}

// A date moved by a number of days; blank when either is out of range.
std::string shiftDate(const std::string& date, double k) {
    long days;
    if (!std::isfinite(k) || std::fabs(k) > 4e6 || !dateToDays(date.c_str(), days))
        return "        ";
    return daysToDate(days + static_cast<long>(k));
}

std::string rtrim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}
std::string ltrim(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return s.substr(i);
}

std::string formatNumber(double v, int width, int dec) {
    if (width < 1)
        width = 1;
    if (dec < 0)
        dec = 0;
    char buf[64];
    if (!std::isfinite(v) || std::fabs(v) >= 1e18) {
        return std::string(static_cast<size_t>(width), '*');
    }
    std::snprintf(buf, sizeof buf, "%*.*f", width, dec, v);
    std::string s = buf;
    if (s.size() > static_cast<size_t>(width))
        return std::string(static_cast<size_t>(width), '*');
    return s;
}

int compareStrings(const std::string& a, const std::string& b) {
    size_t n = std::max(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

Value evalNode(const ExprNode& n, const RecordView& rv);

Value evalCall(const ExprNode& n, const RecordView& rv) {
    Value r;
    r.type = n.type;
    const std::string& f = n.fn;
    if (f == "DELETED") {
        r.logical = rv.record && rv.record[0] == '*';
        return r;
    }
    if (f == "RECNO") {
        r.num = rv.recNo;
        return r;
    }
    if (f == "IIF") {
        Value c = evalNode(*n.kids[0], rv);
        return evalNode(*n.kids[c.logical ? 1 : 2], rv);
    }
    Value a = evalNode(*n.kids[0], rv);
    if (f == "UPPER" || f == "LOWER") {
        r.str = a.str;
        for (auto& c : r.str)
            c = static_cast<char>(f == "UPPER" ? std::toupper(static_cast<unsigned char>(c))
                                               : std::tolower(static_cast<unsigned char>(c)));
    } else if (f == "TRIM" || f == "RTRIM") {
        r.str = rtrim(a.str);
    } else if (f == "LTRIM") {
        r.str = ltrim(a.str);
    } else if (f == "ALLTRIM") {
        r.str = ltrim(rtrim(a.str));
    } else if (f == "STR") {
        double w = n.kids.size() > 1 ? evalNode(*n.kids[1], rv).num : 10;
        double d = n.kids.size() > 2 ? evalNode(*n.kids[2], rv).num : 0;
        r.str = formatNumber(a.num, clampToInt(w, 1, 255), clampToInt(d, 0, 18));
    } else if (f == "DTOS") {
        r.str = a.str;
    } else if (f == "DTOC") {
        if (a.str.size() == 8 && a.str[0] != ' ')
            r.str = a.str.substr(4, 2) + "/" + a.str.substr(6, 2) + "/" + a.str.substr(2, 2);
        else
            r.str = "  /  /  ";
    } else if (f == "SUBSTR") {
        double start = evalNode(*n.kids[1], rv).num;
        double len = n.kids.size() > 2 ? evalNode(*n.kids[2], rv).num : double(a.str.size());
        int size = static_cast<int>(a.str.size());
        int s = clampToInt(start, 1, size + 1) - 1;
        int l = clampToInt(len, 0, size);
        if (s < size)
            r.str = a.str.substr(static_cast<size_t>(s), static_cast<size_t>(l));
    } else if (f == "LEFT" || f == "RIGHT") {
        double len = evalNode(*n.kids[1], rv).num;
        size_t l = static_cast<size_t>(clampToInt(len, 0, static_cast<int>(a.str.size())));
        r.str = f == "LEFT" ? a.str.substr(0, l) : a.str.substr(a.str.size() - l);
    } else if (f == "VAL") {
        r.num = std::strtod(a.str.c_str(), nullptr);
    } else if (f == "LEN") {
        r.num = static_cast<double>(a.str.size());
    } else if (f == "ABS") {
        r.num = std::fabs(a.num);
    } else if (f == "INT") {
        r.num = std::trunc(a.num);
    }
    return r;
}

Value evalNode(const ExprNode& n, const RecordView& rv) {
    Value r;
    r.type = n.type;
    switch (n.op) {
    case Op::Field: {
        const FieldDef& f = (*rv.fields)[static_cast<size_t>(n.field)];
        const uint8_t* p = rv.record + f.offset;
        if (n.type == 'N')
            r.num = fieldNumber(f, rv.record);
        else if (n.type == 'L')
            r.logical = std::strchr("TtYy", p[0]) != nullptr && p[0] != 0;
        else
            r.str.assign(reinterpret_cast<const char*>(p), f.len);
        return r;
    }
    case Op::Num:
        r.num = n.num;
        return r;
    case Op::Str:
        r.str = n.str;
        return r;
    case Op::Bool:
        r.logical = n.num != 0;
        return r;
    case Op::Date:
        r.str = n.str;
        return r;
    case Op::Neg:
        r.num = -evalNode(*n.kids[0], rv).num;
        return r;
    case Op::Not:
        r.logical = !evalNode(*n.kids[0], rv).logical;
        return r;
    case Op::And: {
        r.logical = evalNode(*n.kids[0], rv).logical && evalNode(*n.kids[1], rv).logical;
        return r;
    }
    case Op::Or:
        r.logical = evalNode(*n.kids[0], rv).logical || evalNode(*n.kids[1], rv).logical;
        return r;
    case Op::Call:
        return evalCall(n, rv);
    default:
        break;
    }
    Value a = evalNode(*n.kids[0], rv);
    Value b = evalNode(*n.kids[1], rv);
    switch (n.op) {
    case Op::Add:
        if (n.type == 'C')
            r.str = a.str + b.str;
        else if (n.type == 'D') {
            const Value& d = a.type == 'D' ? a : b;
            r.str = shiftDate(d.str, a.type == 'D' ? b.num : a.num);
        } else
            r.num = a.num + b.num;
        return r;
    case Op::Sub:
        if (n.type == 'C') {
            // xBase string minus: trailing blanks of the left move to the end.
            std::string t = rtrim(a.str);
            r.str = t + b.str + std::string(a.str.size() - t.size(), ' ');
        } else if (n.type == 'D') {
            r.str = shiftDate(a.str, -b.num);
        } else if (a.type == 'D') {
            long da = 0, db = 0;
            dateToDays(a.str.c_str(), da);
            dateToDays(b.str.c_str(), db);
            r.num = static_cast<double>(da - db);
        } else
            r.num = a.num - b.num;
        return r;
    case Op::Mul:
        r.num = a.num * b.num;
        return r;
    case Op::Div:
        r.num = b.num == 0 ? 0 : a.num / b.num;
        return r;
    case Op::Mod:
        r.num = b.num == 0 ? 0 : std::fmod(a.num, b.num);
        return r;
    case Op::Pow:
        r.num = std::pow(a.num, b.num);
        return r;
    case Op::Contains:
        r.logical = b.str.find(a.str) != std::string::npos;
        return r;
    default:
        break;
    }
    int c;
    if (a.type == 'N')
        c = a.num < b.num ? -1 : a.num > b.num ? 1 : 0;
    else if (a.type == 'L')
        c = int(a.logical) - int(b.logical);
    else if (n.op == Op::Eq || n.op == Op::Ne) {
        // "=" compares the left text as far as the right one goes.
        std::string left = a.str.substr(0, std::min(a.str.size(), b.str.size()));
        c = b.str.size() > a.str.size() ? compareStrings(a.str, b.str) : compareStrings(left, b.str);
    } else
        c = compareStrings(a.str, b.str);
    switch (n.op) {
    case Op::Eq:
    case Op::ExactEq:
        r.logical = c == 0;
        break;
    case Op::Ne:
        r.logical = c != 0;
        break;
    case Op::Lt:
        r.logical = c < 0;
        break;
    case Op::Le:
        r.logical = c <= 0;
        break;
    case Op::Gt:
        r.logical = c > 0;
        break;
    case Op::Ge:
        r.logical = c >= 0;
        break;
    default:
        break;
    }
    return r;
}

} // namespace

double fieldNumber(const FieldDef& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.type) {
    case 'I':
        if (f.len >= 4) {
            int32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        return 0;
    case 'B':
        if (f.len >= 8) {
            double v;
            std::memcpy(&v, p, 8);
            return std::isfinite(v) ? v : 0;
        }
        return 0;
    case 'Y':
        if (f.len >= 8) {
            int64_t v;
            std::memcpy(&v, p, 8);
            return static_cast<double>(v) / 10000.0;
        }
        return 0;
    default: {
        // The usual case, blanks and plain digits with an optional sign and
        // decimals, without strtod.
        {
            unsigned i = 0;
            while (i < f.len && p[i] == ' ')
                ++i;
            bool neg = i < f.len && p[i] == '-';
            i += neg;
            uint64_t whole = 0;
            unsigned digits = 0;
            while (i < f.len && p[i] >= '0' && p[i] <= '9' && digits < 15)
                whole = whole * 10 + (p[i++] - '0'), ++digits;
            if (i == f.len || (p[i] == '.' && digits < 15)) {
                double v = static_cast<double>(whole);
                if (i < f.len) {
                    double scale = 1;
                    uint64_t frac = 0;
                    ++i;
                    while (i < f.len && p[i] >= '0' && p[i] <= '9' && scale < 1e15)
                        frac = frac * 10 + (p[i++] - '0'), scale *= 10;
                    if (i != f.len)
                        goto slow;
                    v += static_cast<double>(frac) / scale;
                }
                return neg ? -v : v;
            }
        }
    slow:
        char buf[32];
        size_t n = std::min<size_t>(f.len, sizeof buf - 1);
        std::memcpy(buf, p, n);
        buf[n] = 0;
        for (size_t i = 0; i < n; ++i)
            if (buf[i] == ',')
                buf[i] = '.';
        char* end = nullptr;
        double v = std::strtod(buf, &end);
        return std::isfinite(v) ? v : 0;
    }
    }
}

bool dateToDays(const char* d, long& days) {
    for (int i = 0; i < 8; ++i)
        if (!std::isdigit(static_cast<unsigned char>(d[i])))
            return false;
    long y = std::atol(std::string(d, 4).c_str());
    long m = std::atol(std::string(d + 4, 2).c_str());
    long dd = std::atol(std::string(d + 6, 2).c_str());
    if (m < 1 || m > 12 || dd < 1 || dd > 31)
        return false;
    // Days from civil (proleptic Gregorian).
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    days = era * 146097 + doe - 719468;
    return true;
}

std::string daysToDate(long z) {
    if (z < -4000000 || z > 4000000)
        return "        ";
    z += 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
    if (y < 0 || y > 9999)
        return "        ";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04ld%02ld%02ld", y, m, d);
    return buf;
}

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

Value Expression::eval(const RecordView& rv) const {
    if (!root_)
        return Value{};
    return evalNode(*root_, rv);
}

bool Expression::evalLogical(const RecordView& rv) const {
    if (notDeleted_)
        return rv.record[0] != '*';
    return root_ && evalNode(*root_, rv).logical;
}

} // namespace c4
