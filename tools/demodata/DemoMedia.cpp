#include "DemoMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <functional>
#include <map>

#include "GifWriter.h"
#include "SheetArt.h"
#include "SimulationFile.h"

using namespace SheetArt;

namespace {

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The budget sheet the exhibits and simulations share.
QList<TCellText> BudgetCells() {
    return {{0, 1, "Item", false, true}, {1, 1, "Cost", true, true},
            {0, 2, "Rent", false},       {1, 2, "1250.00"},
            {0, 3, "Power", false},      {1, 3, "184.75"},
            {0, 4, "Phone", false},      {1, 4, "63.20"},
            {0, 5, "Food", false},       {1, 5, "612.40"}};
}

QImage HashmarksExhibit() {
    QImage image = Blank({480, 260});
    QPainter p(&image);
    const TSheetLayout l = Layout(image.size(), 1);
    DrawSheet(p, l, "Budget.xls - Spreadsheet", BudgetCells(), {1, 3}, "184.75");
    return image;
}

QImage FormatsExhibit() {
    QImage image = Blank({480, 260});
    QPainter p(&image);
    TSheetLayout l = Layout(image.size());
    l.ColumnWidth = 100;
    const QList<TCellText> cells = {{0, 1, "Format", false, true}, {1, 1, "Shown as", true, true},
                                    {0, 2, "Currency", false},     {1, 2, "$1,234.50"},
                                    {0, 3, "Percent", false},      {1, 3, "12.5%"},
                                    {0, 4, "Date", false},         {1, 4, "03/14/2024"},
                                    {0, 5, "Bold", false},         {1, 5, "1234.5", true, true}};
    DrawSheet(p, l, "Formats.xls - Spreadsheet", cells, {1, 2}, "1234.5");
    return image;
}

// The test's own picture, shown beside questions that have none.
QImage DefaultTestPicture() {
    QImage image = Blank({200, 150});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(38, 84, 140));
    sky.setColorAt(1, QColor(18, 40, 70));
    p.fillRect(image.rect(), sky);
    // A small sheet with a rising chart.
    const QRect sheet(24, 22, 152, 92);
    p.fillRect(sheet, Qt::white);
    p.setPen(QColor(208, 208, 204));
    for (int x = sheet.left(); x < sheet.right(); x += 19)
        p.drawLine(x, sheet.top(), x, sheet.bottom());
    for (int y = sheet.top(); y < sheet.bottom(); y += 13)
        p.drawLine(sheet.left(), y, sheet.right(), y);
    const int bars[] = {30, 46, 38, 62, 74};
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRect(sheet.left() + 12 + i * 28, sheet.bottom() - bars[i], 18, bars[i]),
                   QColor(230, 150 - i * 10, 40));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 118, 200, 28), Qt::AlignCenter, QStringLiteral("Spreadsheet test"));
    return image;
}

QImage StepCanvas() {
    return Blank(StepSize);
}

TSimulation SaveSimulation(const QString& title, const QStringList& instructions) {
    const TSheetLayout l = Layout(StepSize);
    TSimulation sim{title, StepSize, {}};

    TSimulationStep openMenu;
    openMenu.Picture = StepCanvas();
    {
        QPainter p(&openMenu.Picture);
        DrawSheet(p, l, "Budget.xls - Spreadsheet", BudgetCells(), {1, 6}, {});
    }
    openMenu.Instruction = instructions.value(0);
    openMenu.Target = l.MenuFile;
    sim.Steps << openMenu;

    TSimulationStep save;
    save.Picture = StepCanvas();
    QList<QRect> items;
    {
        QPainter p(&save.Picture);
        DrawSheet(p, l, "Budget.xls - Spreadsheet", BudgetCells(), {1, 6}, {});
        items = DrawFileMenu(p, l, {"New", "Open...", "Close", "Save", "Save As...", "Print...", "Exit"});
    }
    save.Instruction = instructions.value(1);
    save.Target = items[3];
    sim.Steps << save;
    return sim;
}

TSimulation AutoSumSimulation(const QString& title, const QStringList& instructions) {
    const TSheetLayout l = Layout(StepSize);
    TSimulation sim{title, StepSize, {}};
    const QList<TCellText> cells = BudgetCells();

    TSimulationStep chooseCell;
    chooseCell.Picture = StepCanvas();
    {
        QPainter p(&chooseCell.Picture);
        DrawSheet(p, l, "Budget.xls - Spreadsheet", cells, {0, 1}, "Item");
    }
    chooseCell.Instruction = instructions.value(0);
    chooseCell.Target = l.Cell(1, 6);
    sim.Steps << chooseCell;

    TSimulationStep autoSum;
    autoSum.Picture = StepCanvas();
    {
        QPainter p(&autoSum.Picture);
        DrawSheet(p, l, "Budget.xls - Spreadsheet", cells, {1, 6}, {});
    }
    autoSum.Instruction = instructions.value(1);
    autoSum.Target = l.AutoSum;
    sim.Steps << autoSum;

    TSimulationStep confirm;
    confirm.Picture = StepCanvas();
    {
        QPainter p(&confirm.Picture);
        QList<TCellText> withFormula = cells;
        withFormula << TCellText{1, 6, "=SUM(B2:B5)", false};
        DrawSheet(p, l, "Budget.xls - Spreadsheet", withFormula, {1, 6}, "=SUM(B2:B5)");
        MarchingFrame(p, l.Cell(1, 2).united(l.Cell(1, 5)));
    }
    confirm.Instruction = instructions.value(2);
    confirm.Expected = TSimulationStep::Action::Key;
    confirm.Key = QStringLiteral("Enter");
    sim.Steps << confirm;
    return sim;
}

struct TNamedFile {
    QString Name;
    QString Title;            // the question's title (simulations)
    QStringList Instructions; // the question's steps (simulations)
};

using TPictureDrawing = std::function<QImage()>;
using TSimulationDrawing = std::function<TSimulation(const QString&, const QStringList&)>;

// Every drawing this tool has, by the file name the descriptions use.
const std::map<QString, TPictureDrawing>& Pictures() {
    static const std::map<QString, TPictureDrawing> pictures = {{"hashmarks.gif", HashmarksExhibit},
                                                                {"formats.gif", FormatsExhibit},
                                                                {"default.gif", DefaultTestPicture}};
    return pictures;
}

const std::map<QString, TSimulationDrawing>& Simulations() {
    static const std::map<QString, TSimulationDrawing> simulations = {{"save.sim", SaveSimulation},
                                                                      {"autosum.sim", AutoSumSimulation}};
    return simulations;
}

QStringList StringList(const QJsonValue& v) {
    QStringList out;
    for (const QJsonValue& item : v.toArray())
        out << item.toString();
    return out;
}

} // namespace

QStringList WriteDemoMedia(const QString& descriptionFile, QString& error) {
    QFile file(descriptionFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = descriptionFile + ": " + file.errorString();
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        error = descriptionFile + ": " + parseError.errorString();
        return {};
    }
    const QJsonObject test = doc.object().value("test").toObject();
    QList<TNamedFile> named;
    if (const QString g = test.value("graphic").toString(); !g.isEmpty())
        named << TNamedFile{g, {}, {}};
    for (const QJsonValue& q : test.value("questions").toArray()) {
        const QJsonObject question = q.toObject();
        if (const QString g = question.value("graphic").toString(); !g.isEmpty())
            named << TNamedFile{g, question.value("title").toString(), StringList(question.value("steps"))};
    }

    const QDir dir = QFileInfo(descriptionFile).absoluteDir();
    QStringList written;
    for (const TNamedFile& f : named) {
        const QString path = dir.filePath(f.Name);
        const QString where = f.Name + ": ";
        if (auto picture = Pictures().find(f.Name); picture != Pictures().end()) {
            if (const QString e = WriteGif(path, picture->second()); !e.isEmpty()) {
                error = where + e;
                return {};
            }
        } else if (auto sim = Simulations().find(f.Name); sim != Simulations().end()) {
            const TSimulation simulation = sim->second(f.Title, f.Instructions);
            // The file's steps answer the question's steps one for one.
            if (simulation.Steps.size() != f.Instructions.size()) {
                error = where + QStringLiteral("the question lists %1 steps, the drawing has %2")
                                    .arg(f.Instructions.size())
                                    .arg(simulation.Steps.size());
                return {};
            }
            // Made as an author makes one: screenshots and a description,
            // built by the simulation tool beside this program.
            const QString simTool = QCoreApplication::applicationDirPath() + QStringLiteral("/altavo-sim");
            if (!MakeSimulation(simulation, simTool, path, error)) {
                error = where + error;
                return {};
            }
        } else {
            error = where + QStringLiteral("no drawing of that name");
            return {};
        }
        written << path;
    }
    return written;
}
