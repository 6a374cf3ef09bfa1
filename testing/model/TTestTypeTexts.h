#pragma once
// The explanations beside the two buttons of the test type selection, as the
// learner reads them (two blanks after each full stop).
#include <QString>

namespace TestTypeText {
inline const QString OpenBook = QStringLiteral(
    "The Pre-Test contains questions based on the instruction that students will receive in the Training "
    "Session.  Students can answer a variety of question types including: simulation based, multiple choice, "
    "and true/false.  Help is available by clicking the \"Hint\" or  \"References\" buttons, and on certain "
    "questions, the \"Steps\" button will provide additional information.");
inline const QString ClosedBook = QStringLiteral(
    "The Post-Test contains questions based on the instruction provided in the Training Session.  Students "
    "can "
    "answer a variety of question types including: simulation based, multiple choice, and true/false.  "
    "However, no help is available during the Post-Test.  Post-Tests are timed, and students will receive a "
    "detailed performance report upon completion.");
inline const QString RandomizeCaption = QStringLiteral("Randomize");
} // namespace TestTypeText
