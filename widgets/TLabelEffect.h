// A text label with a three-dimensional look: the caption is drawn as a shadow copy, a
// highlight copy and the face text, each copy offset in its own direction and depth,
// optionally rotated, optionally pressing in and out like a button.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

enum TEffectDirection { edNone, edUp, edUpRight, edRight, edDownRight, edDown, edDownLeft, edLeft, edUpLeft };
enum TEffectStyle { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
enum TColourScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };

class TLabelEffect : public QWidget {
    Q_OBJECT
public:
    explicit TLabelEffect(QWidget* parent = nullptr);

    // Unit step (dx, dy) of a direction; y grows downward.
    static QPoint DirectionStep(TEffectDirection direction);

    int DepthHighlight() const { return depthHighlight_; }
    void SetDepthHighlight(int depth); // 0..10
    int DepthShadow() const { return depthShadow_; }
    void SetDepthShadow(int depth); // 0..10
    TEffectDirection DirectionHighlight() const { return directionHighlight_; }
    void SetDirectionHighlight(TEffectDirection direction);
    TEffectDirection DirectionShadow() const { return directionShadow_; }
    void SetDirectionShadow(TEffectDirection direction);
    QColor ColourHighlight() const { return colourHighlight_; }
    void SetColourHighlight(const QColor& colour);
    QColor ColourShadow() const { return colourShadow_; }
    void SetColourShadow(const QColor& colour);
    TEffectStyle EffectStyle() const { return effectStyle_; }
    void SetEffectStyle(TEffectStyle style);
    TColourScheme ColourScheme() const { return colourScheme_; }
    void SetColourScheme(TColourScheme scheme);
    bool AsButton() const { return asButton_; }
    void SetAsButton(bool on);
    int Angle() const { return angle_; }
    void SetAngle(int degrees); // 0..360, counter-clockwise

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // Horizontal alignment: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    // The face text colour (the label font's colour).
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& colour);
    // Background colour, painted only when the label is not transparent.
    QColor Color() const { return color_; }
    void SetColor(const QColor& colour);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on);
    // Kept for window descriptions; unrotated captions always break words at the right edge.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on) { wordWrap_ = on; }

    std::function<void(QObject* sender)> OnClick;
    std::function<void(QObject* sender)> OnDblClick;
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                       int y)>
        OnMouseDown;
    std::function<void(QObject* sender, Qt::KeyboardModifiers modifiers, int x, int y)> OnMouseMove;
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                       int y)>
        OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct SchemeColours {
        QColor highlight, shadow, face;
    };
    bool InsideClient(const QPoint& point) const;

    int depthHighlight_ = 1;
    int depthShadow_ = 1;
    TEffectDirection directionHighlight_ = edUpLeft;
    TEffectDirection directionShadow_ = edDownRight;
    QColor colourHighlight_{255, 255, 255};
    QColor colourShadow_{0, 0, 0};
    TEffectStyle effectStyle_ = esRaised;
    TColourScheme colourScheme_ = csWindows;
    bool asButton_ = false;
    int angle_ = 0;
    double cosine_ = 1.0;
    double sine_ = 0.0;
    // Each label keeps its own copy; the csCustom row records the custom colours.
    std::array<SchemeColours, 6> schemes_;
    bool applyingStyle_ = false;
    bool applyingScheme_ = false;

    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QColor fontColor_{128, 128, 128};
    QColor color_{Qt::lightGray};
    bool transparent_ = true;
    bool showAccelChar_ = true;
    bool wordWrap_ = false;
    bool clickPending_ = false;
};
