#pragma once
// How long a text from a table may be. The course tool refuses longer texts;
// the table objects cut texts they read from tables the player did not write
// itself (courses, course index, glossary, tests) to these lengths, so a
// damaged or hostile table cannot make the player lay out megabytes of text.
namespace TextLimits {
// Course, test and parent titles, question titles, page and button
// captions, names of files, directories and programs: characters.
constexpr int Title = 255;
// Descriptions, glossary definitions, question texts, hints, references,
// answer choices and simulation steps: characters.
constexpr int Text = 16000;
} // namespace TextLimits
