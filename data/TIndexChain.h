#pragma once
// The sibling chains of the course index tree (pages, a page's buttons, a
// button's clips), shared by the reading part (TIndex.cpp) and the authoring
// operations (TIndexAuthoring.cpp).
#include <vector>

#include "data/TIndex.h"

namespace IndexChain {

using Node = TMoviePageLinkList;

inline int ChainCount(const Node* head) {
    int count = 0;
    for (; head; head = head->Next)
        ++count;
    return count;
}

inline Node* ChainAt(Node* head, int position) {
    if (position < 1)
        return nullptr;
    for (int i = 1; head && i < position; ++i)
        head = head->Next;
    return head;
}

// Ascending Index; a new node goes after the nodes with a smaller or equal
// Index at the head, and before the first later node with an equal or greater one.
inline void SortedInsert(Node*& head, Node* node) {
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

inline std::vector<Node*> ChainNodes(Node* head) {
    std::vector<Node*> nodes;
    for (; head; head = head->Next)
        nodes.push_back(head);
    return nodes;
}

// Relinks the chain in the given order and numbers it 1, 2, 3 ...
inline void Relink(Node*& head, const std::vector<Node*>& nodes) {
    head = nodes.empty() ? nullptr : nodes.front();
    for (size_t i = 0; i < nodes.size(); ++i) {
        nodes[i]->Next = i + 1 < nodes.size() ? nodes[i + 1] : nullptr;
        nodes[i]->Index = int(i) + 1;
    }
}

} // namespace IndexChain
