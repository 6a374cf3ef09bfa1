#pragma once
// One question of a running attempt, in the order it is put to the learner,
// and the rules that read an entry on its own.
#include <QString>
#include <vector>

struct QuestionAnswer {
    int Position = 0;   // NUM of the question in its test
    int QuestionId = 0; // ID of the question
    QString TestId;
    bool Seen = false;     // left at least once through Next, Previous or item review
    bool Answered = false; // an answer is recorded
    bool Marked = false;   // marked for review
    bool Correct = false;  // the recorded answer equals the correct one
    // The recorded answer and the correct one, coded by type: true or false
    // 0 true, 1 false; single choice the 1-based choice; multiple choice bit
    // k-1 for choice k; simulation 0 right, 1 wrong.
    int Given = 0;
    int ChoiceCount = 0;
    int CorrectAnswer = 0;
    int QType = 0;
    QString TitleText;
    QString QuestionText;
    QString GraphicFile;
};

// The correct answer of a question coded like `Given`, from its ANSWER text:
// true or false is 0 only for "TRUE"; single and multiple choice read the
// decimal number (0 when there is none, which no answer can equal);
// simulation and unknown types are 0.
int CodeCorrectAnswer(int type, const QString& answer);

// An entry still to be done: nothing recorded, or a multiple-choice answer
// with no choice ticked.
bool IsIncomplete(const QuestionAnswer& entry);

// The ticked state of the answer rows when the entry is drawn again: the
// recorded answer once the learner has left the question with one, else
// nothing ticked. `rows` is the number of rows drawn (2 for true or false).
std::vector<bool> TickedRows(const QuestionAnswer& entry, int rows);

// Clears what an attempt recorded, keeping the question.
void ResetAnswer(QuestionAnswer& entry);
