#pragma once
// A course's glossary "Glossary": terms with their definitions, listed in term
// order to the glossary list window and looked up one at a time.
#include <QString>
#include <functional>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

class TGlossary {
public:
    TGlossary(TDynamicLibrary& library, const QString& courseDir, CODE4* engine);
    ~TGlossary();
    TGlossary(const TGlossary&) = delete;
    TGlossary& operator=(const TGlossary&) = delete;

    // The whole definition, empty when the term is absent.
    QString GetTerm(const QString& term);
    // False when a text cannot be stored (LastError() says which).
    bool AddTerm(const QString& term, const QString& definition);
    // False when the term is absent or a text cannot be stored.
    bool UpdateTerm(const QString& term, const QString& newTerm, const QString& newDefinition);
    void ListTerms();

    QString LastError() const { return m_text.Error(); }

    std::function<void()> OnListStart;
    std::function<void(const QString& term)> OnListItem;
    std::function<void()> OnListEnd;

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_term, *m_definition;
    TAG4* m_termTag;
};
