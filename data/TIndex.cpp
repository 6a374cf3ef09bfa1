#include "data/TIndex.h"

#include <algorithm>

#include "data/TIndexChain.h"
#include "platform/TDynamicLibrary.h"

namespace {

const FIELD4INFO IndexFields[] = {
    {"ID", 'N', 4, 0, 0},       {"PARENTID", 'N', 4, 0, 0},  {"INDEX", 'N', 4, 0, 0},
    {"TYPE", 'N', 2, 0, 0},     {"CLIPTYPE", 'N', 4, 0, 0},  {"REEL", 'N', 2, 0, 0},
    {"TITLE", 'C', 40, 0, 0},   {"TIMEIN", 'C', 11, 0, 0},   {"TIMEOUT", 'C', 11, 0, 0},
    {"WORDSIN", 'C', 75, 0, 0}, {"WORDSOUT", 'C', 75, 0, 0}, {"FILENAME", 'C', 40, 0, 0},
    {nullptr, 0, 0, 0, 0},
};

const char* const NotDeleted = ".NOT. DELETED()";

const TAG4INFO IndexTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {"ID_INDEX", "ID+INDEX", nullptr, 0, 0},
    {"PARENTID", "PARENTID", NotDeleted, 0, 0},
    {"PID_INDEX", "PARENTID + INDEX", NotDeleted, 0, 0},
    {"TYPE_NDX", "TYPE + INDEX", NotDeleted, 0, 0},
    {"CLIPTYPE", "CLIPTYPE", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

} // namespace

using namespace IndexChain;

TMoviePageLinkList* TMoviePageControl::FindId(int id) const {
    for (const auto& node : Nodes)
        if (node->ID == id)
            return node.get();
    return nullptr;
}

void TMoviePageControl::Clear() {
    Pages = nullptr;
    PageCount = 0;
    Nodes.clear();
}

TIndex::TIndex(TDynamicLibrary& library, const QString& courseDir, CODE4* engine)
    : m_cb(library, engine,
           {"d4create", "d4open", "code4errorCode", "d4field", "d4tag", "d4tagSelect", "d4bottom", "d4close",
            "d4seekDouble", "d4appendBlank", "f4assign", "f4assignLong", "d4unlock", "f4long", "d4top",
            "f4str", "d4skip", "d4delete"}),
      m_text(m_cb, "the course index") {
    m_data = m_cb.OpenOrCreate(courseDir + "index", IndexFields, IndexTags);
    m_text.Attach(m_data);
    m_id = m_cb.Field(m_data, "ID");
    m_parentId = m_cb.Field(m_data, "PARENTID");
    m_index = m_cb.Field(m_data, "INDEX");
    m_type = m_cb.Field(m_data, "TYPE");
    m_clipType = m_cb.Field(m_data, "CLIPTYPE");
    m_reel = m_cb.Field(m_data, "REEL");
    m_title = m_cb.Field(m_data, "TITLE");
    m_timeIn = m_cb.Field(m_data, "TIMEIN");
    m_timeOut = m_cb.Field(m_data, "TIMEOUT");
    m_wordsIn = m_cb.Field(m_data, "WORDSIN");
    m_wordsOut = m_cb.Field(m_data, "WORDSOUT");
    m_fileName = m_cb.Field(m_data, "FILENAME");
    m_tagId = m_cb.Tag(m_data, "ID");
    m_tagParentId = m_cb.Tag(m_data, "PARENTID");
    Load();
}

TIndex::~TIndex() {
    m_cb.Close(m_data);
}

// Reads every live record in PARENTID order and attaches it to the tree. A
// parent's record normally comes before its children's; one that comes later
// (a parent with a larger ID) is attached on a further pass, and a child whose
// parent is not there at all is skipped and counted.
void TIndex::Load() {
    m_tree.Clear();
    m_skipped = 0;
    std::vector<Record> pending;
    m_cb.TagSelect(m_data, m_tagParentId);
    for (int rc = m_cb.Top(m_data); rc == R4_SUCCESS; rc = m_cb.Skip(m_data, 1)) {
        Record r;
        r.id = int(m_cb.Long(m_id));
        r.parentId = int(m_cb.Long(m_parentId));
        r.index = int(m_cb.Long(m_index));
        r.kind = int(m_cb.Long(m_type));
        r.clipType = int(m_cb.Long(m_clipType));
        r.reel = int(m_cb.Long(m_reel));
        r.title = m_text.Capped(m_title, TextLimits::Title);
        r.fileName = m_text.Trimmed(m_fileName);
        r.timeIn = m_text.Capped(m_timeIn, TextLimits::Title);
        r.timeOut = m_text.Capped(m_timeOut, TextLimits::Title);
        r.wordsIn = m_text.Capped(m_wordsIn, TextLimits::Title);
        r.wordsOut = m_text.Capped(m_wordsOut, TextLimits::Title);
        pending.push_back(std::move(r));
    }
    m_cb.TagSelect(m_data, nullptr);

    bool progress = true;
    while (!pending.empty() && progress) {
        progress = false;
        std::vector<Record> waiting;
        for (Record& r : pending) {
            if (r.kind == PageKind || m_tree.FindId(r.parentId)) {
                AddNode(r);
                progress = true;
            } else {
                waiting.push_back(std::move(r));
            }
        }
        pending.swap(waiting);
    }
    m_skipped = int(pending.size());
}

TMoviePageLinkList* TIndex::AddNode(const Record& r) {
    auto owned = std::make_unique<Node>();
    Node* node = owned.get();
    node->ID = r.id;
    node->Index = r.index;
    node->Title = r.title;
    node->Kind = r.kind;
    if (r.kind == ClipKind) {
        node->ClipType = r.clipType;
        node->Reel = r.reel;
        node->FileName = r.fileName;
        node->TimeIn = r.timeIn;
        node->TimeOut = r.timeOut;
        node->WordsIn = r.wordsIn;
        node->WordsOut = r.wordsOut;
    }
    if (r.kind == PageKind) {
        SortedInsert(m_tree.Pages, node);
        ++m_tree.PageCount;
    } else {
        Node* parent = m_tree.FindId(r.parentId);
        if (!parent)
            return nullptr;
        SortedInsert(parent->Children, node);
    }
    m_tree.Nodes.push_back(std::move(owned));
    return node;
}

int TIndex::PageCount() const {
    return m_tree.PageCount;
}

int TIndex::ButtonCount(int page) const {
    const Node* p = GetPageMPLL(page);
    return p ? ChainCount(p->Children) : 0;
}

int TIndex::ClipCount(int page, int button) const {
    const Node* b = GetButtonMPLL(page, button);
    return b ? ChainCount(b->Children) : 0;
}

int TIndex::ChildCount(int id) const {
    if (id == 0)
        return m_tree.PageCount;
    const Node* node = m_tree.FindId(id);
    return node ? ChainCount(node->Children) : 0;
}

QString TIndex::GetPage(int page) const {
    const Node* p = GetPageMPLL(page);
    return p ? p->Title : QString();
}

QString TIndex::GetButton(int page, int button) const {
    const Node* b = GetButtonMPLL(page, button);
    return b ? b->Title : QString();
}

const TMoviePageLinkList* TIndex::GetPageMPLL(int page) const {
    return ChainAt(m_tree.Pages, page);
}

const TMoviePageLinkList* TIndex::GetButtonMPLL(int page, int button) const {
    const Node* p = GetPageMPLL(page);
    return p ? ChainAt(p->Children, button) : nullptr;
}

const TMoviePageLinkList* TIndex::GetClip(int page, int button, int clip) const {
    const Node* b = GetButtonMPLL(page, button);
    return b ? ChainAt(b->Children, clip) : nullptr;
}

bool TIndex::SeekId(int id) {
    m_cb.TagSelect(m_data, m_tagId);
    bool found = m_cb.SeekDouble(m_data, id) == R4_SUCCESS;
    m_cb.TagSelect(m_data, nullptr);
    return found;
}

TMoviePageLinkList* TIndex::PageNode(int page) {
    return ChainAt(m_tree.Pages, page);
}

TMoviePageLinkList* TIndex::ButtonNode(int page, int button) {
    Node* p = PageNode(page);
    return p ? ChainAt(p->Children, button) : nullptr;
}

TMoviePageLinkList* TIndex::ClipNode(int page, int button, int clip) {
    Node* b = ButtonNode(page, button);
    return b ? ChainAt(b->Children, clip) : nullptr;
}
