// A small complete skin written by the tests: every button key names one tiny
// bitmap, the feedback pictures and backgrounds are tiny GIFs. Tests change
// single keys or files to show one case each.
#pragma once

#include <QDir>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include "platform/TMessages.h"
#include "shell/TForm1.h"
#include "tests/app/TFakeDisplay.h"

// A solid GIF of the given size, written with giflib.
void WriteSolidGif(const QString& path, int width, int height);
void WriteBitmap(const QString& path);

class TSkinFixture {
public:
    TSkinFixture();
    ~TSkinFixture();

    QString Root() const { return m_dir.path() + "/skins/"; }
    QString SkinPath() const { return Root() + "Test/"; }
    // scheme.ini as section -> key -> value; Write() puts it on disk.
    QMap<QString, QMap<QString, QString>> Scheme;
    void Write(const QString& extraText = {});
    void Load(); // the skin Root() + "Test/" on the main window and its windows

    TScriptedMessages Messages;
    TFakeDisplay Display;
    TForm1* Form = nullptr;
    // A window the main window frees with itself.
    template <typename T> T* Own(T* window) {
        Form->OwnWindow(window);
        return window;
    }
    QString RegistryFile() const { return m_dir.path() + "/registry.ini"; }

private:
    QTemporaryDir m_dir;
};
