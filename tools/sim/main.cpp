// altavo-sim: the simulation tool for course authors. Usage:
//   altavo-sim check FILE
//   altavo-sim render FILE STEP OUT.png
//   altavo-sim make STEPS.json OUT.sim
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>

#include "TSimulationMaker.h"
#include "widgets/TSimulationFile.h"
#include "widgets/TSimulationView.h"

namespace {

enum ExitCode { Ok = 0, Fault = 1, Usage = 2 };

const char* const UsageText =
    "Usage: altavo-sim check FILE\n"
    "       altavo-sim render FILE STEP OUT.png\n"
    "       altavo-sim make STEPS.json OUT.sim\n"
    "\n"
    "check   validates a simulation file and lists its title, size and steps;\n"
    "        exit status 0 when it can be played, 1 with the fault otherwise.\n"
    "render  draws step STEP (1 for the first) as the test control shows it.\n"
    "make    builds a simulation file from screenshots (see docs/simulation-format.md).\n";

QString ActionDetail(const TSimulationStep& step) {
    const auto rect = [](const QRect& r) {
        return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    switch (step.Kind) {
    case TSimulationActionKind::Click:
    case TSimulationActionKind::DoubleClick:
        return QStringLiteral("target ") + rect(step.Target);
    case TSimulationActionKind::Key:
        return QStringLiteral("key ") + step.KeyName;
    case TSimulationActionKind::Type: {
        QString detail = QStringLiteral("text \"%1\"").arg(step.Text);
        if (!step.Target.isNull())
            detail += QStringLiteral(", box ") + rect(step.Target);
        return detail;
    }
    }
    return {};
}

int Check(const QString& path, QTextStream& out, QTextStream& err) {
    const TSimulationRead read = ReadSimulationFile(path);
    if (!read.Playable()) {
        err << path << ": " << read.Error << "\n";
        return Fault;
    }
    const TSimulation& sim = read.Simulation;
    out << "title: " << sim.Title << "\n";
    out << "size: " << sim.Size.width() << " by " << sim.Size.height() << "\n";
    out << "steps: " << sim.Steps.size() << "\n";
    for (qsizetype i = 0; i < sim.Steps.size(); ++i) {
        const TSimulationStep& step = sim.Steps[i];
        out << "step " << i + 1 << ": " << SimulationActionName(step.Kind) << ", " << ActionDetail(step)
            << ": " << step.Instruction << "\n";
    }
    return Ok;
}

int Render(const QString& path, const QString& stepText, const QString& outPath, QTextStream& err) {
    const TSimulationRead read = ReadSimulationFile(path);
    if (!read.Playable()) {
        err << path << ": " << read.Error << "\n";
        return Fault;
    }
    bool number = false;
    const int step = stepText.toInt(&number);
    if (!number || step < 1 || step > read.Simulation.Steps.size()) {
        err << path << ": there is no step " << stepText << " (steps 1 to " << read.Simulation.Steps.size()
            << ")\n";
        return Fault;
    }
    QImage image(read.Simulation.Size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        TSimulationViewState state;
        state.Step = step - 1;
        PaintSimulationStep(painter, image.size(), read.Simulation, state);
    }
    if (!image.save(outPath, "PNG")) {
        err << outPath << ": cannot write the picture\n";
        return Fault;
    }
    return Ok;
}

int Make(const QString& description, const QString& outPath, QTextStream& err) {
    QString error;
    const QByteArray bytes = MakeSimulation(description, error);
    if (bytes.isEmpty()) {
        err << description << ": " << error << "\n";
        return Fault;
    }
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << outPath << ": " << file.errorString() << "\n";
        return Fault;
    }
    return Ok;
}

} // namespace

int main(int argc, char* argv[]) {
    // Rendering needs fonts, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << UsageText;
        return Ok;
    }
    if (args.size() == 2 && args[0] == "check")
        return Check(args[1], out, err);
    if (args.size() == 4 && args[0] == "render")
        return Render(args[1], args[2], args[3], err);
    if (args.size() == 3 && args[0] == "make")
        return Make(args[1], args[2], err);
    err << UsageText;
    return Usage;
}
