// brekka: the desktop window. "brekka FILE.inp" opens the file as "Open input" does.
#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <filesystem>
#include <iostream>

#include "data/DataModule.h"
#include "data/RunSettings.h"
#include "ui/BrekkaForm.h"
#include "ui/Pictures.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Brekka segmented regression analysis");
    QApplication::setWindowIcon(brekka::ProgramIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith("-"))) {
        std::cerr << "Usage: brekka [FILE.inp]\n"
                     "Opens the Brekka window, with the input file in the grid when one is "
                     "given.\n";
        return arguments.contains("--help") ? 0 : 2;
    }

    brekka::QtDialogs dialogs;
    brekka::TDMBrekka data(dialogs);
    brekka::RunSettings settings;
    const QString point = QLocale::system().decimalPoint();
    settings.DecimalSeparator = point == "," ? ',' : '.';

    brekka::TBrekkaForm form(data, settings, dialogs);
    dialogs.SetParent(&form);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        form.PlaceForScreen(screen->availableGeometry().width(),
                            screen->availableGeometry().height());
    }
    form.show();
    if (arguments.size() == 2) {
        std::error_code error;
        const auto path = std::filesystem::absolute(arguments[1].toStdString(), error);
        form.PageControl1->setCurrentWidget(form.InputTabSheet);
        form.OpenInputFile(error ? arguments[1].toStdString() : path.lexically_normal().string());
    }
    return QApplication::exec();
}
