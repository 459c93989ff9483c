// The graphics page driven through its buttons, on reports a calculation writes:
// the graph after "See graph", the toggles, the choice of a two-variable graph,
// the bitmap files, opened pictures and "Make graph".
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "ui/WindowFixture.h"

using brekka::testing::ExamplePath;
using brekka::testing::TempDir;
using brekka::testing::Window;
namespace fs = std::filesystem;

namespace {

constexpr const char* kOneVariable = "yield-watertable.inp";
constexpr const char* kTwoVariables = "yield-watertable-salinity.inp";

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The example with its X and Z columns exchanged, so that the report follows the
// other sequence.
void WriteSwapped(const fs::path& path) {
    std::istringstream in(Contents(ExamplePath(kTwoVariables)));
    std::ofstream out(path, std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream fields(line);
        std::string serial, y, x, z, extra;
        if (++number > 11 && (fields >> serial >> y >> x >> z) && !(fields >> extra)) {
            line = serial + " " + y + " " + z + " " + x;
        }
        out << line << "\r\n";
    }
}

// The function types of the report's summary, read from its text: the first of
// a one-variable report, or the first and second relation's.
std::vector<int> ReportedTypes(const fs::path& report) {
    std::istringstream in(Contents(report));
    std::string line;
    std::vector<int> types;
    bool summary = false;
    while (std::getline(in, line)) {
        summary = summary || line.find("SUMMARY OF THE") != std::string::npos;
        const size_t at = line.find("Function type");
        if (summary && at != std::string::npos) {
            const size_t colon = line.find(':', at);
            types.push_back(std::stoi(line.substr(colon + 1)));
        }
    }
    return types;
}

QImage Shown(QLabel* label) {
    return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

int Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

bool Shows(QWidget* widget) {
    return !widget->isHidden();
}

// Reads the header of an uncompressed 24-bit bitmap: width, height, bits, size.
struct BitmapHeader {
    std::string magic;
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    uint32_t compression = 99, fileSize = 0;
};

BitmapHeader ReadHeader(const fs::path& path) {
    const std::string bytes = Contents(path);
    BitmapHeader h;
    if (bytes.size() < 54) {
        return h;
    }
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) {
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        }
        return v;
    };
    h.magic = bytes.substr(0, 2);
    h.fileSize = u32(2);
    h.width = static_cast<int32_t>(u32(18));
    h.height = static_cast<int32_t>(u32(22));
    h.bits = static_cast<uint16_t>(static_cast<unsigned char>(bytes[28]) |
                                   (static_cast<unsigned char>(bytes[29]) << 8));
    h.compression = u32(30);
    return h;
}

} // namespace

class GraphicsTabTest : public QObject {
    Q_OBJECT

    // Calculates the example in the window under `dir`, leaving the report on the
    // output page.
    fs::path Calculate(Window& w, const TempDir& dir, const fs::path& input) {
        w.form->OpenInputFile(input.string());
        const fs::path saved = dir.File("run.inp");
        w.dialogs.files = {saved.string()};
        w.form->InputSaveActionExecute();
        w.dialogs.Clear();
        return fs::path(saved).replace_extension(".out");
    }
    fs::path Calculate(Window& w, const TempDir& dir, const char* example) {
        return Calculate(w, dir, fs::path(ExamplePath(example)));
    }

    brekka::GraphicsTab* Tab(Window& w) { return w.form->GraphicsTabSheet; }
    QImage Graph(Window& w) { return Shown(Tab(w)->GraphImage); }

    void CheckDrawn(Window& w) {
        QVERIFY(Shows(Tab(w)->GraphImage));
        const QImage image = Graph(w);
        QCOMPARE(image.size(), QSize(623, 465));
        QVERIFY(Colours(image) > 4);
    }

    void Go(Window& w, QRadioButton* radio) {
        radio->setChecked(true);
        Tab(w)->GoButton->click();
    }

private slots:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toUtf8()); }

    void tabLayoutFitsTheWindow() {
        Window w;
        brekka::GraphicsTab* g = Tab(w);
        w.form->PageControl1->setCurrentWidget(g);
        for (QWidget* child : g->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(g->rect().contains(child->geometry()), qPrintable(child->objectName()));
        }
        QVERIFY(w.form->height() - w.form->menuBar()->height() <= 567 + 1);
        QCOMPARE(g->GoButton->font().pixelSize(), 13);
        QVERIFY(g->GoButton->font().bold());
        QCOMPARE(w.form->GraphOpenAction->shortcut(), QKeySequence("Ctrl+G"));
        QCOMPARE(w.form->GraphSaveAction->shortcut(), QKeySequence("Ctrl+A"));
        QVERIFY(!Shows(g->ChoicesPanel));
        QVERIFY(!Shows(g->SelectButton));
        QVERIFY(!Shows(g->SaveGraphButton));
    }

    void oneVariableGraphAndToggles() {
        Window w;
        TempDir dir;
        const fs::path report = Calculate(w, dir, kOneVariable);
        const int type = ReportedTypes(report).at(0);
        QCOMPARE(type, 4); // the example has a breakpoint and a horizontal end
        w.form->OutputTabSheet->GraphicsButton->click();
        brekka::GraphicsTab* g = Tab(w);
        QCOMPARE(w.form->PageControl1->currentWidget(), g);
        CheckDrawn(w);
        QVERIFY(w.dialogs.messages.empty());
        QVERIFY(Shows(g->ConfButton));
        QCOMPARE(Shows(g->BlockButton), type >= 2 && type <= 4);
        QCOMPARE(Shows(g->CalcObs_Button), type >= 2);
        QVERIFY(Shows(g->SaveGraphButton) && Shows(g->SaveBlWhButton));
        QVERIFY(w.form->GraphSaveAction->isEnabled());
        QVERIFY(!Shows(g->SelectButton) && !Shows(g->ChoicesPanel));
        QVERIFY(Shows(g->BPButton));
        QCOMPARE(g->BPButton->x(), 244);
        const QImage first = Graph(w);

        g->ConfButton->click();
        QCOMPARE(g->ConfButton->text(), QString("Restore conf. belt"));
        QVERIFY(!w.form->BeltOn);
        const QImage noBelt = Graph(w);
        QVERIFY(noBelt != first);
        g->BlockButton->click();
        QCOMPARE(g->BlockButton->text(), QString("Restore conf. block"));
        QVERIFY(Graph(w) != noBelt);
        g->ConfButton->click();
        g->BlockButton->click();
        QCOMPARE(g->ConfButton->text(), QString("Remove conf. belt"));
        QCOMPARE(g->BlockButton->text(), QString("Remove conf. block"));
        QVERIFY(w.form->BeltOn && w.form->BlockOn);
        QCOMPARE(Graph(w), first);

        // Calculated-observed and back to the same graph with its buttons.
        g->CalcObs_Button->click();
        QCOMPARE(g->CalcObs_Button->text(), QString("See regres. graph"));
        QVERIFY(!Shows(g->ConfButton) && !Shows(g->BlockButton));
        CheckDrawn(w);
        QVERIFY(Graph(w) != first);
        g->CalcObs_Button->click();
        QCOMPARE(g->CalcObs_Button->text(), QString("See calc-obs graph"));
        QVERIFY(Shows(g->ConfButton) && Shows(g->BlockButton) && Shows(g->CalcObs_Button));
        QCOMPARE(Graph(w), first);
        QVERIFY(w.dialogs.messages.empty());

        g->BPButton->click();
        QVERIFY(w.form->HelpForm->isVisible());
        w.form->HelpForm->hide();
    }

    void twoVariableChoices() {
        Window w;
        TempDir dir;
        const fs::path report = Calculate(w, dir, kTwoVariables);
        const std::vector<int> types = ReportedTypes(report);
        QCOMPARE(types.size(), size_t(2));
        QVERIFY(Contents(report).find(" Y-X  Function type") != std::string::npos);
        w.form->OutputTabSheet->GraphicsButton->click();
        brekka::GraphicsTab* g = Tab(w);
        QCOMPARE(w.form->PageControl1->currentWidget(), g);
        QVERIFY(Shows(g->ChoicesPanel));
        QVERIFY(!Shows(g->GraphImage) && !Shows(g->ConfButton) && !Shows(g->BlockButton));
        QVERIFY(!Shows(g->CalcObs_Button) && !Shows(g->BPButton));
        QCOMPARE(g->Y_XRadioButton->text(), QString("Y-X function"));
        QCOMPARE(g->YXr_ZRadioButton->text(), QString("Residuals-Z function"));
        QCOMPARE(g->Calc_ObsRadioButton->text(), QString("Calculated-observed"));
        QCOMPARE(g->Y_ZRadioButton->text(), QString("Y-Z data plot"));
        QCOMPARE(g->X_ZRadioButton->text(), QString("X-Z data plot"));

        QList<QImage> graphs;
        const QList<QRadioButton*> radios = {g->Y_XRadioButton, g->YXr_ZRadioButton,
                                             g->Calc_ObsRadioButton, g->Y_ZRadioButton,
                                             g->X_ZRadioButton};
        for (int kind = 1; kind <= 5; ++kind) {
            if (kind > 1) {
                g->SelectButton->click();
                QVERIFY(Shows(g->ChoicesPanel));
                QVERIFY(!Shows(g->GraphImage) && !Shows(g->SaveGraphButton));
                QVERIFY(!Shows(g->SelectButton) && !w.form->GraphSaveAction->isEnabled());
            }
            Go(w, radios[kind - 1]);
            QCOMPARE(w.form->GraphKind, kind);
            CheckDrawn(w);
            QVERIFY(!Shows(g->ChoicesPanel));
            QVERIFY(Shows(g->SelectButton) && Shows(g->SaveGraphButton));
            QCOMPARE(g->BPButton->x(), 128);
            const int type = kind <= 2 ? types[kind - 1] : 1;
            QCOMPARE(Shows(g->ConfButton), kind <= 2);
            QCOMPARE(Shows(g->BlockButton), type >= 2 && type <= 4);
            QCOMPARE(Shows(g->CalcObs_Button), type >= 2);
            for (const QImage& earlier : graphs) {
                QVERIFY(earlier != Graph(w));
            }
            graphs.append(Graph(w));
        }
        QVERIFY(w.dialogs.messages.empty());

        // The residual graph has the breakpoint: to calc-obs and back to it.
        QVERIFY(types[1] >= 2);
        g->SelectButton->click();
        Go(w, g->YXr_ZRadioButton);
        g->CalcObs_Button->click();
        QCOMPARE(Graph(w), graphs[2]);
        g->CalcObs_Button->click();
        QCOMPARE(Graph(w), graphs[1]);
        QCOMPARE(w.form->GraphKind, 2);
        QVERIFY(Shows(g->BlockButton) && Shows(g->ConfButton));

        // Without belt, then "Go": the belt is back.
        g->ConfButton->click();
        g->BlockButton->click();
        QVERIFY(Graph(w) != graphs[1]);
        g->SelectButton->click();
        Go(w, g->YXr_ZRadioButton);
        QCOMPARE(g->ConfButton->text(), QString("Remove conf. belt"));
        QCOMPARE(g->BlockButton->text(), QString("Remove conf. block"));
        QVERIFY(w.form->BeltOn && w.form->BlockOn);
        QCOMPARE(Graph(w), graphs[1]);

        // None chosen.
        g->SelectButton->click();
        for (QRadioButton* radio : radios) {
            radio->setAutoExclusive(false);
            radio->setChecked(false);
        }
        g->GoButton->click();
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{" The desired type of graph could not be assessed"});
        QVERIFY(Shows(g->ChoicesPanel));
    }

    void twoVariableOtherSequence() {
        Window w;
        TempDir dir;
        const fs::path input = dir.File("swapped.inp");
        WriteSwapped(input);
        const fs::path report = Calculate(w, dir, input);
        QVERIFY(Contents(report).find(" Y-Z  Function type") != std::string::npos);
        const std::vector<int> types = ReportedTypes(report);
        w.form->OutputTabSheet->GraphicsButton->click();
        brekka::GraphicsTab* g = Tab(w);
        QCOMPARE(g->Y_XRadioButton->text(), QString("Y-Z function"));
        QCOMPARE(g->YXr_ZRadioButton->text(), QString("Residuals-X function"));
        QCOMPARE(g->Y_ZRadioButton->text(), QString("Y-X data plot"));
        QCOMPARE(g->X_ZRadioButton->text(), QString("Z-X data plot"));
        // The residuals on X have the breakpoint: calc-obs and back redraw them.
        QVERIFY(types.at(1) >= 2);
        Go(w, g->YXr_ZRadioButton);
        const QImage residuals = Graph(w);
        g->CalcObs_Button->click();
        g->CalcObs_Button->click();
        QCOMPARE(Graph(w), residuals);
        // The first relation's graph, for comparison, is another picture.
        g->SelectButton->click();
        Go(w, g->Y_XRadioButton);
        QVERIFY(Graph(w) != residuals);
        QVERIFY(w.dialogs.messages.empty());
    }

    void savingBitmaps() {
        Window w;
        TempDir dir;
        Calculate(w, dir, kOneVariable);
        w.form->OutputTabSheet->GraphicsButton->click();
        brekka::GraphicsTab* g = Tab(w);
        const QImage colour = Graph(w);

        const fs::path bmp = dir.File("colour.bmp");
        w.dialogs.files = {bmp.string()};
        g->SaveGraphButton->click();
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{"The graph was saved in  " + bmp.string()});
        const BitmapHeader h = ReadHeader(bmp);
        QCOMPARE(h.magic, std::string("BM"));
        QCOMPARE(h.width, 623);
        QCOMPARE(std::abs(h.height), 465);
        QCOMPARE(int(h.bits), 24);
        QCOMPARE(h.compression, 0u);
        // Rows of 623 * 3 bytes padded to 1872, after a 54-byte header.
        QCOMPARE(h.fileSize, 54u + 1872u * 465u);
        QCOMPARE(fs::file_size(bmp), uintmax_t(54 + 1872 * 465));
        QCOMPARE(QImage(QString::fromStdString(bmp.string())).convertToFormat(QImage::Format_RGB32),
                 colour);
        QCOMPARE(w.form->GraphSaveDialog.Folder, dir.Path().string());

        // An existing file, answered No: nothing written, nothing said.
        const fs::path existing = dir.File("existing.bmp");
        std::ofstream(existing) << "keep";
        w.dialogs.Clear();
        w.dialogs.files = {existing.string()};
        w.dialogs.answers = {false};
        g->SaveGraphButton->click();
        QCOMPARE(w.dialogs.questions,
                 std::vector<std::string>{"The file already exists, overwrite?"});
        QVERIFY(w.dialogs.messages.empty());
        QCOMPARE(Contents(existing), std::string("keep"));

        // Cancelled.
        w.dialogs.Clear();
        g->SaveBlWhButton->click();
        QCOMPARE(w.dialogs.messages, std::vector<std::string>{"The graph was not saved"});

        // Black and white stays on the screen; the next drawing is in colour.
        w.dialogs.Clear();
        const fs::path bw = dir.File("bw.bmp");
        w.dialogs.files = {bw.string()};
        g->SaveBlWhButton->click();
        const QImage blackWhite = Graph(w);
        QVERIFY(blackWhite != colour);
        QVERIFY(w.form->ColourMode);
        QCOMPARE(QImage(QString::fromStdString(bw.string())).convertToFormat(QImage::Format_RGB32),
                 blackWhite);
        // The plot area of the black-and-white graph is white, of the colour one not.
        const QRgb white = qRgb(255, 255, 255);
        const QPoint inside(300, 240);
        QVERIFY(colour.pixel(inside) != white);
        int whites = 0;
        for (int x = 200; x < 400; ++x) {
            whites += blackWhite.pixel(x, 240) == white ? 1 : 0;
        }
        QVERIFY(whites > 150);
        g->ConfButton->click();
        g->ConfButton->click();
        QCOMPARE(Graph(w), colour);
    }

    void savingPngByTheName() {
        Window w;
        TempDir dir;
        Calculate(w, dir, kOneVariable);
        w.form->OutputTabSheet->GraphicsButton->click();
        brekka::GraphicsTab* g = Tab(w);
        const QImage colour = Graph(w);
        // Bitmap first, as always; PNG offered beside it.
        const brekka::FileDialogSpec& spec = w.form->GraphSaveDialog;
        QCOMPARE(spec.DefaultExt, std::string("bmp"));
        QVERIFY(spec.Filter.rfind("Image files (*.bmp)|*.bmp|", 0) == 0);
        QVERIFY(spec.Filter.find("PNG picture (*.png)|*.png") != std::string::npos);

        const fs::path png = dir.File("graph.PNG");
        w.dialogs.files = {png.string()};
        g->SaveGraphButton->click();
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{"The graph was saved in  " + png.string()});
        QCOMPARE(Contents(png).substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
        QImage read(QString::fromStdString(png.string()));
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), colour);

        // Black and white as PNG; any other name is a bitmap.
        const fs::path bw = dir.File("bw.png");
        const fs::path other = dir.File("graph.picture");
        w.dialogs.files = {bw.string(), other.string()};
        g->SaveBlWhButton->click();
        QCOMPARE(Contents(bw).substr(1, 3), std::string("PNG"));
        QCOMPARE(QImage(QString::fromStdString(bw.string())).convertToFormat(QImage::Format_RGB32),
                 Graph(w));
        g->SaveGraphButton->click();
        QCOMPARE(Contents(other).substr(0, 2), std::string("BM"));

        // A saved PNG opens again as a graph picture.
        QVERIFY(w.form->GraphOpenDialog.Filter.find("*.png") != std::string::npos);
        w.dialogs.Clear();
        w.dialogs.files = {png.string()};
        w.form->GraphOpenActionExecute();
        QVERIFY(w.dialogs.messages.empty());
        QCOMPARE(Shown(g->PictureImage), colour);
    }

    void openedPictures() {
        Window w;
        TempDir dir;
        // Without a report an opened picture cannot be saved again.
        const fs::path red = dir.File("red.bmp");
        QImage redImage(623, 465, QImage::Format_RGB32);
        redImage.fill(qRgb(255, 0, 0));
        QVERIFY(redImage.save(QString::fromStdString(red.string()), "BMP"));
        brekka::GraphicsTab* g = Tab(w);
        w.dialogs.files = {red.string()};
        g->SeeGraphButton->click();
        QCOMPARE(w.form->PageControl1->currentWidget(), g);
        QVERIFY(Shows(g->PictureImage) && !Shows(g->GraphImage));
        QCOMPARE(Shown(g->PictureImage).pixel(5, 5), qRgb(255, 0, 0));
        QVERIFY(Shows(g->SaveGraphButton) && w.form->GraphSaveAction->isEnabled());
        QVERIFY(w.form->GraphShown);
        const size_t dialogsSoFar = w.dialogs.shownDialogs.size();
        w.dialogs.files = {dir.File("nothing.bmp").string()};
        g->SaveGraphButton->click();
        QCOMPARE(w.dialogs.messages.size(), size_t(1));
        QVERIFY2(w.dialogs.messages[0].find("no report") != std::string::npos,
                 w.dialogs.messages[0].c_str());
        QCOMPARE(w.dialogs.shownDialogs.size(), dialogsSoFar);
        QVERIFY(!fs::exists(dir.File("nothing.bmp")));
        QVERIFY(Shows(g->PictureImage));

        // With a report, saving writes the report's graph, not the picture.
        Calculate(w, dir, kOneVariable);
        w.form->OutputTabSheet->GraphicsButton->click();
        const QImage graph = Graph(w);
        w.dialogs.files = {red.string()};
        w.form->GraphOpenAction->trigger();
        QVERIFY(Shows(g->PictureImage) && !Shows(g->GraphImage));
        QVERIFY(!Shows(g->CalcObs_Button));
        const fs::path saved = dir.File("saved.bmp");
        w.dialogs.Clear();
        w.dialogs.files = {saved.string()};
        w.form->GraphSaveAction->trigger();
        QCOMPARE(
            QImage(QString::fromStdString(saved.string())).convertToFormat(QImage::Format_RGB32),
            graph);
        QVERIFY(Shows(g->GraphImage) && !Shows(g->PictureImage));

        // Cancelled, missing, not a picture.
        w.dialogs.Clear();
        w.dialogs.files = {std::nullopt, dir.File("missing.bmp").string()};
        g->SeeGraphButton->click();
        g->SeeGraphButton->click();
        const fs::path text = dir.File("text.bmp");
        std::ofstream(text) << "not a picture";
        w.dialogs.files = {text.string()};
        g->SeeGraphButton->click();
        QCOMPARE(w.dialogs.messages.size(), size_t(3));
        QCOMPARE(w.dialogs.messages[0], std::string("No graphics file selected"));
        QCOMPARE(w.dialogs.messages[1],
                 std::string("File does not exist, please select another one"));
        QVERIFY(!w.dialogs.messages[2].empty());
    }

    void makeGraphOfReportsOnDisk() {
        TempDir dir;
        const fs::path one = dir.File("one.inp");
        const fs::path two = dir.File("two.inp");
        fs::copy_file(ExamplePath(kOneVariable), one);
        fs::copy_file(ExamplePath(kTwoVariables), two);
        for (const fs::path& input : {one, two}) {
            const std::string command = std::string("\"") + BREKKA_CALC_PATH + "\" \"" +
                                        input.string() + "\" >/dev/null 2>&1";
            QCOMPARE(std::system(command.c_str()), 0);
        }
        Window w;
        brekka::GraphicsTab* g = Tab(w);
        w.form->PageControl1->setCurrentWidget(g);
        const fs::path oneReport = dir.File("one.out");
        w.dialogs.files = {oneReport.string()};
        g->MakeGraphButton->click();
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{"Determine folder and file name for graph creation"});
        QCOMPARE(w.dialogs.shownDialogs.back().DefaultExt, std::string("out"));
        QCOMPARE(w.data.FileName, oneReport.string());
        CheckDrawn(w);
        QVERIFY(Shows(g->SaveGraphButton) && Shows(g->CalcObs_Button) && Shows(g->BlockButton));
        QCOMPARE(w.form->OutputReadDialog.Folder, oneReport.parent_path().string());
        const QImage oneGraph = Graph(w);

        // A damaged report: its message, and it does not become the current one.
        const fs::path damaged = dir.File("damaged.out");
        const std::string whole = Contents(oneReport);
        std::ofstream(damaged, std::ios::binary) << whole.substr(0, whole.size() / 3);
        w.dialogs.Clear();
        w.dialogs.files = {damaged.string()};
        w.form->OutputReadActionExecute();
        QCOMPARE(w.dialogs.messages.size(), size_t(1));
        QVERIFY(!w.dialogs.messages[0].empty());
        QCOMPARE(w.data.FileName, oneReport.string());
        QVERIFY(!Shows(g->SaveGraphButton));

        // Cancelled, missing.
        w.dialogs.Clear();
        w.dialogs.files = {std::nullopt, dir.File("missing.out").string()};
        w.form->OutputReadActionExecute();
        QVERIFY(!Shows(g->CalcObs_Button));
        w.form->OutputReadActionExecute();
        QCOMPARE(w.dialogs.messages,
                 (std::vector<std::string>{"No output file selected",
                                           "File does not exist, please select another one,"}));

        // The two-variable report: the choice, then its graph.
        w.dialogs.Clear();
        w.dialogs.files = {dir.File("two.out").string()};
        w.form->OutputReadActionExecute();
        QVERIFY(Shows(g->ChoicesPanel) && !Shows(g->GraphImage));
        Go(w, g->Calc_ObsRadioButton);
        CheckDrawn(w);
        QVERIFY(!Shows(g->ConfButton));
        QVERIFY(w.dialogs.messages.empty());

        // Back to the one-variable report: its graph as before.
        w.dialogs.files = {oneReport.string()};
        w.form->OutputReadActionExecute();
        QCOMPARE(Graph(w), oneGraph);
    }
};

QTEST_MAIN(GraphicsTabTest)
#include "GraphicsTabTest.moc"
