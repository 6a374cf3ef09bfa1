#pragma once
// A course's index table "index.dbf": the lesson content as a tree of pages,
// the buttons on each page and the clips behind each button. The whole tree is
// read once when the course starts and every question of the movie page is
// answered from it by 1-based position. The authoring operations keep table
// and tree in step.
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "data/Codebase2.h"
#include "data/TTableText.h"

class TDynamicLibrary;

// One record of the index: a page (Kind 0), a button (1) or a clip (2).
struct TMoviePageLinkList {
    TMoviePageLinkList* Next = nullptr;     // next sibling
    TMoviePageLinkList* Children = nullptr; // first child
    int Kind = 0;
    int ID = 0;
    int Index = 0;
    QString Title;
    // Clips only.
    QString FileName;
    QString TimeIn;
    QString TimeOut;
    QString WordsIn;
    QString WordsOut;
    int Reel = 0;
    int ClipType = 0;
};

// The tree: sibling chains sorted by Index; Nodes owns every node.
class TMoviePageControl {
public:
    TMoviePageLinkList* Pages = nullptr;
    std::vector<std::unique_ptr<TMoviePageLinkList>> Nodes;
    int PageCount = 0;

    // The first node (in the order added) with that ID, or null.
    TMoviePageLinkList* FindId(int id) const;
    void Clear();
};

class TIndex {
public:
    static constexpr int PageKind = 0;
    static constexpr int ButtonKind = 1;
    static constexpr int ClipKind = 2;
    static constexpr int FramedClip = 257;

    TIndex(TDynamicLibrary& library, const QString& courseDir, CODE4* engine);
    ~TIndex();
    TIndex(const TIndex&) = delete;
    TIndex& operator=(const TIndex&) = delete;

    // Read side; positions are 1-based.
    int PageCount() const;
    int ButtonCount(int page) const;
    int ClipCount(int page, int button) const;
    int ChildCount(int id) const;
    QString GetPage(int page) const;
    QString GetButton(int page, int button) const;
    // Null for a position that does not exist.
    const TMoviePageLinkList* GetClip(int page, int button, int clip) const;
    const TMoviePageLinkList* GetButtonMPLL(int page, int button) const;
    const TMoviePageLinkList* GetPageMPLL(int page) const;
    const TMoviePageControl& Tree() const { return m_tree; }

    // Buttons and clips the last load could not attach (their parent is
    // missing): skipped, so the course still opens; a tool reports them.
    int SkippedRecords() const { return m_skipped; }

    // Authoring side. Adds answer the new ID (or position), -1 when the parent
    // does not exist or a text cannot be stored (LastError() says which).
    int AddPage(const QString& title);
    int AddButton(const QString& title, int pageId);
    int AddClip(const QString& title, const QString& timeIn, const QString& timeOut, const QString& wordsIn,
                const QString& wordsOut, const QString& fileName, int buttonId, int reel, int clipType);
    int AddPageByIndex(const QString& title);
    int AddButtonByIndex(const QString& title, int page);
    int AddClipByIndex(const QString& title, const QString& timeIn, const QString& timeOut,
                       const QString& wordsIn, const QString& wordsOut, const QString& fileName, int page,
                       int button, int reel, int clipType);
    // Positions that do not exist change nothing.
    void ChangePageIndex(int to, int from);
    void ChangeButtonIndex(int page, int to, int from);
    void ChangeClipIndex(int page, int button, int to, int from);
    bool ChangePageTitle(int page, const QString& title);
    bool ChangeButtonTitle(int page, int button, const QString& title);
    bool ChangeClipInfo(int page, int button, int clip, const QString& title, const QString& timeIn,
                        const QString& timeOut, const QString& wordsIn, const QString& wordsOut,
                        const QString& fileName, int reel, int clipType);
    // A page's buttons and clips, and a button's clips, go with it.
    void DeletePage(int page);
    void DeleteButton(int page, int button);
    void DeleteClip(int page, int button, int clip);

    QString LastError() const { return m_text.Error(); }

    // The engine's message when the table could not be opened (damaged,
    // unreadable, not a file) or opened with a fault; empty when sound. A
    // table that exists is never replaced by an empty one.
    QString OpenFault() const { return m_cb.OpenFault(); }
    // True when the table's file exists but could not be opened: the object
    // has no table and must not be used for the learner's work.
    bool OpenRefused() const { return m_cb.OpenRefused(); }

private:
    struct Record {
        int id = 0, parentId = 0, index = 0, kind = 0, clipType = 0, reel = 0;
        QString title, fileName, timeIn, timeOut, wordsIn, wordsOut;
    };
    struct EncodedTexts {
        QByteArray title, fileName, timeIn, timeOut, wordsIn, wordsOut;
    };
    std::optional<EncodedTexts> EncodeTexts(const QString& title, const QString& fileName,
                                            const QString& timeIn, const QString& timeOut,
                                            const QString& wordsIn, const QString& wordsOut);
    void AssignTexts(const EncodedTexts& texts, int kind, int reel, int clipType);
    void Load();
    TMoviePageLinkList* AddNode(const Record& record);
    // The nodes the authoring operations change; null when out of range.
    TMoviePageLinkList* PageNode(int page);
    TMoviePageLinkList* ButtonNode(int page, int button);
    TMoviePageLinkList* ClipNode(int page, int button, int clip);
    int NextId();
    bool SeekId(int id);
    int AddRecord(Record record);
    // Stores the node's values into its record (found by ID).
    bool WriteRecord(const TMoviePageLinkList& node);
    // A page's or button's title, in its record and then in the tree; false
    // for no node or when the record cannot be written.
    bool ChangeTitle(TMoviePageLinkList* node, const QString& title);
    void MoveInChain(TMoviePageLinkList*& head, int to, int from);
    void WriteChainIndexes(TMoviePageLinkList* head);
    void DeleteNode(TMoviePageLinkList*& head, int position, bool isPage);
    void DeleteSubtreeRecords(TMoviePageLinkList* node);
    void ForgetNodes(TMoviePageLinkList* node);

    Codebase2 m_cb;
    TTableText m_text;
    DATA4* m_data = nullptr;
    FIELD4 *m_id, *m_parentId, *m_index, *m_type, *m_clipType, *m_reel, *m_title, *m_timeIn, *m_timeOut,
        *m_wordsIn, *m_wordsOut, *m_fileName;
    TAG4 *m_tagId, *m_tagParentId;
    TMoviePageControl m_tree;
    int m_skipped = 0;
};
