#include "TCourseOutline.h"

#include "data/TIndex.h"

TCourseOutline TCourseOutline::FromTree(const TMoviePageControl& tree) {
    std::vector<TPageOutline> pages;
    for (const TMoviePageLinkList* page = tree.Pages; page; page = page->Next) {
        TPageOutline p{page->Title, {}};
        for (const TMoviePageLinkList* button = page->Children; button; button = button->Next) {
            TButtonOutline b{button->Title, {}};
            for (const TMoviePageLinkList* clip = button->Children; clip; clip = clip->Next)
                b.Clips.push_back({clip->Title, clip->FileName, clip->ClipType});
            p.Buttons.push_back(std::move(b));
        }
        pages.push_back(std::move(p));
    }
    return TCourseOutline(std::move(pages));
}

const TPageOutline* TCourseOutline::Page(int page) const {
    if (page < 1 || page > PageCount())
        return nullptr;
    return &m_pages[page - 1];
}

const TButtonOutline* TCourseOutline::Button(int page, int button) const {
    const TPageOutline* p = Page(page);
    if (!p || button < 1 || button > static_cast<int>(p->Buttons.size()))
        return nullptr;
    return &p->Buttons[button - 1];
}

int TCourseOutline::ButtonCount(int page) const {
    const TPageOutline* p = Page(page);
    return p ? static_cast<int>(p->Buttons.size()) : 0;
}

int TCourseOutline::ClipCount(int page, int button) const {
    const TButtonOutline* b = Button(page, button);
    return b ? static_cast<int>(b->Clips.size()) : 0;
}

QString TCourseOutline::PageTitle(int page) const {
    const TPageOutline* p = Page(page);
    return p ? p->Title : QString();
}

QString TCourseOutline::ButtonTitle(int page, int button) const {
    const TButtonOutline* b = Button(page, button);
    return b ? b->Title : QString();
}

const TClipOutline* TCourseOutline::Clip(int page, int button, int clip) const {
    const TButtonOutline* b = Button(page, button);
    if (!b || clip < 1 || clip > static_cast<int>(b->Clips.size()))
        return nullptr;
    return &b->Clips[clip - 1];
}
