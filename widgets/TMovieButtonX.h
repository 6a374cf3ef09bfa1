// The movie-button control of the movie page: a background picture with a column (or
// columns) of buttons made from one button picture, each with a caption and a done mark.
// Picking a button makes it the active one; the host is told and asked to move its
// pointer picture next to it.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class TMovieButtonX : public QWidget {
    Q_OBJECT
public:
    explicit TMovieButtonX(QWidget* parent = nullptr);

    // Picture files (GIF, BMP or PNG); a file that cannot be read leaves no picture.
    QString Background() const { return background_; }
    void SetBackground(const QString& path);
    bool StretchBackground() const { return stretchBackground_; }
    void SetStretchBackground(bool on);
    QString ButtonFilename() const { return buttonFilename_; }
    void SetButtonFilename(const QString& path);
    QString ArrowFilename() const { return arrowFilename_; }
    void SetArrowFilename(const QString& path);

    // Number of buttons shown (0 hides them all).
    int LinesVisible() const { return linesVisible_; }
    void SetLinesVisible(int count);
    // Buttons per column; 0 puts as many in a column as the control's height holds.
    int MaxNumInColumn() const { return maxNumInColumn_; }
    void SetMaxNumInColumn(int count);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int pixels);
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int pixels);
    // The pointer sits left of the active button: left = button left + ArrowLeftMargin
    // - arrow picture width, top = button top + ArrowTopMargin.
    int ArrowLeftMargin() const { return arrowLeftMargin_; }
    void SetArrowLeftMargin(int pixels);
    int ArrowTopMargin() const { return arrowTopMargin_; }
    void SetArrowTopMargin(int pixels);
    QColor Color() const { return color_; }
    void SetColor(const QColor& colour);

    // 0-based index of the highlighted button (-1 none). Setting it always raises
    // OnActiveButtonChanged, then OnMovePointer when that button is shown.
    int ActiveButton() const { return activeButton_; }
    void SetActiveButton(int index);

    void SetButtonCaption(int index, const QString& caption);
    void SetButtonMark(int index, int mark);
    QString ButtonCaption(int index) const;
    int ButtonMark(int index) const;

    // Layout, for the host and tests: the rectangle of button `index`, the button at a point.
    QRect ButtonRect(int index) const;
    int ButtonAt(const QPoint& point) const;
    QPoint PointerPosition() const;
    int FocusedButton() const { return focusedButton_; }

    std::function<void(QObject* sender)> OnClick;
    std::function<void(QObject* sender)> OnDblClick;
    std::function<void(QObject* sender)> OnResize;
    std::function<void(QObject* sender, int index)> OnActiveButtonChanged;
    // Without a handler the control draws its own arrow picture there.
    std::function<void(QObject* sender, int left, int top)> OnMovePointer;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Button {
        QString caption;
        int mark = 0;
    };
    QSize ButtonSize() const;
    int RowsPerColumn() const;
    void LayoutChanged();
    void MovePointer();
    void MoveFocus(int delta);
    void DrawButton(QPainter& painter, int index) const;

    QString background_, buttonFilename_, arrowFilename_;
    QImage backgroundImage_, buttonImage_, arrowImage_;
    bool stretchBackground_ = false;
    int linesVisible_ = 0;
    int maxNumInColumn_ = 0;
    int leftMargin_ = 24;
    int topMargin_ = 0;
    int arrowLeftMargin_ = 0;
    int arrowTopMargin_ = 0;
    int activeButton_ = -1;
    int focusedButton_ = 0;
    int pressedButton_ = -1;
    QColor color_{99, 82, 99};
    QList<Button> buttons_;
};
