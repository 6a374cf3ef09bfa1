#pragma once
// One skin directory and its scheme.ini, read the way every part of a skin is
// read: values of sections and keys, file names relative to the directory
// (written on Windows or not), button faces, pictures and whole files.
#include <QColor>
#include <QRect>
#include <QString>
#include <memory>

#include "platform/TIniFile.h"

class TGifImage;
class TSkinButton;

class TSkinScheme {
public:
    // skinDirectory ends in "/". Throws TSkinError "Cannot open file
    // …/scheme.ini" when the directory has no readable scheme.
    explicit TSkinScheme(const QString& skinDirectory);

    const QString& Directory() const { return m_dir; }
    // The file a value names, found without regard to letter case.
    QString Path(const QString& value) const;
    QString String(const char* section, const char* key, const QString& def = {}) const;
    int Integer(const char* section, const char* key, int def) const;
    QColor Colour(const char* section, const char* key, int def) const;

    // Shows the picture a key names (nothing for a null picture).
    void Picture(TGifImage* picture, const char* section, const char* key) const;
    // Loads the face a key names; throws TSkinError, naming the file and the
    // key, when it cannot be loaded.
    void Face(TSkinButton* button, const char* section, const char* key) const;
    // A coordinate list (see ParseCoordinateList); throws TSkinError naming the
    // bad part and the key.
    QRect Coordinates(const char* section, const char* key, const QString& def) const;
    // The bytes of the file a key names; throws TSkinError "Cannot open file …".
    std::unique_ptr<QByteArray> WholeFile(const char* section, const char* key) const;

private:
    QString m_dir;
    TIniFile m_scheme;
};
