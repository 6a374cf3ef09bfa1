#include "testing/TItemReviewScreen.h"

#include <QListWidget>
#include <QPainter>
#include <QSpinBox>

#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "testing/TTestScreen.h"
#include "widgets/TSkinButton.h"

namespace {
const QColor ListColour(99, 82, 99);
} // namespace

QImage TItemReviewDelegate::Sign(int image) {
    QImage sign(12, 12, QImage::Format_ARGB32_Premultiplied);
    sign.fill(Qt::transparent);
    QPainter p(&sign);
    p.setRenderHint(QPainter::Antialiasing);
    if (image == 0) { // a red cross
        p.setPen(QPen(QColor(230, 40, 40), 2.5));
        p.drawLine(2, 2, 10, 10);
        p.drawLine(10, 2, 2, 10);
    } else { // a yellow flag
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(2, 1, 2, 11);
        p.setBrush(QColor(250, 210, 40));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(11, 4), QPoint(3, 7)}));
    }
    return sign;
}

void TItemReviewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(r, selected ? ListColour.lighter(150) : ListColour);
    const int flags = index.data(FlagsRole).toInt();
    const TItemReviewLine line{QString(), flags};
    int x = 1;
    if (line.ShowsMarkSign())
        painter->drawImage(r.left() + x, r.top() + 2, Sign(1));
    x += 12 + 2;
    if (line.ShowsWrongSign())
        painter->drawImage(r.left() + x, r.top() + 2, Sign(0));
    x += 12 + 2;
    painter->setPen(Qt::white);
    painter->setFont(option.font);
    painter->drawText(QRect(r.left() + x, r.top(), r.width() - x, r.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
}

QSize TItemReviewDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), LineHeight};
}

TItemReviewScreen::TItemReviewScreen(TForm1& form, TTestScreen& test)
    : TScreenModule(form, ScreenItemReview, {"Item Review Screen", "background", "ItemReview.gif"}),
      m_test(test) {
    namespace L = ControlLayout;
    ItemReviewListBox = Own(new QListWidget(&f), "ItemReviewListBox");
    ItemReviewListBox->setItemDelegate(new TItemReviewDelegate(ItemReviewListBox));
    ItemReviewListBox->setFrameShape(QFrame::NoFrame);
    ItemReviewListBox->setUniformItemSizes(true);
    QPalette palette = ItemReviewListBox->palette();
    palette.setColor(QPalette::Base, ListColour);
    palette.setColor(QPalette::Text, Qt::white);
    ItemReviewListBox->setPalette(palette);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    ItemReviewListBox->setFont(font);
    edtReviewItem = Own(new QSpinBox(&f), "edtReviewItem");
    edtReviewItem->setGeometry(L::ReviewItemBox);
    btnReview = Own(new TSkinButton(&f), "btnReview");
    btnReview->setGeometry(L::ReviewButton);
    btnReviewIncomplete = Own(new TSkinButton(&f), "btnReviewIncomplete");
    btnReviewIncomplete->setGeometry(L::ReviewIncompleteButton);
    btnRevEnd = Own(new TSkinButton(&f), "btnRevEnd");
    btnRevEnd->setGeometry(L::ReviewEndButton);
    AddSkin(FaceEntry(btnReviewIncomplete, "Item Review Screen", "btnIncomplete"));
    AddSkin(FaceEntry(btnRevEnd, "Item Review Screen", "btnFinish"));
    AddSkin(FaceEntry(btnReview, "Item Review Screen", "btnReview"));

    connect(ItemReviewListBox, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { edtReviewItem->setValue(ItemReviewListBox->row(item) + 1); });
    connect(ItemReviewListBox, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        edtReviewItem->setValue(ItemReviewListBox->row(item) + 1);
        btnReviewClick();
    });
    connect(btnReview, &QAbstractButton::clicked, this, &TItemReviewScreen::btnReviewClick);
    connect(btnReviewIncomplete, &QAbstractButton::clicked, this,
            &TItemReviewScreen::btnReviewIncompleteClick);
    connect(btnRevEnd, &QAbstractButton::clicked, this, [this] { f.ShowScreen(ScreenExamAnalysis); });
}

void TItemReviewScreen::Enter() {
    btnReviewIncomplete->show();
    btnRevEnd->show();
    btnReview->show();
    edtReviewItem->setRange(1, std::max(1, m_test.Run.Count()));
    edtReviewItem->setValue(1);
    edtReviewItem->show();
    ItemReviewListBox->setGeometry(ControlLayout::ReviewList);
    ItemReviewListBox->clear();
    ItemReviewListBox->show();
    for (const TItemReviewLine& line : m_test.Run.ItemReviewLines()) {
        auto* item = new QListWidgetItem(line.Text, ItemReviewListBox);
        item->setData(TItemReviewDelegate::FlagsRole, line.Flags);
    }
}

void TItemReviewScreen::btnReviewClick() {
    m_test.Run.ReviewOne(edtReviewItem->value()); // clamped to 1..n
    f.ShowScreen(ScreenTest);
}

// Nothing incomplete: nothing happens.
void TItemReviewScreen::btnReviewIncompleteClick() {
    if (m_test.Run.ReviewIncomplete())
        f.ShowScreen(ScreenTest);
}
