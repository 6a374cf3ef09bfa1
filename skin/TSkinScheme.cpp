#include "skin/TSkinScheme.h"

#include <QFile>
#include <QFileInfo>

#include "platform/TPaths.h"
#include "skin/TSkinEntry.h"
#include "skin/uLoadSkins.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"
#include "widgets/WinColor.h"

namespace {
QString SchemePath(const QString& skinDirectory) {
    return ResolvePath(skinDirectory + QStringLiteral("scheme.ini"));
}

// The key an error came from, so the skin's author knows which line to mend.
TSkinError WithKey(const TSkinError& error, const char* section, const char* key) {
    return TSkinError(QStringLiteral("%1 (key \"%2\" of section \"%3\")")
                          .arg(error.Message(), QString::fromLatin1(key), QString::fromLatin1(section)));
}
} // namespace

TSkinScheme::TSkinScheme(const QString& skinDirectory)
    : m_dir(skinDirectory), m_scheme(SchemePath(skinDirectory)) {
    const QFileInfo scheme(SchemePath(skinDirectory));
    if (!scheme.isFile() || !scheme.isReadable())
        throw TSkinError(QStringLiteral("Cannot open file %1").arg(scheme.filePath()));
}

QString TSkinScheme::Path(const QString& value) const {
    return ResolvePath(m_dir + FromStoredPath(value));
}

QString TSkinScheme::String(const char* section, const char* key, const QString& def) const {
    return m_scheme.ReadString(QString::fromLatin1(section), QString::fromLatin1(key), def);
}

int TSkinScheme::Integer(const char* section, const char* key, int def) const {
    return m_scheme.ReadInteger(QString::fromLatin1(section), QString::fromLatin1(key), def);
}

QColor TSkinScheme::Colour(const char* section, const char* key, int def) const {
    return WinColor(quint32(Integer(section, key, def)));
}

void TSkinScheme::Picture(TGifImage* picture, const char* section, const char* key) const {
    if (picture)
        picture->SetFileName(Path(String(section, key)));
}

void TSkinScheme::Face(TSkinButton* button, const char* section, const char* key) const {
    if (!button)
        return;
    const QString path = Path(String(section, key));
    try {
        button->LoadFace(path);
    } catch (const TSkinError& e) {
        // The bitmap reader's own message does not name the file.
        if (e.Message().contains(path))
            throw WithKey(e, section, key);
        throw WithKey(TSkinError(e.Message() + ": " + path), section, key);
    }
}

QRect TSkinScheme::Coordinates(const char* section, const char* key, const QString& def) const {
    try {
        return ParseCoordinateList(String(section, key, def));
    } catch (const TSkinError& e) {
        throw WithKey(e, section, key);
    }
}

std::unique_ptr<QByteArray> TSkinScheme::WholeFile(const char* section, const char* key) const {
    const QString path = Path(String(section, key));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WithKey(TSkinError(QStringLiteral("Cannot open file %1").arg(path)), section, key);
    return std::make_unique<QByteArray>(file.readAll());
}

TSkinEntry FaceEntry(TSkinButton* button, const char* section, const char* key, TSkinStep step) {
    return {step, [=](const TSkinScheme& s) { s.Face(button, section, key); }};
}

TSkinEntry PictureEntry(TGifImage* picture, const char* section, const char* key, TSkinStep step) {
    return {step, [=](const TSkinScheme& s) { s.Picture(picture, section, key); }};
}
