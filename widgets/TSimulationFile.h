// Reads simulation files: one JSON document of steps, each with a GIF picture, an
// instruction and the action that answers it (docs/simulation-format.md). The file
// comes from outside, so every size and count is capped and any damage refuses the
// whole file with a message naming the fault. Qt Core and Gui only: the test control,
// the simulation tool, the course tool and the fuzz target all read through here.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QKeyCombination>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

inline constexpr char kSimulationFormat[] = "altavo-simulation";
inline constexpr int kSimulationVersion = 1;

// Limits on what a simulation file may hold.
inline constexpr qint64 kSimulationMaxFileBytes = 32 * 1024 * 1024;
inline constexpr int kSimulationMaxSteps = 100;
inline constexpr int kSimulationMaxSide = 2048;                  // width and height, pixels
inline constexpr qint64 kSimulationMaxPixels = 16 * 1024 * 1024; // all steps' pictures together
inline constexpr int kSimulationMaxTitle = 200;                  // characters
inline constexpr int kSimulationMaxInstruction = 1000;
inline constexpr int kSimulationMaxKeyName = 40;
inline constexpr int kSimulationMaxText = 200;

enum class TSimulationActionKind { Click, DoubleClick, Key, Type };

struct TSimulationStep {
    QString Instruction;
    QImage Picture; // Format_ARGB32_Premultiplied, the simulation's size
    TSimulationActionKind Kind = TSimulationActionKind::Click;
    QRect Target;        // picture pixels, edges included; null when the step has none
    QString KeyName;     // Key: as the file spells it, e.g. "Ctrl+S"
    QKeyCombination Key; // Key: the key with its modifiers
    QString Text;        // Type: the text expected before Enter
};

struct TSimulation {
    int Version = kSimulationVersion;
    QString Title;
    QSize Size;
    QList<TSimulationStep> Steps;
};

// Why a file cannot be played. NotSimulation and UnknownVersion are the two faults the
// test control reports through its events; everything else is Damaged.
enum class TSimulationFault { None, NotSimulation, UnknownVersion, Damaged };

// FileType values reported with NotSimulation.
inline constexpr int kSimulationFileNotJson = 0;   // empty, or not a JSON document at all
inline constexpr int kSimulationFileOtherJson = 1; // JSON, but not marked as a simulation

struct TSimulationRead {
    TSimulationFault Fault = TSimulationFault::None;
    QString Error;     // names the fault; empty when playable
    int FileType = -1; // NotSimulation: one of kSimulationFile*
    int Version = 0;   // the version the file states (UnknownVersion)
    TSimulation Simulation;
    bool Playable() const { return Fault == TSimulationFault::None; }
};

// Leniency a host may ask for after being told of a foreign file: read a JSON document
// not marked as a simulation, or a file of another version, by this version's rules.
struct TSimulationReadOptions {
    bool IgnoreFormat = false;
    bool IgnoreVersion = false;
};

TSimulationRead ReadSimulation(const QByteArray& bytes, TSimulationReadOptions options = {});
// Reads the file at `path`; a missing, unreadable or oversized file is Damaged.
TSimulationRead ReadSimulationFile(const QString& path, TSimulationReadOptions options = {});

// "click", "doubleclick", "key", "type": the names the file uses.
QString SimulationActionName(TSimulationActionKind kind);
// Parses a key name as the file spells it ("Enter", "Ctrl+S"); false when it names no
// single key. Enter and Return are one key, as are Tab and Backtab.
bool ParseSimulationKey(const QString& name, QKeyCombination& key);
// A key the learner pressed, in the form ParseSimulationKey gives.
QKeyCombination NormalisedSimulationKey(int key, Qt::KeyboardModifiers modifiers);
