#include "data/TIndex.h"

#include <algorithm>

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

using Node = TMoviePageLinkList;

int ChainCount(const Node* head) {
    int count = 0;
    for (; head; head = head->Next)
        ++count;
    return count;
}

Node* ChainAt(Node* head, int position) {
    if (position < 1)
        return nullptr;
    for (int i = 1; head && i < position; ++i)
        head = head->Next;
    return head;
}

// Ascending Index; a new node goes after the nodes with a smaller or equal
// Index at the head, and before the first later node with an equal or greater one.
void SortedInsert(Node*& head, Node* node) {
    if (!head || head->Index > node->Index) {
        node->Next = head;
        head = node;
        return;
    }
    Node* current = head;
    while (current->Next && current->Next->Index < node->Index)
        current = current->Next;
    node->Next = current->Next;
    current->Next = node;
}

std::vector<Node*> ChainNodes(Node* head) {
    std::vector<Node*> nodes;
    for (; head; head = head->Next)
        nodes.push_back(head);
    return nodes;
}

// Relinks the chain in the given order and numbers it 1, 2, 3 ...
void Relink(Node*& head, const std::vector<Node*>& nodes) {
    head = nodes.empty() ? nullptr : nodes.front();
    for (size_t i = 0; i < nodes.size(); ++i) {
        nodes[i]->Next = i + 1 < nodes.size() ? nodes[i + 1] : nullptr;
        nodes[i]->Index = int(i) + 1;
    }
}

} // namespace

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

int TIndex::NextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return 1;
    return int(m_cb.Long(m_id)) + 1;
}

bool TIndex::SeekId(int id) {
    m_cb.TagSelect(m_data, m_tagId);
    bool found = m_cb.SeekDouble(m_data, id) == R4_SUCCESS;
    m_cb.TagSelect(m_data, nullptr);
    return found;
}

// Every text of a record in the table's code page, all encoded before any is
// written so that a refused one leaves the record untouched.
std::optional<TIndex::EncodedTexts> TIndex::EncodeTexts(const QString& title, const QString& fileName,
                                                        const QString& timeIn, const QString& timeOut,
                                                        const QString& wordsIn, const QString& wordsOut) {
    m_text.ClearError();
    auto t = m_text.Encode(title, "The title");
    auto f = m_text.Encode(fileName, "The clip file name");
    auto ti = m_text.Encode(timeIn, "The in-point");
    auto to = m_text.Encode(timeOut, "The out-point");
    auto wi = m_text.Encode(wordsIn, "The opening words");
    auto wo = m_text.Encode(wordsOut, "The closing words");
    if (!t || !f || !ti || !to || !wi || !wo)
        return std::nullopt;
    return EncodedTexts{*t, *f, *ti, *to, *wi, *wo};
}

// The title of every record; the clip values only on clip records.
void TIndex::AssignTexts(const EncodedTexts& texts, int kind, int reel, int clipType) {
    m_cb.Assign(m_title, texts.title);
    if (kind != ClipKind)
        return;
    m_cb.Assign(m_timeIn, texts.timeIn);
    m_cb.Assign(m_timeOut, texts.timeOut);
    m_cb.Assign(m_wordsIn, texts.wordsIn);
    m_cb.Assign(m_wordsOut, texts.wordsOut);
    m_cb.AssignLong(m_reel, reel);
    m_cb.AssignLong(m_clipType, clipType);
    m_cb.Assign(m_fileName, texts.fileName);
}

int TIndex::AddRecord(Record r) {
    const auto texts = EncodeTexts(r.title, r.fileName, r.timeIn, r.timeOut, r.wordsIn, r.wordsOut);
    if (!texts || !m_data)
        return -1;
    Node* parent = r.kind == PageKind ? nullptr : m_tree.FindId(r.parentId);
    if (r.kind != PageKind && !parent)
        return -1;
    r.id = NextId();
    r.index = (parent ? ChainCount(parent->Children) : m_tree.PageCount) + 1;
    if (r.kind == PageKind)
        r.parentId = 0;
    m_cb.TagSelect(m_data, nullptr);
    if (m_cb.AppendBlank(m_data) != 0)
        return -1;
    m_cb.AssignLong(m_id, r.id);
    m_cb.AssignLong(m_parentId, r.parentId);
    m_cb.AssignLong(m_index, r.index);
    m_cb.AssignLong(m_type, r.kind);
    AssignTexts(*texts, r.kind, r.reel, r.clipType);
    m_cb.Unlock(m_data);
    AddNode(r);
    return r.id;
}

int TIndex::AddPage(const QString& title) {
    Record r;
    r.kind = PageKind;
    r.title = title;
    return AddRecord(r);
}

int TIndex::AddButton(const QString& title, int pageId) {
    Record r;
    r.kind = ButtonKind;
    r.title = title;
    r.parentId = pageId;
    return AddRecord(r);
}

int TIndex::AddClip(const QString& title, const QString& timeIn, const QString& timeOut,
                    const QString& wordsIn, const QString& wordsOut, const QString& fileName, int buttonId,
                    int reel, int clipType) {
    Record r;
    r.kind = ClipKind;
    r.title = title;
    r.parentId = buttonId;
    r.timeIn = timeIn;
    r.timeOut = timeOut;
    r.wordsIn = wordsIn;
    r.wordsOut = wordsOut;
    r.fileName = fileName;
    r.reel = reel;
    r.clipType = clipType;
    return AddRecord(r);
}

int TIndex::AddPageByIndex(const QString& title) {
    return AddPage(title) < 0 ? -1 : m_tree.PageCount;
}

int TIndex::AddButtonByIndex(const QString& title, int page) {
    const Node* p = GetPageMPLL(page);
    if (!p || AddButton(title, p->ID) < 0)
        return -1;
    return ChainCount(p->Children);
}

int TIndex::AddClipByIndex(const QString& title, const QString& timeIn, const QString& timeOut,
                           const QString& wordsIn, const QString& wordsOut, const QString& fileName, int page,
                           int button, int reel, int clipType) {
    const Node* b = GetButtonMPLL(page, button);
    if (!b || AddClip(title, timeIn, timeOut, wordsIn, wordsOut, fileName, b->ID, reel, clipType) < 0)
        return -1;
    return ChainCount(b->Children);
}

void TIndex::MoveInChain(TMoviePageLinkList*& head, int to, int from) {
    std::vector<Node*> nodes = ChainNodes(head);
    int count = int(nodes.size());
    if (to == from || to < 1 || from < 1 || to > count || from > count)
        return;
    Node* moving = nodes[size_t(from - 1)];
    nodes.erase(nodes.begin() + (from - 1));
    nodes.insert(nodes.begin() + (to - 1), moving);
    Relink(head, nodes);
    WriteChainIndexes(head);
}

void TIndex::WriteChainIndexes(TMoviePageLinkList* head) {
    for (Node* node = head; node; node = node->Next) {
        if (!SeekId(node->ID))
            continue;
        m_cb.AssignLong(m_index, node->Index);
        m_cb.Unlock(m_data);
    }
}

void TIndex::ChangePageIndex(int to, int from) {
    MoveInChain(m_tree.Pages, to, from);
}

void TIndex::ChangeButtonIndex(int page, int to, int from) {
    if (Node* p = const_cast<Node*>(GetPageMPLL(page)))
        MoveInChain(p->Children, to, from);
}

void TIndex::ChangeClipIndex(int page, int button, int to, int from) {
    if (Node* b = const_cast<Node*>(GetButtonMPLL(page, button)))
        MoveInChain(b->Children, to, from);
}

bool TIndex::WriteRecord(const TMoviePageLinkList& node) {
    const auto texts =
        EncodeTexts(node.Title, node.FileName, node.TimeIn, node.TimeOut, node.WordsIn, node.WordsOut);
    if (!texts || !SeekId(node.ID))
        return false;
    AssignTexts(*texts, node.Kind, node.Reel, node.ClipType);
    m_cb.Unlock(m_data);
    return true;
}

bool TIndex::ChangePageTitle(int page, const QString& title) {
    Node* p = const_cast<Node*>(GetPageMPLL(page));
    if (!p)
        return false;
    Node changed = *p;
    changed.Title = title;
    if (!WriteRecord(changed))
        return false;
    p->Title = title;
    return true;
}

bool TIndex::ChangeButtonTitle(int page, int button, const QString& title) {
    Node* b = const_cast<Node*>(GetButtonMPLL(page, button));
    if (!b)
        return false;
    Node changed = *b;
    changed.Title = title;
    if (!WriteRecord(changed))
        return false;
    b->Title = title;
    return true;
}

bool TIndex::ChangeClipInfo(int page, int button, int clip, const QString& title, const QString& timeIn,
                            const QString& timeOut, const QString& wordsIn, const QString& wordsOut,
                            const QString& fileName, int reel, int clipType) {
    Node* c = const_cast<Node*>(GetClip(page, button, clip));
    if (!c)
        return false;
    Node changed = *c;
    changed.Title = title;
    changed.TimeIn = timeIn;
    changed.TimeOut = timeOut;
    changed.WordsIn = wordsIn;
    changed.WordsOut = wordsOut;
    changed.FileName = fileName;
    changed.Reel = reel;
    changed.ClipType = clipType;
    if (!WriteRecord(changed))
        return false;
    Node* next = c->Next;
    Node* children = c->Children;
    *c = changed;
    c->Next = next;
    c->Children = children;
    return true;
}

void TIndex::DeleteSubtreeRecords(TMoviePageLinkList* node) {
    for (Node* child = node->Children; child; child = child->Next)
        DeleteSubtreeRecords(child);
    if (SeekId(node->ID)) {
        m_cb.Delete(m_data);
        m_cb.Unlock(m_data);
    }
}

void TIndex::ForgetNodes(TMoviePageLinkList* node) {
    std::vector<Node*> gone;
    std::vector<Node*> stack{node};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        gone.push_back(n);
        for (Node* child = n->Children; child; child = child->Next)
            stack.push_back(child);
    }
    auto& nodes = m_tree.Nodes;
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(),
                               [&](const std::unique_ptr<Node>& n) {
                                   return std::find(gone.begin(), gone.end(), n.get()) != gone.end();
                               }),
                nodes.end());
}

void TIndex::DeleteNode(TMoviePageLinkList*& head, int position, bool isPage) {
    Node* node = ChainAt(head, position);
    if (!node)
        return;
    // The children go too: left behind they would be orphans, and a later
    // record given the same ID would adopt them.
    DeleteSubtreeRecords(node);
    std::vector<Node*> siblings = ChainNodes(head);
    siblings.erase(std::find(siblings.begin(), siblings.end(), node));
    Relink(head, siblings);
    if (isPage)
        --m_tree.PageCount;
    ForgetNodes(node);
    WriteChainIndexes(head);
}

void TIndex::DeletePage(int page) {
    DeleteNode(m_tree.Pages, page, true);
}

void TIndex::DeleteButton(int page, int button) {
    if (Node* p = const_cast<Node*>(GetPageMPLL(page)))
        DeleteNode(p->Children, button, false);
}

void TIndex::DeleteClip(int page, int button, int clip) {
    if (Node* b = const_cast<Node*>(GetButtonMPLL(page, button)))
        DeleteNode(b->Children, clip, false);
}
