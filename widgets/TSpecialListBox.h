// An owner-drawn list whose rows carry, besides their text and object, a second string
// (a label) and a state that chooses how the row is drawn:
//   2       labelled row: label in SectionFont, then the text; never highlighted
//   20, 21  heading row in SectionFont
//   22      indented row
//   other   plain row, with image number `state` in front when there is an image list
// Row heights vary with the word-wrapped text.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QString>

#include <functional>

class TSpecialListBox : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSpecialListBox(QWidget* parent = nullptr);

    // Rows. `object` is whatever number the owning window needs (a page, a question id).
    int AddItem(const QString& text, qint64 object = 0, int state = 0);
    void Clear();
    int Count() const { return int(rows_.size()); }
    QString Item(int row) const;
    void SetItem(int row, const QString& text);
    qint64 ItemObject(int row) const;
    void SetItemObject(int row, qint64 object);
    // The second string of a row (NewItems) and its object.
    QString NewItem(int row) const;
    qint64 NewItemObject(int row) const;
    void SetNewItem(int row, const QString& label, qint64 object = 0);
    int State(int row) const;
    void SetState(int row, int state);

    // Selected row, -1 for none.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int row);
    // Row under a point in viewport coordinates, -1 for none.
    int ItemAtPos(const QPoint& point) const;
    // Row rectangle in viewport coordinates.
    QRect ItemRect(int row) const;
    // Height of a row at the current client width.
    int MeasureItem(int row) const;

    QList<QPixmap> ImageList() const { return imageList_; }
    void SetImageList(const QList<QPixmap>& images);
    QFont SectionFont() const { return sectionFont_; }
    void SetSectionFont(const QFont& font);
    int Spacing() const { return spacing_; }
    void SetSpacing(int pixels);
    QColor Color() const { return color_; }
    void SetColor(const QColor& colour);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& colour);

    std::function<void(QObject* sender)> OnClick;
    std::function<void(QObject* sender)> OnDblClick;
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                       int y)>
        OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        QString text;
        qint64 object = 0;
        QString label;
        qint64 labelObject = 0;
        int state = 0;
    };
    // Where a row's text goes, relative to the row's top-left corner.
    struct TextPlace {
        int left = 0, top = 0;
        QFont font;
    };
    TextPlace PlaceText(const Row& row) const;
    int ImageWidth() const;
    int ImageHeight() const;
    void DrawRow(QPainter& painter, int index, const QRect& rect) const;
    // Row heights are kept measured, so that adding a row to a long list
    // measures that row alone: a course's directory holds a thousand rows. A
    // hidden list measures nothing until it is shown or asked where a row is.
    void Remeasure(int row);
    void RemeasureAll();
    void EnsureMeasured() const;
    void UpdateScrollRange();
    bool Valid(int row) const { return row >= 0 && row < rows_.size(); }

    QList<Row> rows_;
    mutable QList<int> heights_; // each row's height at the current width and fonts
    mutable int totalHeight_ = 0;
    mutable bool stale_ = false; // heights_ wait to be measured
    QList<QPixmap> imageList_;
    QFont sectionFont_;
    int spacing_ = 4;
    int itemIndex_ = -1;
    int pressedRow_ = -1;
    QColor color_{Qt::white};
    QColor fontColor_{Qt::black};
};
