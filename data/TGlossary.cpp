#include "data/TGlossary.h"

#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO GlossaryFields[] = {
    {"TERM", 'C', 50, 0, 0},
    {"DEFINITION", 'M', 10, 0, 0},
    {nullptr, 0, 0, 0, 0},
};

const TAG4INFO GlossaryTags[] = {
    {"TERM_TAG", "TERM", ".NOT. DELETED()", 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

} // namespace

TGlossary::TGlossary(TDynamicLibrary& library, const QString& courseDir, CODE4* engine)
    : m_cb(library, engine,
           {"d4create", "d4open", "code4errorCode", "d4field", "d4tag", "d4tagSelect", "d4bottom", "d4close",
            "d4seek", "d4appendBlank", "f4assign", "f4memoAssign", "d4unlock", "f4long", "d4top", "f4memoStr",
            "f4str", "d4skip"}),
      m_text(m_cb, "the glossary") {
    bool created = false;
    m_data = m_cb.OpenOrCreate(courseDir + "Glossary", GlossaryFields, GlossaryTags, &created);
    m_text.Attach(m_data);
    m_term = m_cb.Field(m_data, "TERM");
    m_definition = m_cb.Field(m_data, "DEFINITION");
    m_termTag = m_cb.Tag(m_data, "TERM_TAG");
    // Listing and look-up go by term, for a new table as for an opened one.
    m_cb.TagSelect(m_data, m_termTag);
    if (!created)
        m_cb.Bottom(m_data);
}

TGlossary::~TGlossary() {
    m_cb.Close(m_data);
}

QString TGlossary::GetTerm(const QString& term) {
    auto key = m_text.Codec().Encode(term);
    if (!key || m_cb.Seek(m_data, *key) != R4_SUCCESS)
        return {};
    return m_text.MemoCapped(m_definition, TextLimits::Text);
}

bool TGlossary::AddTerm(const QString& term, const QString& definition) {
    m_text.ClearError();
    auto t = m_text.Encode(term, "The term");
    auto d = m_text.Encode(definition, "The definition");
    if (!t || !d || m_cb.AppendBlank(m_data) != 0)
        return false;
    m_cb.Assign(m_term, *t);
    m_cb.MemoAssign(m_definition, *d);
    return m_cb.Unlock(m_data) == 0;
}

bool TGlossary::UpdateTerm(const QString& term, const QString& newTerm, const QString& newDefinition) {
    m_text.ClearError();
    auto t = m_text.Encode(newTerm, "The term");
    auto d = m_text.Encode(newDefinition, "The definition");
    auto key = m_text.Codec().Encode(term);
    if (!t || !d || !key || m_cb.Seek(m_data, *key) != R4_SUCCESS)
        return false;
    m_cb.Assign(m_term, *t);
    m_cb.MemoAssign(m_definition, *d);
    return m_cb.Unlock(m_data) == 0;
}

void TGlossary::ListTerms() {
    if (OnListStart)
        OnListStart();
    for (int rc = m_cb.Top(m_data); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1))
        if (OnListItem)
            OnListItem(m_text.Capped(m_term, TextLimits::Title));
    if (OnListEnd)
        OnListEnd();
}
