#include "skin/TSkinScheme.h"

#include <QFile>

#include "platform/TPaths.h"
#include "skin/TSkinEntry.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"
#include "widgets/WinColor.h"

TSkinScheme::TSkinScheme(const QString& skinDirectory)
    : m_dir(skinDirectory), m_scheme(ResolvePath(skinDirectory + QStringLiteral("scheme.ini"))) {}

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
    if (button)
        button->LoadFace(Path(String(section, key)));
}

std::unique_ptr<QByteArray> TSkinScheme::WholeFile(const char* section, const char* key) const {
    const QString path = Path(String(section, key));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TSkinError(QStringLiteral("Cannot open file %1").arg(path));
    return std::make_unique<QByteArray>(file.readAll());
}

TSkinEntry FaceEntry(TSkinButton* button, const char* section, const char* key, TSkinStep step) {
    return {step, [=](const TSkinScheme& s) { s.Face(button, section, key); }};
}

TSkinEntry PictureEntry(TGifImage* picture, const char* section, const char* key, TSkinStep step) {
    return {step, [=](const TSkinScheme& s) { s.Picture(picture, section, key); }};
}
