#pragma once
// What the lesson screens need of a course index, by 1-based position: the
// pages, their buttons and the clips behind each button. Taken once from the
// index tree when the movie page is first shown; positions outside the
// outline answer empty values instead of following a chain off its end.
#include <QString>
#include <vector>

class TMoviePageControl;

struct TClipOutline {
    QString Title;
    QString FileName; // base name, without directory and ".avi"
    int ClipType = 0; // 257: framed 320x240 clip, anything else full-motion
};

struct TButtonOutline {
    QString Title;
    std::vector<TClipOutline> Clips;
};

struct TPageOutline {
    QString Title;
    std::vector<TButtonOutline> Buttons;
};

class TCourseOutline {
public:
    TCourseOutline() = default;
    explicit TCourseOutline(std::vector<TPageOutline> pages) : m_pages(std::move(pages)) {}
    // Walks the index tree's chains in position order.
    static TCourseOutline FromTree(const TMoviePageControl& tree);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int ButtonCount(int page) const;
    int ClipCount(int page, int button) const;
    QString PageTitle(int page) const;
    QString ButtonTitle(int page, int button) const;
    // Null when the position does not exist.
    const TClipOutline* Clip(int page, int button, int clip) const;

private:
    const TPageOutline* Page(int page) const;
    const TButtonOutline* Button(int page, int button) const;

    std::vector<TPageOutline> m_pages;
};
