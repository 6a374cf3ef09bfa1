// One answer row of the test screen: a radio button, a check box and the
// answer's text, placed on the test scroll box beside the template label.
// Rows are made once and reused from question to question.
#pragma once

#include <QString>

class QCheckBox;
class QLabel;
class QRadioButton;
class QWidget;

class TAnswer {
public:
    static constexpr int RadioStyle = 0;
    static constexpr int CheckStyle = 1;

    // The controls take the template's font, colour and left; the label
    // stands 38 pixels right of it, as wide as the template.
    TAnswer(QLabel* templateLabel, const QString& letter);

    QRadioButton* Radio;
    QCheckBox* Check;
    QLabel* Label;

    void SetText(const QString& text);
    void SetStyle(int style);
    void SetTop(int top);
    void ShowLetter(bool show);
    void SetTicked(bool ticked);
    bool IsTicked() const;
    void SetVisible(bool visible);
    int Height() const;
    int Top() const { return m_top; }
    int Style() const { return m_style; }

private:
    QString m_letter;
    int m_style = RadioStyle;
    int m_top = 0;
    int m_rowWidth = 0;
};
