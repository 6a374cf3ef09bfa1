#include "TCourseDescription.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <cmath>
#include <sys/stat.h>

#include "data/TSafePath.h"
#include "data/TTextCodec.h"
#include "data/TTextLimits.h"
#include "widgets/TSimulationFile.h"

namespace {

// Pictures and simulation files are stored whole in a memo; beyond this they
// are refused rather than copied into the test's tables.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// Reads values out of the JSON tree, noting each problem with its path.
class TDescriptionReader {
public:
    TDescriptionReader(QString baseDir, QStringList& errors)
        : m_baseDir(std::move(baseDir)), m_errors(errors) {}

    void Error(const QString& path, const QString& what) { m_errors << path + ": " + what; }
    qsizetype ErrorCount() const { return m_errors.size(); }

    // A text value. maxBytes: the width of the field it goes to, or the
    // length limit of a memo text (TextLimits).
    QString Text(const QJsonObject& object, const QString& path, const char* key, bool required,
                 int maxBytes) {
        const QString at = path + "." + key;
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull()) {
            if (required)
                Error(at, "is missing");
            return {};
        }
        if (!value.isString()) {
            Error(at, "must be a string");
            return {};
        }
        const QString text = value.toString();
        if (required && text.trimmed().isEmpty())
            Error(at, "must not be empty");
        CheckStorable(at, text, maxBytes);
        return text;
    }

    bool CheckStorable(const QString& at, const QString& text, int maxBytes) {
        QString refused;
        auto bytes = m_codec.Encode(text, &refused);
        if (!bytes) {
            Error(at, QString("holds the character \"%1\", which the tables (Windows-1252) cannot store")
                          .arg(refused));
            return false;
        }
        if (maxBytes > 0 && bytes->size() > maxBytes) {
            Error(at, QString("is longer than %1 characters").arg(maxBytes));
            return false;
        }
        return true;
    }

    int Integer(const QJsonObject& object, const QString& path, const char* key, int min, int max,
                int defaultValue) {
        const QString at = path + "." + key;
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull())
            return defaultValue;
        double number = value.toDouble(std::nan(""));
        if (!value.isDouble() || std::floor(number) != number) {
            Error(at, "must be a whole number");
            return defaultValue;
        }
        if (number < min || number > max) {
            Error(at, QString("must be from %1 to %2").arg(min).arg(max));
            return defaultValue;
        }
        return int(number);
    }

    // An identifier: used as a key in the tables, a registry key name and,
    // for tables, a file name.
    QString Identifier(const QJsonObject& object, const QString& path, const char* key, int maxBytes,
                       bool required = true) {
        QString id = Text(object, path, key, required, maxBytes);
        if (!id.isEmpty() && (id != id.trimmed() || id.contains('/') || id.contains('\\')))
            Error(path + "." + key, "must not hold blanks at its ends or path separators");
        return id;
    }

    // A directory below the database directory, stored with its trailing "/".
    QString RelativeDirectory(const QJsonObject& object, const QString& path, const char* key,
                              bool required) {
        QString dir = Text(object, path, key, required, TextLimits::Title);
        if (dir.isEmpty())
            return dir;
        if (!IsInside(dir)) {
            Error(path + "." + key, "must be a relative directory that stays inside the database directory");
            return {};
        }
        if (!dir.endsWith('/') && !dir.endsWith('\\'))
            dir += '/';
        return dir;
    }

    static bool IsInside(const QString& name) { return !SafeRelativePath(name).isEmpty(); }

    // A file named in the description, read from the description's directory.
    QString File(const QJsonObject& object, const QString& path, const char* key, bool required,
                 QByteArray& data) {
        QString name = Text(object, path, key, required, TextLimits::Title);
        if (name.isEmpty())
            return name;
        const QString at = path + "." + key;
        if (!IsInside(name)) {
            Error(at, "must be a relative file name inside the description's directory");
            return {};
        }
        // Only a regular file inside the description's directory, after
        // every link is resolved, is read: never a link out of it, a FIFO
        // (which would block) or a device.
        const QString base = QFileInfo(m_baseDir).canonicalFilePath();
        const QString target =
            QFileInfo(QDir(m_baseDir).filePath(SafeRelativePath(name))).canonicalFilePath();
        if (target.isEmpty()) {
            Error(at, QString("the file \"%1\" does not exist").arg(name));
            return name;
        }
        if (!target.startsWith(base + "/")) {
            Error(at, QString("the file \"%1\" leads outside the description's directory").arg(name));
            return name;
        }
        struct stat st;
        if (::stat(QFile::encodeName(target).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
            Error(at, QString("\"%1\" is not a regular file").arg(name));
            return name;
        }
        if (st.st_size > MaxFileBytes) {
            Error(at, QString("the file \"%1\" is larger than %2 bytes").arg(name).arg(MaxFileBytes));
            return name;
        }
        QFile file(target);
        if (!file.open(QIODevice::ReadOnly)) {
            Error(at, QString("the file \"%1\" cannot be read").arg(file.fileName()));
            return name;
        }
        data = file.readAll();
        return name;
    }

    QJsonArray Array(const QJsonObject& object, const QString& path, const char* key, bool required) {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull()) {
            if (required)
                Error(path + "." + key, "is missing");
            return {};
        }
        if (!value.isArray())
            Error(path + "." + key, "must be an array");
        return value.toArray();
    }

    bool Object(const QJsonValue& value, const QString& at, QJsonObject& object) {
        if (!value.isObject()) {
            Error(at, "must be an object");
            return false;
        }
        object = value.toObject();
        return true;
    }

    QStringList Texts(const QJsonObject& object, const QString& path, const char* key, int minCount,
                      int maxCount) {
        const QString at = path + "." + key;
        const QJsonArray array = Array(object, path, key, true);
        QStringList texts;
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString itemAt = at + QString("[%1]").arg(i);
            if (!array[i].isString() || array[i].toString().trimmed().isEmpty()) {
                Error(itemAt, "must be a text that is not empty");
                continue;
            }
            CheckStorable(itemAt, array[i].toString(), TextLimits::Text);
            texts << array[i].toString();
        }
        if (object.contains(key) && (array.size() < minCount || array.size() > maxCount))
            Error(at, QString("must hold from %1 to %2 entries").arg(minCount).arg(maxCount));
        return texts;
    }

private:
    QString m_baseDir;
    QStringList& m_errors;
    TTextCodec m_codec; // new tables are Windows-1252
};

TClipDescription ReadClip(TDescriptionReader& r, const QJsonObject& o, const QString& at) {
    TClipDescription clip;
    clip.File = r.Text(o, at, "file", true, 40);
    clip.Title = r.Text(o, at, "title", false, 40);
    clip.Type = r.Integer(o, at, "type", 0, 9999, 0);
    clip.Reel = r.Integer(o, at, "reel", 0, 99, 0);
    clip.TimeIn = r.Text(o, at, "timein", false, 11);
    clip.TimeOut = r.Text(o, at, "timeout", false, 11);
    clip.WordsIn = r.Text(o, at, "wordsin", false, 75);
    clip.WordsOut = r.Text(o, at, "wordsout", false, 75);
    return clip;
}

std::vector<TPageDescription> ReadPages(TDescriptionReader& r, const QJsonObject& root) {
    std::vector<TPageDescription> pages;
    const QJsonArray pageArray = r.Array(root, "$", "pages", true);
    if (root.value("pages").isArray() && pageArray.isEmpty())
        r.Error("$.pages", "a course needs at least one page");
    for (qsizetype p = 0; p < pageArray.size(); ++p) {
        const QString pageAt = QString("$.pages[%1]").arg(p);
        QJsonObject pageObject;
        if (!r.Object(pageArray[p], pageAt, pageObject))
            continue;
        TPageDescription page;
        page.Title = r.Text(pageObject, pageAt, "title", true, 40);
        const QJsonArray buttons = r.Array(pageObject, pageAt, "buttons", false);
        for (qsizetype b = 0; b < buttons.size(); ++b) {
            const QString buttonAt = pageAt + QString(".buttons[%1]").arg(b);
            QJsonObject buttonObject;
            if (!r.Object(buttons[b], buttonAt, buttonObject))
                continue;
            TButtonDescription button;
            button.Title = r.Text(buttonObject, buttonAt, "title", true, 40);
            const QJsonArray clips = r.Array(buttonObject, buttonAt, "clips", false);
            for (qsizetype c = 0; c < clips.size(); ++c) {
                const QString clipAt = buttonAt + QString(".clips[%1]").arg(c);
                QJsonObject clipObject;
                if (r.Object(clips[c], clipAt, clipObject))
                    button.Clips.push_back(ReadClip(r, clipObject, clipAt));
            }
            page.Buttons.push_back(std::move(button));
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<TTermDescription> ReadGlossary(TDescriptionReader& r, const QJsonObject& root) {
    std::vector<TTermDescription> terms;
    QSet<QString> seen;
    const QJsonArray array = r.Array(root, "$", "glossary", false);
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString at = QString("$.glossary[%1]").arg(i);
        QJsonObject o;
        if (!r.Object(array[i], at, o))
            continue;
        TTermDescription term;
        term.Term = r.Text(o, at, "term", true, 50);
        term.Definition = r.Text(o, at, "definition", true, TextLimits::Text);
        if (!term.Term.isEmpty() && seen.contains(term.Term))
            r.Error(at + ".term", QString("\"%1\" is already in the glossary").arg(term.Term));
        seen.insert(term.Term);
        terms.push_back(term);
    }
    return terms;
}

TQuestionDescription ReadQuestion(TDescriptionReader& r, const QJsonObject& o, const QString& at) {
    TQuestionDescription q;
    const QString kind = o.value("type").toString();
    q.Title = r.Text(o, at, "title", false, TextLimits::Title);
    q.Question = r.Text(o, at, "question", true, TextLimits::Text);
    q.Hint = r.Text(o, at, "hint", false, TextLimits::Text);
    q.Ref = r.Text(o, at, "ref", false, TextLimits::Text);
    if (kind == "truefalse") {
        q.Type = 0;
        const QJsonValue answer = o.value("answer");
        if (!answer.isBool())
            r.Error(at + ".answer", "must be true or false");
        q.Answer = answer.toBool() ? "TRUE" : "FALSE";
        q.Graphic = r.File(o, at, "graphic", false, q.GraphicData);
    } else if (kind == "single") {
        q.Type = 1;
        q.Choices = r.Texts(o, at, "choices", 2, 99);
        int answer = r.Integer(o, at, "answer", 1, std::max<int>(1, int(q.Choices.size())), 1);
        if (!o.contains("answer"))
            r.Error(at + ".answer", "is missing");
        q.Answer = QString::number(answer);
        q.Graphic = r.File(o, at, "graphic", false, q.GraphicData);
    } else if (kind == "multiple") {
        q.Type = 5;
        q.Choices = r.Texts(o, at, "choices", 2, 16);
        const QJsonValue answer = o.value("answer");
        if (!answer.isArray() || answer.toArray().isEmpty()) {
            r.Error(at + ".answer", "must be a list of the correct choices (1-based)");
        } else {
            int mask = 0;
            const QJsonArray picks = answer.toArray();
            for (qsizetype i = 0; i < picks.size(); ++i) {
                double k = picks[i].toDouble(0);
                const QString pickAt = at + QString(".answer[%1]").arg(i);
                if (!picks[i].isDouble() || std::floor(k) != k || k < 1 || k > q.Choices.size())
                    r.Error(pickAt, QString("must be a choice number from 1 to %1").arg(q.Choices.size()));
                else if (mask & (1 << (int(k) - 1)))
                    r.Error(pickAt, "names a choice twice");
                else
                    mask |= 1 << (int(k) - 1);
            }
            q.Answer = QString::number(mask);
        }
        q.Graphic = r.File(o, at, "graphic", false, q.GraphicData);
    } else if (kind == "simulation") {
        q.Type = 3;
        q.Choices = r.Texts(o, at, "steps", 1, 99);
        const qsizetype before = r.ErrorCount();
        q.Graphic = r.File(o, at, "graphic", true, q.GraphicData);
        // The player refuses a file the simulation reader refuses; the course
        // is refused here instead, naming the question.
        if (!q.Graphic.isEmpty() && r.ErrorCount() == before) {
            const TSimulationRead read = ReadSimulation(q.GraphicData);
            if (!read.Playable())
                r.Error(at + ".graphic",
                        QString("question \"%1\": the simulation %2 cannot be played: %3")
                            .arg(q.Title.isEmpty() ? q.Question : q.Title, q.Graphic, read.Error));
        }
    } else {
        r.Error(at + ".type", "must be \"truefalse\", \"single\", \"multiple\" or \"simulation\"");
    }
    return q;
}

std::optional<TTestDescription> ReadTest(TDescriptionReader& r, const QJsonObject& root) {
    const QJsonValue value = root.value("test");
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    QJsonObject o;
    if (!r.Object(value, "$.test", o))
        return std::nullopt;
    TTestDescription test;
    const QString at = "$.test";
    test.Id = r.Identifier(o, at, "id", 10);
    test.Title = r.Text(o, at, "title", true, TextLimits::Title);
    test.Description = r.Text(o, at, "description", false, TextLimits::Text);
    test.Path = r.RelativeDirectory(o, at, "path", false);
    test.Table = r.Identifier(o, at, "table", 10);
    if (!test.Table.isEmpty() && !QRegularExpression("^[A-Za-z0-9_]+$").match(test.Table).hasMatch())
        r.Error(at + ".table", "must be a file name of letters, digits and \"_\"");
    QJsonObject parent;
    if (!o.contains("parent"))
        r.Error(at + ".parent", "is missing");
    else if (r.Object(o.value("parent"), at + ".parent", parent)) {
        test.ParentId = r.Identifier(parent, at + ".parent", "id", 10);
        test.ParentTitle = r.Text(parent, at + ".parent", "title", true, TextLimits::Title);
        test.ParentDescription = r.Text(parent, at + ".parent", "description", false, TextLimits::Text);
        test.ParentTime = r.Text(parent, at + ".parent", "time", false, 5);
    }
    test.Graphic = r.File(o, at, "graphic", false, test.GraphicData);
    const QJsonArray questions = r.Array(o, at, "questions", true);
    if (o.value("questions").isArray() && questions.isEmpty())
        r.Error(at + ".questions", "a test needs at least one question");
    for (qsizetype i = 0; i < questions.size(); ++i) {
        const QString qAt = at + QString(".questions[%1]").arg(i);
        QJsonObject q;
        if (r.Object(questions[i], qAt, q))
            test.Questions.push_back(ReadQuestion(r, q, qAt));
    }
    return test;
}

} // namespace

std::optional<TCourseDescription> ReadCourseDescription(const QString& file, QStringList& errors) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        errors << QString("$: the description \"%1\" cannot be read").arg(file);
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        errors << QString("$: not valid JSON at character %1: %2")
                      .arg(parseError.offset)
                      .arg(parseError.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        errors << "$: must be an object";
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    TDescriptionReader r(QFileInfo(file).absolutePath(), errors);
    const qsizetype before = errors.size();

    TCourseDescription course;
    course.Id = r.Identifier(root, "$", "id", 10);
    course.Title = r.Text(root, "$", "title", true, TextLimits::Title);
    course.Description = r.Text(root, "$", "description", false, TextLimits::Text);
    course.Path = r.RelativeDirectory(root, "$", "path", true);
    course.Genesis = r.Text(root, "$", "genesis", false, 40);
    course.MovieType = r.Integer(root, "$", "movietype", 0, 9999, 0);
    course.NumCert = r.Integer(root, "$", "numcert", 0, 9999, 0);
    course.LogonReq = r.Integer(root, "$", "logonreq", 0, 9, 0);
    const QJsonValue interactive = root.value("interactive");
    QJsonObject io;
    if (!interactive.isUndefined() && !interactive.isNull() && r.Object(interactive, "$.interactive", io)) {
        course.InteractiveName = r.Text(io, "$.interactive", "name", true, TextLimits::Title);
        course.InteractiveClass = r.Text(io, "$.interactive", "class", false, TextLimits::Title);
        course.InteractivePath = r.Text(io, "$.interactive", "path", false, TextLimits::Title);
    }
    course.Pages = ReadPages(r, root);
    course.Glossary = ReadGlossary(r, root);
    course.Test = ReadTest(r, root);
    if (errors.size() != before)
        return std::nullopt;
    return course;
}
