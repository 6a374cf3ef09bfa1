#include "platform/TMessages.h"

#include <cstdio>

namespace {
TMessageService* g_service = nullptr;
TMessageService* g_default = nullptr;
} // namespace

TMessageService& Messages() {
    static TStderrMessageService stderrService;
    if (g_service)
        return *g_service;
    // Command-line tools set no default: their messages go to stderr.
    return g_default ? *g_default : stderrService;
}

void SetMessageService(TMessageService* service) {
    g_service = service;
}

void SetDefaultMessageService(TMessageService* service) {
    g_default = service;
}

void TStderrMessageService::ShowMessage(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void TStderrMessageService::ShowMessageCaption(const QString& text, const QString& caption) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

bool TStderrMessageService::Ask(const QString& text) {
    std::fprintf(stderr, "%s (answered No)\n", qPrintable(text));
    return false;
}

bool TStderrMessageService::Confirm(const QString& text) {
    std::fprintf(stderr, "%s (answered Cancel)\n", qPrintable(text));
    return false;
}
