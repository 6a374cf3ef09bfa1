#include "testing/TAnswer.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

namespace {
template <typename T> T* Choice(QLabel* templateLabel, const QString& letter) {
    auto* control = new T(letter, templateLabel->parentWidget());
    control->setFont(templateLabel->font());
    control->setPalette(templateLabel->palette());
    control->setGeometry(templateLabel->x(), 0, 35, 23);
    control->hide();
    return control;
}
} // namespace

TAnswer::TAnswer(QLabel* templateLabel, const QString& letter)
    : m_letter(letter), m_rowWidth(templateLabel->width()) {
    Radio = Choice<QRadioButton>(templateLabel, letter);
    Check = Choice<QCheckBox>(templateLabel, letter);
    Label = new QLabel(templateLabel->parentWidget());
    Label->setFont(templateLabel->font());
    Label->setPalette(templateLabel->palette());
    Label->setWordWrap(true);
    Label->setAttribute(Qt::WA_TranslucentBackground);
    Label->setGeometry(templateLabel->x() + 38, 0, m_rowWidth, templateLabel->height());
    Label->hide();
}

void TAnswer::SetText(const QString& text) {
    Label->setText(text);
    Label->setFixedWidth(m_rowWidth);
    Label->setFixedHeight(Label->heightForWidth(m_rowWidth));
}

void TAnswer::SetStyle(int style) {
    m_style = style;
}

void TAnswer::SetTop(int top) {
    m_top = top;
    Radio->move(Radio->x(), top);
    Check->move(Check->x(), top);
    Label->move(Label->x(), top + 1);
}

void TAnswer::ShowLetter(bool show) {
    Radio->setText(show ? m_letter : QString());
    Check->setText(show ? m_letter : QString());
}

// The radio buttons of a question exclude each other; one that is ticked is
// cleared only with the exclusion lifted.
void TAnswer::SetTicked(bool ticked) {
    Radio->setAutoExclusive(false);
    Radio->setChecked(ticked);
    Radio->setAutoExclusive(true);
    Check->setChecked(ticked);
}

bool TAnswer::IsTicked() const {
    return m_style == CheckStyle ? Check->isChecked() : Radio->isChecked();
}

void TAnswer::SetVisible(bool visible) {
    Label->setVisible(visible);
    Radio->setVisible(visible && m_style == RadioStyle);
    Check->setVisible(visible && m_style == CheckStyle);
}

int TAnswer::Height() const {
    return Label->height();
}
