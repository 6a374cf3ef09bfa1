// Feeds arbitrary bytes to the simulation reader and checks what it promises: a file is
// either refused with a message or playable with every step inside the limits.
#include "TSimulationFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const TSimulationReadOptions options :
         {TSimulationReadOptions{}, TSimulationReadOptions{true, true}}) {
        const TSimulationRead read = ReadSimulation(bytes, options);
        if (!read.Playable()) {
            if (read.Error.isEmpty() || !read.Simulation.Steps.isEmpty())
                std::abort();
            continue;
        }
        const TSimulation& sim = read.Simulation;
        const QRect area(QPoint(0, 0), sim.Size);
        if (sim.Steps.isEmpty() || sim.Steps.size() > kSimulationMaxSteps ||
            sim.Size.width() > kSimulationMaxSide || sim.Size.height() > kSimulationMaxSide ||
            sim.Title.size() > kSimulationMaxTitle)
            std::abort();
        for (const TSimulationStep& step : sim.Steps) {
            if (step.Picture.size() != sim.Size || step.Instruction.size() > kSimulationMaxInstruction)
                std::abort();
            const bool clicks =
                step.Kind == TSimulationActionKind::Click || step.Kind == TSimulationActionKind::DoubleClick;
            if ((clicks || !step.Target.isNull()) && (step.Target.isEmpty() || !area.contains(step.Target)))
                std::abort();
            if (step.Kind == TSimulationActionKind::Type &&
                (step.Text.isEmpty() || step.Text.size() > kSimulationMaxText))
                std::abort();
            if (step.Kind == TSimulationActionKind::Key && step.Key.key() == Qt::Key_unknown)
                std::abort();
        }
    }
    return 0;
}
