// datagen: writes the program folder's data files (flags, pictures, icons,
// smileys, sounds, language file). Everything is drawn or synthesised here or
// converted from Debian packages; nothing comes from any other client.

#include "canvas.h"
#include "flags.h"
#include "icons.h"
#include "language.h"
#include "pictures.h"
#include "smileys.h"
#include "sounds.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

#include <exception>
#include <iostream>

using namespace tarmacia::datagen;

int main(int argc, char** argv) {
    // Drawing text needs a font database, and that needs a GUI application;
    // it never shows a window, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("datagen");

    QCommandLineParser parser;
    parser.setApplicationDescription("Writes Tarmacia's data files into a folder.");
    parser.addHelpOption();
    const QCommandLineOption outOption("out", "Output folder.", "folder");
    const QCommandLineOption pngOption("flag-pngs", "16x11 country flag PNGs.", "folder",
                                       "/usr/share/flags/countries/16x11");
    const QCommandLineOption isoOption("iso3166", "ISO 3166-1 JSON of iso-codes.", "file",
                                       "/usr/share/iso-codes/json/iso_3166-1.json");
    const QCommandLineOption themeOption("themes", "Folder of the .style files.", "folder");
    const QCommandLineOption languageOption("language", "English language source.", "file");
    parser.addOptions({outOption, pngOption, isoOption, themeOption, languageOption});
    parser.process(app);
    for (const auto& required : {outOption, themeOption, languageOption}) {
        if (!parser.isSet(required)) {
            std::cerr << "datagen: --" << required.names().front().toStdString()
                      << " is required\n";
            return 2;
        }
    }

    try {
        const QString root = QDir(parser.value(outOption)).absolutePath();
        const OutputFolder out(root);

        const CountryFlags flags =
            writeCountryFlags(parser.value(pngOption), parser.value(isoOption), out);
        writeOwnFlags(out);
        std::cout << "flags: " << flags.twoLetter << " two-letter, " << flags.threeLetter
                  << " three-letter, 3 own";
        if (!flags.withoutAlpha3.isEmpty())
            std::cout << " (no alpha-3 code for " << flags.withoutAlpha3.join(' ').toStdString()
                      << ")";
        std::cout << '\n';

        std::cout << "pictures: " << writeGamePictures(out) << '\n';
        std::cout << "style previews: " << writeThemePreviews(parser.value(themeOption), out)
                  << '\n';
        std::cout << "icons: " << writeIcons(out) << '\n';
        std::cout << "smileys: " << writeSmileys(out) << '\n';
        std::cout << "sounds: " << writeSounds(out) << '\n';
        std::cout << "language strings: "
                  << writeLanguage(parser.value(languageOption),
                                   out.file("languages/[gbr]english.uni"))
                  << '\n';
    } catch (const std::exception& e) {
        std::cerr << "datagen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
