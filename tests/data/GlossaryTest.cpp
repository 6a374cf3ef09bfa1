// The glossary: term order, look-up, deleted terms and long definitions.
#include "DataTestSupport.h"
#include "data/TGlossary.h"

namespace {

class GlossaryTest : public DataTest {
protected:
    QStringList Listed(TGlossary& glossary, int* starts = nullptr, int* ends = nullptr) {
        QStringList terms;
        glossary.OnListStart = [=] {
            if (starts)
                ++*starts;
        };
        glossary.OnListItem = [&](const QString& term) { terms << term; };
        glossary.OnListEnd = [=] {
            if (ends)
                ++*ends;
        };
        glossary.ListTerms();
        glossary.OnListItem = nullptr;
        return terms;
    }
};

TEST_F(GlossaryTest, NewGlossaryListsNothing) {
    TGlossary glossary(Library(), Dir(), Engine);
    int starts = 0, ends = 0;
    EXPECT_TRUE(Listed(glossary, &starts, &ends).isEmpty());
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(glossary.GetTerm("Cell"), "");
}

TEST_F(GlossaryTest, TermsListInOrderAndLookUpWhole) {
    const QString longDefinition = QString("A very long definition. ").repeated(400);
    {
        TGlossary glossary(Library(), Dir(), Engine);
        ASSERT_TRUE(glossary.AddTerm("Zoom", "Enlarge. {see:Macro}"));
        ASSERT_TRUE(glossary.AddTerm("Applet", longDefinition));
        ASSERT_TRUE(glossary.AddTerm("Macro", "Recorded steps."));
        EXPECT_EQ(Listed(glossary), (QStringList{"Applet", "Macro", "Zoom"}))
            << "a new table lists by term too";
    }
    TGlossary glossary(Library(), Dir(), Engine);
    const QStringList terms = Listed(glossary);
    EXPECT_EQ(terms, (QStringList{"Applet", "Macro", "Zoom"}));
    EXPECT_EQ(glossary.GetTerm(terms[0]), longDefinition);
    EXPECT_EQ(glossary.GetTerm("Zoom"), "Enlarge. {see:Macro}");
    EXPECT_EQ(glossary.GetTerm("Absent"), "");

    ASSERT_TRUE(glossary.UpdateTerm("Macro", "Macros", "Recorded steps, replayed."));
    EXPECT_FALSE(glossary.UpdateTerm("Absent", "X", "Y"));
    EXPECT_EQ(glossary.GetTerm("Macro"), "");
    EXPECT_EQ(glossary.GetTerm("Macros"), "Recorded steps, replayed.");
    EXPECT_EQ(Listed(glossary), (QStringList{"Applet", "Macros", "Zoom"}));
    EXPECT_FALSE(glossary.AddTerm("Ω", "omega"));
    EXPECT_TRUE(glossary.LastError().contains("The term"));
}

TEST_F(GlossaryTest, DeletedTermsAreNeitherListedNorFound) {
    {
        TGlossary glossary(Library(), Dir(), Engine);
        glossary.AddTerm("Cell", "One box.");
        glossary.AddTerm("Grid", "All boxes.");
    }
    auto open = Entry<DATA4* (*)(CODE4*, const char*)>("d4open");
    auto go = Entry<int (*)(DATA4*, long)>("d4go");
    auto del = Entry<void (*)(DATA4*)>("d4delete");
    auto unlock = Entry<int (*)(DATA4*)>("d4unlock");
    auto close = Entry<int (*)(DATA4*)>("d4close");
    DATA4* data = open(Engine, (Dir() + "Glossary").toUtf8().constData());
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(go(data, 1), 0);
    del(data);
    unlock(data);
    close(data);

    TGlossary glossary(Library(), Dir(), Engine);
    EXPECT_EQ(Listed(glossary), (QStringList{"Grid"}));
    EXPECT_EQ(glossary.GetTerm("Cell"), "");
    EXPECT_EQ(glossary.GetTerm("Grid"), "All boxes.");
}

} // namespace
