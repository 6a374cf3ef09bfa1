// altavo-db dump: every record in record order as JSON lines or CSV.
#include "commands.h"
#include "expr.h"
#include "field_codec.h"
#include "text_codec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace altavodb {

namespace {

struct Cell {
    enum Kind { Null, Text, Number, Bool, Base64 } kind = Null;
    std::string text; // UTF-8, a number's digits, or base64
    bool flag = false;
};

Cell cellOf(c4::Table& t, int fi, const c4::FieldDef& f, int codePage, bool& memoFault) {
    Cell c;
    const uint8_t* rec = t.record();
    if (c4::isMemoType(f.type) && !(f.type == 'B' && f.len == 8)) {
        std::vector<uint8_t> m;
        if (t.memoRead(fi, m) < 0) {
            memoFault = true;
            std::fprintf(stderr, "altavo-db: %s\n", t.lastFault().text.c_str());
            t.clearFault();
            return c;
        }
        if (isPlainText(m, codePage)) {
            c.kind = Cell::Text;
            c.text = toUtf8(std::string(m.begin(), m.end()), codePage);
        } else {
            c.kind = Cell::Base64;
            c.text = base64(m);
        }
        return c;
    }
    std::string raw = c4::decodeText(f, rec);
    switch (f.type) {
    case 'N':
    case 'F':
    case 'I':
    case 'B':
    case 'Y': {
        std::string s = raw;
        size_t a = s.find_first_not_of(' ');
        if (a == std::string::npos || s.find('*') != std::string::npos)
            return c;
        char* end = nullptr;
        double v = std::strtod(s.c_str() + a, &end);
        if (!std::isfinite(v))
            return c;
        char buf[64];
        unsigned dec = (f.type == 'N' || f.type == 'F') ? f.dec : (f.type == 'I' ? 0 : 4);
        std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(dec), v);
        c.kind = Cell::Number;
        c.text = buf;
        return c;
    }
    case 'D': {
        long days;
        if (!c4::dateToDays(raw.c_str(), days))
            return c;
        c.kind = Cell::Text;
        c.text = raw.substr(0, 4) + "-" + raw.substr(4, 2) + "-" + raw.substr(6, 2);
        return c;
    }
    case 'L': {
        char ch = raw.empty() ? ' ' : raw[0];
        if (ch == 'T' || ch == 't' || ch == 'Y' || ch == 'y')
            c.kind = Cell::Bool, c.flag = true;
        else if (ch == 'F' || ch == 'f' || ch == 'N' || ch == 'n')
            c.kind = Cell::Bool, c.flag = false;
        return c;
    }
    default:
        c.kind = Cell::Text;
        c.text = toUtf8(raw, codePage);
        return c;
    }
}

std::string asJson(const Cell& c) {
    switch (c.kind) {
    case Cell::Null:
        return "null";
    case Cell::Number:
        return c.text;
    case Cell::Bool:
        return c.flag ? "true" : "false";
    case Cell::Base64:
        return "{\"base64\": \"" + c.text + "\"}";
    default:
        return jsonString(c.text);
    }
}

std::string asCsv(const Cell& c) {
    switch (c.kind) {
    case Cell::Null:
        return "";
    case Cell::Bool:
        return c.flag ? "true" : "false";
    case Cell::Base64:
        return "base64:" + c.text;
    default:
        return csvField(c.text);
    }
}

} // namespace

int runDump(const std::string& path, bool csv) {
    auto t = openTable(path);
    if (!t)
        return 1;
    const auto& fields = t->fields();
    int cp = t->layout().codePage;
    t->selectTag(-1);
    if (csv) {
        std::string head;
        for (const auto& f : fields)
            if (!f.hidden)
                head += (head.empty() ? "" : ",") + f.name;
        std::printf("%s,_deleted\r\n", head.c_str());
    }
    bool fault = false;
    uint32_t n = t->recCount();
    for (uint32_t r = 1; r <= n; ++r) {
        if (t->go(r) != 0)
            break;
        std::string line;
        bool first = true;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].hidden)
                continue;
            Cell c = cellOf(*t, static_cast<int>(i), fields[i], cp, fault);
            if (csv)
                line += (first ? "" : ",") + asCsv(c);
            else
                line += (first ? "{" : ", ") + jsonString(toUtf8(fields[i].name, cp)) + ": " + asJson(c);
            first = false;
        }
        if (csv)
            line += t->deleted() ? ",true" : ",false";
        else
            line += t->deleted() ? ", \"_deleted\": true}" : "}";
        std::printf("%s%s", line.c_str(), csv ? "\r\n" : "\n");
    }
    return fault ? 1 : 0;
}

} // namespace altavodb
