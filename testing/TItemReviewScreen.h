#pragma once
// The item review (9): one line per question with the answer given, the mark
// sign and, in open book, the wrong-answer sign; a question can be reviewed
// again by its number, the incomplete ones gone through, or the attempt
// finished.
#include <QStyledItemDelegate>

#include "shell/TScreenModule.h"

class QListWidget;
class QSpinBox;
class TSkinButton;
class TTestScreen;

// Draws a review line: the mark sign, the wrong-answer sign, the text.
class TItemReviewDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int FlagsRole = Qt::UserRole;
    static constexpr int LineHeight = 16;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The 12 by 12 pictures: 0 the wrong-answer sign, 1 the mark sign.
    static QImage Sign(int image);
};

class TItemReviewScreen : public TScreenModule {
    Q_OBJECT
public:
    TItemReviewScreen(TForm1& form, TTestScreen& test);

    QListWidget* ItemReviewListBox;
    QSpinBox* edtReviewItem;
    TSkinButton* btnReview;
    TSkinButton* btnReviewIncomplete;
    TSkinButton* btnRevEnd;

    void Enter() override;
    void btnReviewClick();
    void btnReviewIncompleteClick();

private:
    TTestScreen& m_test;
};
