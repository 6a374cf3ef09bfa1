#pragma once
// Plain message boxes and Yes/No questions. Every part of the program shows
// messages through Messages(), so tests can install a scripted service that
// records what was shown and answers questions.
#include <QString>
#include <QStringList>
#include <deque>

class TMessageService {
public:
    virtual ~TMessageService() = default;
    // An information message captioned "Altavo" with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // A message with a caption of its own.
    virtual void ShowMessageCaption(const QString& text, const QString& caption) = 0;
    // A question captioned "Confirm" with the buttons "&Yes" and "&No"; true for Yes.
    virtual bool Ask(const QString& text) = 0;
    // A message captioned "Altavo" with OK and Cancel; true for OK.
    virtual bool Confirm(const QString& text) = 0;
};

// The service in use: the one installed, else the program's default (message
// boxes in the player, see platform/gui/TMessageBoxes.h), else standard error.
TMessageService& Messages();
// Installs a service (not owned); nullptr restores the default.
void SetMessageService(TMessageService* service);
// Sets the default used when none is installed (not owned); the player sets
// message boxes once its application object exists.
void SetDefaultMessageService(TMessageService* service);

// For command-line tools: messages go to standard error, questions answer No.
class TStderrMessageService : public TMessageService {
public:
    void ShowMessage(const QString& text) override;
    void ShowMessageCaption(const QString& text, const QString& caption) override;
    bool Ask(const QString& text) override;
    bool Confirm(const QString& text) override;
};

// For tests: records every message and question, answers from a script.
class TScriptedMessages : public TMessageService {
public:
    TScriptedMessages() { SetMessageService(this); }
    ~TScriptedMessages() override { SetMessageService(nullptr); }

    void ShowMessage(const QString& text) override { Shown << text; }
    void ShowMessageCaption(const QString& text, const QString& caption) override {
        Shown << caption + ": " + text;
    }
    bool Confirm(const QString& text) override { return Ask(text); }
    bool Ask(const QString& text) override {
        Asked << text;
        if (Answers.empty())
            return false;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    QStringList Shown;
    QStringList Asked;
    std::deque<bool> Answers; // answers to the next questions; No when empty
};
