// The authoring operations of the course index: adding, moving, renaming and
// deleting pages, buttons and clips, in the tree and in the table.
#include "data/TIndex.h"

#include <algorithm>

#include "data/TIndexChain.h"
#include "platform/TDynamicLibrary.h"

using namespace IndexChain;

int TIndex::NextId() {
    m_cb.TagSelect(m_data, m_tagId);
    if (m_cb.Bottom(m_data) != R4_SUCCESS)
        return 1;
    return int(m_cb.Long(m_id)) + 1;
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
    if (Node* p = PageNode(page))
        MoveInChain(p->Children, to, from);
}

void TIndex::ChangeClipIndex(int page, int button, int to, int from) {
    if (Node* b = ButtonNode(page, button))
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

bool TIndex::ChangeTitle(TMoviePageLinkList* node, const QString& title) {
    if (!node)
        return false;
    Node changed = *node;
    changed.Title = title;
    if (!WriteRecord(changed))
        return false;
    node->Title = title;
    return true;
}

bool TIndex::ChangePageTitle(int page, const QString& title) {
    return ChangeTitle(PageNode(page), title);
}

bool TIndex::ChangeButtonTitle(int page, int button, const QString& title) {
    return ChangeTitle(ButtonNode(page, button), title);
}

bool TIndex::ChangeClipInfo(int page, int button, int clip, const QString& title, const QString& timeIn,
                            const QString& timeOut, const QString& wordsIn, const QString& wordsOut,
                            const QString& fileName, int reel, int clipType) {
    Node* c = ClipNode(page, button, clip);
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
    if (Node* p = PageNode(page))
        DeleteNode(p->Children, button, false);
}

void TIndex::DeleteClip(int page, int button, int clip) {
    if (Node* b = ButtonNode(page, button))
        DeleteNode(b->Children, clip, false);
}
