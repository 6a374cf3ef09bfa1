#include "TSeatLog.h"

#include <QList>

namespace {

QByteArray Line(std::initializer_list<QByteArray> parts) {
    QByteArray line;
    for (const QByteArray& p : parts)
        line += (line.isEmpty() ? "" : "\t") + p;
    return line + '\n';
}

QByteArray Num(int n) {
    return QByteArray::number(n);
}

} // namespace

QByteArray TSeatLog::Write() const {
    QByteArray out;
    for (const TSeatUser& u : Users)
        out += Line({"user", Num(u.Id), u.Name.toUtf8().toHex(), u.Password.toUtf8().toHex()});
    for (const TSeatAssignment& a : Assignments)
        out += Line({"assign", Num(a.Id), Num(a.UserId), Num(a.ProdType), a.ProdId.toUtf8().toHex()});
    for (const TSeatSession& s : Sessions)
        out += Line({"session", Num(s.Id), Num(s.AssignId), Num(s.Kind), Num(s.Taken), Num(s.Right),
                     s.Answers.toHex()});
    for (auto it = States.begin(); it != States.end(); ++it)
        out += Line({"state", Num(it.key().first), it.key().second.toUtf8().toHex(), Num(it->LastActive),
                     Num(it->LastPost), Num(it->BestPost), it->Bookmarks.toHex()});
    return out;
}

bool TSeatLog::Read(const QByteArray& text, TSeatLog& log, QString& error) {
    log = {};
    int lineNo = 0;
    for (const QByteArray& line : text.split('\n')) {
        ++lineNo;
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        bool ok = true;
        auto num = [&](int i) {
            bool good = false;
            int n = i < f.size() ? f[i].toInt(&good) : 0;
            ok = ok && good;
            return n;
        };
        auto text = [&](int i) {
            return i < f.size() ? QString::fromUtf8(QByteArray::fromHex(f[i])) : QString();
        };
        auto bytes = [&](int i) { return i < f.size() ? QByteArray::fromHex(f[i]) : QByteArray(); };
        const QByteArray& kind = f[0];
        if (kind == "user" && f.size() == 4)
            log.Users.append({num(1), text(2), text(3)});
        else if (kind == "assign" && f.size() == 5)
            log.Assignments.append({num(1), num(2), num(3), text(4)});
        else if (kind == "session" && f.size() == 7)
            log.Sessions.append({num(1), num(2), num(3), num(4), num(5), bytes(6)});
        else if (kind == "state" && f.size() == 7)
            log.States.insert({num(1), text(2)}, {num(3), num(4), num(5), bytes(6)});
        else
            ok = false;
        if (!ok) {
            error = QString("line %1 is not a seat record").arg(lineNo);
            return false;
        }
    }
    return true;
}
