// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/background_task.h"
#include "app/main_app.h"
#include "app/qt_translations.h"
#include "app/user_interaction.h"

namespace {

constexpr const char* helpText =
    "Usage: penmoji [QT-OPTION...] [FILE.pmj]\n"
    "Draw with straight lines and render the drawing as Japanese text art.\n"
    "\n"
    "  FILE.pmj      a drawing to open at start\n"
    "  --version     print the version and exit\n"
    "  -h, --help    show this help and exit\n"
    "\n"
    "The options every Qt program takes are taken too, such as -platform NAME,\n"
    "-style NAME and -reverse. penmoji-render renders drawings without a window.\n";

// Answers --help and --version before Qt starts, since Qt gives up without a display and these
// must work in a terminal, over ssh and in a package build alike. Returns the exit status, or
// -1 when the program should start.
int answerInformationOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            break;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            return std::fputs(helpText, stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
        }
        if (std::strcmp(argument, "--version") == 0) {
            return std::printf("penmoji %s\n", PENMOJI_VERSION) < 0 || std::fflush(stdout) != 0
                       ? 1
                       : 0;
        }
    }
    return -1;
}

int runEditor(const QStringList& arguments) {
    penmoji::DesktopInteraction interaction;
    penmoji::CMainApp mainApp(interaction);
    // penmoji [FILE.pmj]: the drawing to open at start.
    if (!mainApp.initInstance(arguments.size() > 1 ? arguments.at(1) : QString())) {
        return 1;
    }
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const int status = answerInformationOption(argc, argv); status >= 0) {
        return status;
    }
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PENMOJI_APP_ID));
    penmoji::installQtTranslations(application);
    // The window and the settings are gone when this returns.
    const int status = runEditor(QApplication::arguments());
    // Work the user gave up on (an SVG import stuck inside the SVG library) may still be
    // running and using the application's fonts: the program ends without waiting for it and
    // before the application is taken down under it.
    if (penmoji::BackgroundTask::runningThreads() > 0) {
        std::_Exit(status);
    }
    return status;
}
