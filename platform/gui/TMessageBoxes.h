#pragma once
// Message boxes on screen: the player's messages and questions.
#include "platform/TMessages.h"

class TQtMessageService : public TMessageService {
public:
    void ShowMessage(const QString& text) override;
    void ShowMessageCaption(const QString& text, const QString& caption) override;
    bool Ask(const QString& text) override;
    bool Confirm(const QString& text) override;
};

// Makes message boxes the default message service. Call once the application
// object exists.
void UseMessageBoxes();
