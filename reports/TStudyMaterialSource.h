#pragma once
// Fills the study material's input from the tables: a saved answers block and
// the test's question and extra tables, or a whole test session.
#include <QString>
#include <optional>

#include "data/TAnswersBlock.h"
#include "reports/TStudyMaterial.h"

class TAssignment;
class TTestSession;
class TTesting;
class TUser;

// The current question of `testing` as a study material entry.
TStudyEntry CurrentStudyEntry(TTesting& testing, bool correct);

// The entries of `block` with their questions read from test `testId`, which
// is opened in `testing` and closed again. A question no longer in the test is
// left out. nullopt (with `error`) when the test cannot be opened.
std::optional<TStudyMaterialData> ReadStudyMaterial(const TAnswersBlock& block, const QString& candidate,
                                                    TTesting& testing, const QString& testId,
                                                    QString* error = nullptr);

// The study material of test session `sessionId`: its answers block, the
// learner and the test of the session's assignment. nullopt (with `error`) for
// an unknown session, a lesson session, a session without a readable answers
// block, or an assignment, user or test that no longer exists.
std::optional<TStudyMaterialData> ReadSessionStudyMaterial(int sessionId, TTestSession& sessions,
                                                           TAssignment& assignments, TUser& users,
                                                           TTesting& testing, QString* error = nullptr);
