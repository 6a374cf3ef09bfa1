// Collects a skin while it is drawn: writes each picture and face into the skin
// directory and remembers the scheme.ini entry that names it, then writes
// scheme.ini in the order the entries were made.
#pragma once

#include "GifWriter.h"
#include "SkinTheme.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class TSkinBuilder {
public:
    TSkinBuilder(const TSkinTheme& theme, const QString& directory);

    const TSkinTheme& Theme() const { return m_theme; }

    // `key` empty: the file is written under its default name and scheme.ini leaves the key out.
    void Picture(const QString& section, const QString& key, const QString& file, const QImage& image);
    void Animation(const QString& section, const QString& key, const QString& file, const TGifFrames& frames);
    void Face(const QString& section, const QString& key, const QString& file, const QImage& face);
    void Value(const QString& section, const QString& key, const QString& value);
    void Integer(const QString& section, const QString& key, int value);
    void Colour(const QString& section, const QString& key, const QColor& colour);
    void TextFile(const QString& file, const QString& text);

    // Writes scheme.ini; the errors met on the way, empty when all went well.
    QStringList Finish();

private:
    struct Entry {
        QString section, key, value;
    };
    QString StoredFaceName(const QString& file) const;
    QString FacePath(const QString& file) const;
    void Remember(const QString& section, const QString& key, const QString& value);

    const TSkinTheme& m_theme;
    QString m_dir;
    QList<Entry> m_entries;
    QStringList m_errors;
};
