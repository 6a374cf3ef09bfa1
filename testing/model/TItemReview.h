#pragma once
// The lines of the item review: one per entry, its number, the answer given
// and flags that tell the list which signs to draw.
#include <QString>

#include "testing/model/QuestionAnswer.h"

namespace ItemReviewFlag {
constexpr int Incomplete = 0x01; // the answer text is "Incomplete"
constexpr int Correct = 0x02;
constexpr int NotCorrect = 0x04;
constexpr int OpenBook = 0x10;
constexpr int Marked = 0x20;
} // namespace ItemReviewFlag

struct TItemReviewLine {
    QString Text;
    int Flags = 0;
    bool ShowsMarkSign() const { return Flags & ItemReviewFlag::Marked; }
    // The wrong-answer sign: open book, not correct, and answered.
    bool ShowsWrongSign() const {
        return (Flags & ItemReviewFlag::OpenBook) && (Flags & ItemReviewFlag::NotCorrect) &&
               !(Flags & ItemReviewFlag::Incomplete);
    }
};

// "1:  " .. "9:  ", then "10: " on.
QString ItemReviewPrefix(int index);
// The answer as the review shows it: "True"/"False", a letter, the letters
// of the ticked choices, "Demonstrate", or "Incomplete".
QString ItemReviewAnswerText(const QuestionAnswer& entry);
TItemReviewLine ItemReviewLine(const QuestionAnswer& entry, int index, bool closedBook);
